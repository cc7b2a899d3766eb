// The "Default TTL" page: 32, 64, 128 or a value of the user's own.
#pragma once

#include "PropertyPage.h"

class CDttlProp : public CPropertyPage
{
    DECLARE_DYNCREATE(CDttlProp)
public:
    CDttlProp();

    // The button that stands for a TTL: 32, 64 and 128 have their own,
    // every other value is "Custom".
    static int ButtonForTtl(DWORD dwTtl);
    // Shows the record's TTL: its button, and the value in the field, which
    // is open for "Custom" only.
    void ShowParams() const;

protected:
    BOOL OnInitDialog() override;
    void OnTtlButton(UINT nID);
    void OnChangeTtl();
    DECLARE_MESSAGE_MAP()
};
