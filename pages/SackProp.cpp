#include "SackProp.h"

#include "TcpParams.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CSackProp, CPropertyPage)

BEGIN_MESSAGE_MAP(CSackProp, CPropertyPage)
    ON_BN_CLICKED(IDC_SACK, OnSack)
    ON_BN_CLICKED(IDC_TIMESTAMPS, OnTimestamps)
END_MESSAGE_MAP()

CSackProp::CSackProp()
    : CTcpPage(IDD_SACK)
{
}

void CSackProp::ShowParams() const
{
    // Any stored number but 0 means on; the record keeps it until a click.
    CheckDlgButton(IDC_SACK, theParams.m_bSack ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_TIMESTAMPS, theParams.m_bTimestamps ? BST_CHECKED : BST_UNCHECKED);
}

void CSackProp::OnSack()
{
    theParams.m_bSack = IsDlgButtonChecked(IDC_SACK);
}

void CSackProp::OnTimestamps()
{
    theParams.m_bTimestamps = IsDlgButtonChecked(IDC_TIMESTAMPS);
}
