// The "PMTU" page: path MTU discovery on or off.
#pragma once

#include "TcpPage.h"

class CPmtuProp : public CTcpPage
{
    DECLARE_DYNCREATE(CPmtuProp)
public:
    CPmtuProp();

    void ShowParams() const override;

protected:
    void OnPmtuButton(UINT nID);
    DECLARE_MESSAGE_MAP()
};
