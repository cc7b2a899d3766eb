// The Settings menu: "Default", "Reset" and the mobile-service presets change
// the record in memory; OK writes it. The pages that exist follow at once.
#include "MarlinProp.h"

#include "TcpParams.h"
#include "TcpipKeys.h"
#include "resource.h"

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
        // As the stack has them when the registry holds none.
        theParams.m_dwDefaultTTL = TcpipKeys::DEFAULT_TTL_VALUE;
        theParams.m_bPmtuDiscovery = theParams.m_bSack = theParams.m_bTimestamps = theParams.m_bWindowScaling =
            TcpipKeys::DEFAULT_SWITCH;
    }
    RefreshPages();
}

// Only pages whose windows exist; the others read the record when first shown.
void CMarlinProp::RefreshPages()
{
    for (int i = 0; i < GetPageCount(); i++)
    {
        // Every page of this sheet is one of the four.
        const CTcpPage *pPage = static_cast<const CTcpPage *>(GetPage(i));
        if (pPage->GetSafeHwnd())
            pPage->ShowParams();
    }
}
