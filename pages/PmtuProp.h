// The "PMTU" page: path MTU discovery on or off.
#pragma once

#include "PropertyPage.h"

class CPmtuProp : public CPropertyPage
{
    DECLARE_DYNCREATE(CPmtuProp)
public:
    CPmtuProp();

    // Shows the record\'s values in the controls.
    void ShowParams() const;

protected:
    BOOL OnInitDialog() override;
    void OnPmtuButton(UINT nID);
    DECLARE_MESSAGE_MAP()
};
