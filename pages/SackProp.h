// The "Other" page: selective acknowledgements and RFC 1323 time stamps.
#pragma once

#include "TcpPage.h"

class CSackProp : public CTcpPage
{
    DECLARE_DYNCREATE(CSackProp)
public:
    CSackProp();

    void ShowParams() const override;

protected:
    void OnSack();
    void OnTimestamps();
    DECLARE_MESSAGE_MAP()
};
