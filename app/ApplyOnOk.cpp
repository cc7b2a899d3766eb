// OK: refuse a receive window the stack cannot use, offer window scaling
// where a receive window needs it, check the TTL, and write the record only
// when it differs from what the document holds; an untitled one is saved as
// a file first.
#include "MarlinProp.h"

#include "Backup.h"
#include "FormatText.h"
#include "ResourceString.h"
#include "TcpParams.h"
#include "TcpipKeys.h"
#include "VersionInfo.h"
#include "resource.h"

namespace
{

using TcpipKeys::LARGEST_UNSCALED_WINDOW;
using TcpipKeys::LARGEST_WINDOW;
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

} // namespace

int CMarlinProp::ShowMessage(UINT nIDText, UINT nType) const
{
    return ShowMessage(LoadResourceString(nIDText), nType);
}

int CMarlinProp::ShowMessage(const CString &strText, UINT nType) const
{
    return MessageBox(strText, CVersionInfo().QueryValue(L"ProductName"), nType);
}

BOOL CMarlinProp::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != IDOK)
        return CPropertySheet::OnCommand(wParam, lParam);
    if (!SaveDocument())
        return TRUE;
    return CPropertySheet::OnCommand(wParam, lParam);
}

bool CMarlinProp::SaveDocument()
{
    // What the document holds now: the windows are judged against it, and
    // the record is written only where it differs.
    CTcpParams stored;
    stored.Load(*m_pRegistry);
    if (!CheckEntries(stored))
        return false;
    if (m_pFile && m_pFile->IsUntitled())
        return SaveAs();
    return SaveChanges(stored);
}

bool CMarlinProp::IsModified()
{
    CTcpParams stored;
    stored.Load(*m_pRegistry);
    return m_bSaveIncomplete || theParams != stored;
}

bool CMarlinProp::CheckEntries(const CTcpParams &stored)
{
    int nAdapter = FindUnusableWindow(stored);
    if (nAdapter >= 0)
    {
        ShowMessage(IDS_WINDOW_RANGE, MB_OK | MB_ICONSTOP);
        SetActivePage(&m_pageRwin);
        m_pageRwin.SelectAdapter(nAdapter);
        ::SetFocus(m_pageRwin.GetDlgItem(IDC_WINDOW_SIZE));
        return false;
    }

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
        return false;
    }
    return true;
}

// A window of 0 stalls every connection, and one above the largest that
// scaling can express cannot be offered. Only windows the user changed are
// judged: what the registry holds already is not the user's to answer for.
int CMarlinProp::FindUnusableWindow(const CTcpParams &stored) const
{
    for (int i = 0; i < theParams.m_nAdapters; i++)
    {
        const CAdapterParams &adapter = theParams.m_pAdapters[i];
        if (adapter.m_dwTcpWindowSize != 0 && adapter.m_dwTcpWindowSize <= LARGEST_WINDOW)
            continue;
        const CAdapterParams *pStored = nullptr;
        for (int j = 0; j < stored.m_nAdapters && !pStored; j++)
            if (stored.m_pAdapters[j].m_strKeyName == adapter.m_strKeyName)
                pStored = &stored.m_pAdapters[j];
        if (!pStored || pStored->m_dwTcpWindowSize != adapter.m_dwTcpWindowSize)
            return i;
    }
    return -1;
}

bool CMarlinProp::SaveChanges(const CTcpParams &stored)
{
    // After a save that failed part-way, the registry may already match the
    // record while the writes that failed still wait to be done.
    if (!m_bSaveIncomplete && !(theParams != stored))
        return true;

    // Nothing is written that the user could not take back.
    CString strWhere;
    if (!m_pFile && !WriteBackup(*m_pDevice, *m_pRegistry, theParams, &strWhere))
    {
        CString strWhy = SystemMessage(GetLastError());
        ShowMessage(FormatResource(IDS_BACKUP_FAILED, { strWhere, strWhy }), MB_OK | MB_ICONSTOP);
        return false;
    }

    // What could be written stays written; the user may try again or cancel.
    // A file is written whole or not at all, and says why not.
    CString strFailure;
    m_bSaveIncomplete = !theParams.Save(*m_pRegistry) || (m_pFile && !m_pFile->Write(theParams, &strFailure));
    if (m_bSaveIncomplete)
    {
        ShowMessage(strFailure.IsEmpty() ? LoadResourceString(IDS_SAVE_FAILED) : strFailure, MB_OK | MB_ICONSTOP);
        return false;
    }
    if (m_pFile)
    {
        ShowMessage(FormatResource(IDS_FILE_WRITTEN, { m_pFile->Path() }), MB_OK | MB_ICONEXCLAMATION);
        return true;
    }
    if (OffersSoftReset(*m_pDevice) && ShowMessage(IDS_RESET_NOW, MB_YESNO | MB_ICONQUESTION) == IDYES)
        m_pDevice->SoftReset();
    ShowMessage(IDS_SETTINGS_CHANGED, MB_OK | MB_ICONEXCLAMATION);
    return true;
}
