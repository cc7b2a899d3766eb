#include "DttlProp.h"

#include "TcpParams.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CDttlProp, CPropertyPage)

BEGIN_MESSAGE_MAP(CDttlProp, CPropertyPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TTL_32, IDC_TTL_CUSTOM, OnTtlButton)
    ON_EN_CHANGE(IDC_TTL, OnChangeTtl)
END_MESSAGE_MAP()

CDttlProp::CDttlProp()
    : CTcpPage(IDD_DTTL)
{
}

int CDttlProp::ButtonForTtl(DWORD dwTtl)
{
    switch (dwTtl)
    {
    case 32: return IDC_TTL_32;
    case 64: return IDC_TTL_64;
    case 128: return IDC_TTL_128;
    default: return IDC_TTL_CUSTOM;
    }
}

void CDttlProp::ShowParams() const
{
    int nButton = ButtonForTtl(theParams.m_dwDefaultTTL);
    CheckRadioButton(IDC_TTL_32, IDC_TTL_CUSTOM, nButton);
    EnableWindow(GetDlgItem(IDC_TTL), nButton == IDC_TTL_CUSTOM);
    SetDlgItemInt(IDC_TTL, theParams.m_dwDefaultTTL);
}

void CDttlProp::OnTtlButton(UINT nID)
{
    if (GetCheckedRadioButton(IDC_TTL_32, IDC_TTL_CUSTOM) != static_cast<int>(nID))
        return;
    EnableWindow(GetDlgItem(IDC_TTL), nID == IDC_TTL_CUSTOM);
    switch (nID)
    {
    case IDC_TTL_32: theParams.m_dwDefaultTTL = 32; break;
    case IDC_TTL_64: theParams.m_dwDefaultTTL = 64; break;
    case IDC_TTL_128: theParams.m_dwDefaultTTL = 128; break;
    }
    // "Custom" keeps the value of the button chosen before, now editable.
    SetDlgItemInt(IDC_TTL, theParams.m_dwDefaultTTL);
}

void CDttlProp::OnChangeTtl()
{
    theParams.m_dwDefaultTTL = GetDlgItemInt(IDC_TTL);
}
