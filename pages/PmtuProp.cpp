#include "PmtuProp.h"

#include "TcpParams.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CPmtuProp, CPropertyPage)

BEGIN_MESSAGE_MAP(CPmtuProp, CPropertyPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_PMTU_ENABLE, IDC_PMTU_DISABLE, OnPmtuButton)
END_MESSAGE_MAP()

CPmtuProp::CPmtuProp()
    : CTcpPage(IDD_PMTU)
{
}

void CPmtuProp::ShowParams() const
{
    CheckRadioButton(IDC_PMTU_ENABLE, IDC_PMTU_DISABLE,
                     theParams.m_bPmtuDiscovery ? IDC_PMTU_ENABLE : IDC_PMTU_DISABLE);
}

void CPmtuProp::OnPmtuButton(UINT nID)
{
    if (GetCheckedRadioButton(IDC_PMTU_ENABLE, IDC_PMTU_DISABLE) != static_cast<int>(nID))
        return;
    theParams.m_bPmtuDiscovery = nID == IDC_PMTU_ENABLE ? 1 : 0;
}
