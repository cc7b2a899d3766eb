// The File menu: another registry file in place of the document (Open, or a
// file dropped on the sheet), and the settings saved as a new file for
// devices (Save As), after which the sheet edits that file, as Notepad does.
// Changes not yet written are offered to be saved first.
#include "MarlinProp.h"

#include "FileDialog.h"
#include "FormatText.h"
#include "ResourceString.h"
#include "SystemLibrary.h"
#include "TcpParams.h"
#include "VersionInfo.h"
#include "resource.h"

void CMarlinProp::SetDocument(std::unique_ptr<CEditedFile> pFile)
{
    m_pFile = std::move(pFile);
    m_pRegistry = &m_pFile->Registry();
    m_bSaveIncomplete = false;
    theParams.Load(*m_pRegistry);
    if (m_hWnd)
        ShowDocument();
}

void CMarlinProp::ShowDocument()
{
    CString strProduct = CVersionInfo().QueryValue(L"ProductName");
    ::SetWindowTextW(m_hWnd, m_pFile ? m_pFile->Title() + L" - " + strProduct : strProduct);
    m_pageRwin.ShowAdapters();
    m_pageRwin.ShowNoDeviceNote(m_pFile && m_pFile->IsUntitled());
    RefreshPages();
}

bool CMarlinProp::SaveModified()
{
    if (!IsModified())
        return true;
    CString strName = m_pFile ? m_pFile->Title() : LoadResourceString(IDS_DEVICE_REGISTRY);
    switch (ShowMessage(FormatResource(IDS_SAVE_CHANGES, { strName }), MB_YESNOCANCEL | MB_ICONEXCLAMATION))
    {
    case IDYES: return SaveDocument();
    case IDNO: return true;
    }
    return false;
}

bool CMarlinProp::OpenDocument(const WCHAR *pszPath)
{
    auto pFile = std::make_unique<CEditedFile>();
    if (!pFile->Open(pszPath))
    {
        ShowMessage(FileRefusal(pFile->Path(), pFile->Refusal()), MB_OK | MB_ICONSTOP);
        return false;
    }
    SetDocument(std::move(pFile));
    return true;
}

bool CMarlinProp::SaveAs()
{
    CString strPath = m_pFile ? m_pFile->Path() : CString();
    // The types in the filter's order: regedit's file, then an image's.
    DWORD nType = m_pFile && !m_pFile->IsUntitled() && m_pFile->File().GetDialect() == DIALECT_IMAGE ? 2 : 1;
    if (!ChooseFileToSave(m_hWnd, IDS_SAVE_FILTER, &strPath, &nType))
        return false;
    CString strFailure;
    std::unique_ptr<CEditedFile> pSaved = CEditedFile::SaveAs(
        strPath, nType == 2 ? DIALECT_IMAGE : DIALECT_REGEDIT, theParams, &strFailure);
    if (!pSaved)
    {
        ShowMessage(strFailure, MB_OK | MB_ICONSTOP);
        return false;
    }
    SetDocument(std::move(pSaved));
    return true;
}

void CMarlinProp::OnFileOpen()
{
    CString strPath;
    if (SaveModified() && ChooseFileToOpen(m_hWnd, IDS_OPEN_FILTER, nullptr, &strPath))
        OpenDocument(strPath);
}

void CMarlinProp::OnFileSaveAs()
{
    CTcpParams stored;
    stored.Load(*m_pRegistry);
    if (CheckEntries(stored))
        SaveAs();
}

// The first file dropped opens as with Open. A drop while a box of the
// sheet's is open waits for nobody and is let go.
LRESULT CMarlinProp::OnDropFiles(WPARAM wParam, LPARAM)
{
    HDROP hDrop = reinterpret_cast<HDROP>(wParam);
    auto pfnQuery = SystemFunction<decltype(DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    auto pfnFinish = SystemFunction<decltype(DragFinish)>(L"shell32.dll", "DragFinish");
    CString strPath;
    if (pfnQuery && IsWindowEnabled(m_hWnd))
    {
        UINT cchPath = pfnQuery(hDrop, 0, nullptr, 0);
        WCHAR *pszPath = strPath.GetBuffer(static_cast<int>(cchPath) + 1);
        cchPath = pfnQuery(hDrop, 0, pszPath, cchPath + 1);
        strPath.ReleaseBuffer(static_cast<int>(cchPath));
    }
    if (pfnFinish)
        pfnFinish(hDrop);
    if (strPath.IsEmpty())
        return 0;
    SetForegroundWindow(m_hWnd);
    if (SaveModified())
        OpenDocument(strPath);
    return 0;
}
