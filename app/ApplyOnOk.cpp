// OK: offer window scaling where a receive window needs it, check the TTL,
// and write the record only when it differs from what the registry holds.
#include "MarlinProp.h"

#include "Device.h"
#include "ResourceString.h"
#include "TcpParams.h"
#include "VersionInfo.h"
#include "res/resource.h"

namespace
{

const DWORD LARGEST_UNSCALED_WINDOW = 0xFFFF;
const DWORD LARGEST_TTL = 255;

bool NeedsWindowScaling()
{
    if (theParams.m_bWindowScaling)
        return false;
    for (int i = 0; i < theParams.m_nAdapters; i++)
        if (theParams.m_pAdapters[i].m_dwTcpWindowSize > LARGEST_UNSCALED_WINDOW)
            return true;
    return false;
}

// These devices restart by other means; they are not offered a reset.
bool OffersSoftReset(const CString &strOemInfo)
{
    return strOemInfo != L"CEPC" && strOemInfo != L"NEC";
}

} // namespace

int CMarlinProp::ShowMessage(UINT nIDText, UINT nType) const
{
    return MessageBox(LoadResourceString(nIDText), CVersionInfo().QueryValue(L"ProductName"), nType);
}

BOOL CMarlinProp::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != IDOK)
        return CPropertySheet::OnCommand(wParam, lParam);

    if (m_pageRwin.GetSafeHwnd() && NeedsWindowScaling() &&
        ShowMessage(IDS_ENABLE_SCALING, MB_YESNO | MB_ICONQUESTION) == IDYES)
    {
        theParams.m_bWindowScaling = 1;
        SetActivePage(&m_pageRwin);
        m_pageRwin.CheckDlgButton(IDC_WINDOW_SCALING, BST_CHECKED);
    }

    if (m_pageDttl.GetSafeHwnd() && (theParams.m_dwDefaultTTL == 0 || theParams.m_dwDefaultTTL > LARGEST_TTL))
    {
        ShowMessage(IDS_TTL_RANGE, MB_OK | MB_ICONSTOP);
        SetActivePage(&m_pageDttl);
        ::SetFocus(m_pageDttl.GetDlgItem(IDC_TTL));
        return TRUE;
    }

    if (!SaveChanges())
        return TRUE;
    return CPropertySheet::OnCommand(wParam, lParam);
}

bool CMarlinProp::SaveChanges()
{
    CTcpParams stored;
    stored.Load(*m_pRegistry);
    if (!(theParams != stored))
        return true;

    // What could be written stays written; the user may try again or cancel.
    if (!theParams.Save(*m_pRegistry))
    {
        ShowMessage(IDS_SAVE_FAILED, MB_OK | MB_ICONSTOP);
        return false;
    }
    if (OffersSoftReset(TheDevice().GetOemInfo()) && ShowMessage(IDS_RESET_NOW, MB_YESNO | MB_ICONQUESTION) == IDYES)
        TheDevice().SoftReset();
    ShowMessage(IDS_SETTINGS_CHANGED, MB_OK | MB_ICONEXCLAMATION);
    return true;
}
