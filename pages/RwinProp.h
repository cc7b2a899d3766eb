// The "RWIN" page: each adapter's TCP receive window, and window scaling.
#pragma once

#include "TcpPage.h"

class CRwinProp : public CTcpPage
{
    DECLARE_DYNCREATE(CRwinProp)
public:
    CRwinProp();

    // The adapter entry the list has selected, or -1 when the selection
    // names no entry of the table (none, or one past a table reloaded smaller).
    int GetSelectedAdapter() const;
    void ShowParams() const override;
    // The list anew, for a record read from another document; the first
    // adapter selected, its window shown by ShowParams.
    void ShowAdapters() const;
    // Whether the page says that this computer keeps no handheld's settings.
    void ShowNoDeviceNote(bool bShow) const;
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
