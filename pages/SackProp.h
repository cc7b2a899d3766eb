// The "Other" page: selective acknowledgements and RFC 1323 time stamps.
#pragma once

#include "PropertyPage.h"

class CSackProp : public CPropertyPage
{
    DECLARE_DYNCREATE(CSackProp)
public:
    CSackProp();

    // Shows the record\'s values in the controls.
    void ShowParams() const;

protected:
    BOOL OnInitDialog() override;
    void OnSack();
    void OnTimestamps();
    DECLARE_MESSAGE_MAP()
};
