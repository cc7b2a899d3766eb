// The "Default TTL" page: 32, 64, 128 or a value of the user's own.
#pragma once

#include "TcpPage.h"

class CDttlProp : public CTcpPage
{
    DECLARE_DYNCREATE(CDttlProp)
public:
    CDttlProp();

    // The button that stands for a TTL: 32, 64 and 128 have their own,
    // every other value is "Custom".
    static int ButtonForTtl(DWORD dwTtl);
    void ShowParams() const override;

protected:
    void OnTtlButton(UINT nID);
    void OnChangeTtl();
    DECLARE_MESSAGE_MAP()
};
