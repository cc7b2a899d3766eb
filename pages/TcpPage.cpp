#include "TcpPage.h"

BOOL CTcpPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ShowParams();
    return TRUE;
}
