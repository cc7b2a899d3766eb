// The Settings menu: "Default", "Reset" and the mobile-service presets change
// the record in memory; OK writes it. The pages that exist follow at once.
#include "MarlinProp.h"

#include "TcpParams.h"
#include "TcpipKeys.h"
#include "res/resource.h"

namespace
{

// The receive window each preset gives the PPP adapter.
DWORD PresetWindowSize(UINT nID)
{
    switch (nID)
    {
    case ID_SETTINGS_FOMA: return 64240;
    case ID_SETTINGS_PACKETONE: return 32120;
    case ID_SETTINGS_AIRH: return 17520;
    case ID_SETTINGS_FREED: return 15576;
    }
    return 0;
}

} // namespace

void CMarlinProp::OnSettings(UINT nID)
{
    if (nID == ID_SETTINGS_RESET)
    {
        theParams.Load(*m_pRegistry);
    }
    else
    {
        for (int i = 0; i < theParams.m_nAdapters; i++)
        {
            CAdapterParams &adapter = theParams.m_pAdapters[i];
            if (nID == ID_SETTINGS_DEFAULT)
                adapter.m_dwTcpWindowSize = theParams.m_dwTcpWindowSize;
            else if (adapter.m_strKeyName == TcpipKeys::PPP_ADAPTER)
                adapter.m_dwTcpWindowSize = PresetWindowSize(nID);
        }
        theParams.m_dwDefaultTTL = 128;
        theParams.m_bPmtuDiscovery = theParams.m_bSack = theParams.m_bTimestamps = theParams.m_bWindowScaling = 1;
    }
    RefreshPages();
}

// Only pages whose windows exist; the others read the record when first shown.
void CMarlinProp::RefreshPages()
{
    if (m_pageRwin.GetSafeHwnd())
    {
        // The list keeps the names it was filled with, even after "Reset"
        // reloaded a smaller table: a selection past its end shows nothing.
        int nAdapter = m_pageRwin.GetSelectedAdapter();
        HWND hWindowSize = m_pageRwin.GetDlgItem(IDC_WINDOW_SIZE);
        if (nAdapter >= 0)
            m_pageRwin.SetDlgItemInt(IDC_WINDOW_SIZE, theParams.m_pAdapters[nAdapter].m_dwTcpWindowSize);
        else
            SetWindowTextW(hWindowSize, L"");
        EnableWindow(hWindowSize, nAdapter >= 0);
        m_pageRwin.CheckDlgButton(IDC_WINDOW_SCALING, theParams.m_bWindowScaling ? BST_CHECKED : BST_UNCHECKED);
    }
    if (m_pageDttl.GetSafeHwnd())
    {
        int nButton = CDttlProp::ButtonForTtl(theParams.m_dwDefaultTTL);
        m_pageDttl.CheckRadioButton(IDC_TTL_32, IDC_TTL_CUSTOM, nButton);
        EnableWindow(m_pageDttl.GetDlgItem(IDC_TTL), nButton == IDC_TTL_CUSTOM);
        m_pageDttl.SetDlgItemInt(IDC_TTL, theParams.m_dwDefaultTTL);
    }
    if (m_pagePmtu.GetSafeHwnd())
        m_pagePmtu.CheckRadioButton(IDC_PMTU_ENABLE, IDC_PMTU_DISABLE,
                                    theParams.m_bPmtuDiscovery ? IDC_PMTU_ENABLE : IDC_PMTU_DISABLE);
    if (m_pageSack.GetSafeHwnd())
    {
        m_pageSack.CheckDlgButton(IDC_SACK, theParams.m_bSack ? BST_CHECKED : BST_UNCHECKED);
        m_pageSack.CheckDlgButton(IDC_TIMESTAMPS, theParams.m_bTimestamps ? BST_CHECKED : BST_UNCHECKED);
    }
}
