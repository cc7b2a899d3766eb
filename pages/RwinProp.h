// The "RWIN" page: each adapter's TCP receive window, and window scaling.
#pragma once

#include "PropertyPage.h"

class CRwinProp : public CPropertyPage
{
    DECLARE_DYNCREATE(CRwinProp)
public:
    CRwinProp();

    // The adapter entry the list has selected, or -1 when the selection
    // names no entry of the table (none, or one past a table reloaded smaller).
    int GetSelectedAdapter() const;
    // Shows the record's values in the controls; the list keeps its names.
    void ShowParams() const;
    // Selects the adapter's entry in the list and shows its window.
    void SelectAdapter(int nAdapter) const;

protected:
    BOOL OnInitDialog() override;
    void OnSelchangeAdapter();
    void OnWindowScaling();
    void OnChangeWindowSize();
    DECLARE_MESSAGE_MAP()

private:
    void ShowWindowSize() const;
};
