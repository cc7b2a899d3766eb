// Settings, "Window Calculator...": a window chosen from the link's speed and
// round trip goes to the adapter selected on the RWIN page, in memory only;
// OK writes it as it writes any other change.
#include "MarlinProp.h"

#include "CalculatorDlg.h"
#include "TcpParams.h"
#include "TcpipKeys.h"
#include "resource.h"

void CMarlinProp::OnWindowCalculator()
{
    int nAdapter = m_pageRwin.GetSafeHwnd() ? m_pageRwin.GetSelectedAdapter() : -1;
    CCalculatorDlg dialog(nAdapter >= 0, nAdapter >= 0 ? theParams.m_pAdapters[nAdapter].m_dwTcpWindowSize : 0, this);
    if (dialog.DoModal() != IDC_CALC_USE || nAdapter < 0)
        return;
    DWORD dwWindow = dialog.GetSuggestedWindow();
    theParams.m_pAdapters[nAdapter].m_dwTcpWindowSize = dwWindow;
    if (dwWindow > TcpipKeys::LARGEST_UNSCALED_WINDOW)
        theParams.m_bWindowScaling = 1;
    SetActivePage(&m_pageRwin);
    RefreshPages();
}
