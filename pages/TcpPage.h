// What the four pages share: each shows the record through ShowParams, when
// its window is made and again whenever the sheet refreshes its pages.
#pragma once

#include "PropertyPage.h"

class CTcpPage : public CPropertyPage
{
public:
    using CPropertyPage::CPropertyPage;

    // Shows the record's values in the page's controls.
    virtual void ShowParams() const = 0;

protected:
    BOOL OnInitDialog() override;
};
