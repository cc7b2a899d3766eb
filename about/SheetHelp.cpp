// The sheet's Help menu: the help viewer and the About box.
#include "MarlinProp.h"

#include "AboutDlg.h"
#include "Device.h"

// The handheld's help viewer and where it opens the document.
static const WCHAR HELP_VIEWER[] = L"peghelp.exe";
static const WCHAR HELP_DOCUMENT[] = L"marlin.htm";
static const WCHAR HELP_ANCHOR[] = L"#Main_Contents";

// Where there is no viewer (the desktop), the shell opens the document that
// lies beside the program, as a file: URL so that the anchor survives.
static void OpenHelpWithShell(HWND hOwner)
{
    WCHAR szPath[MAX_PATH] = {};
    DWORD cchPath = GetModuleFileNameW(nullptr, szPath, ARRAYSIZE(szPath));
    if (cchPath == 0 || cchPath >= ARRAYSIZE(szPath))
        return;
    CString strUrl = L"file:///";
    WCHAR *pszName = szPath;
    for (WCHAR *p = szPath; *p; p++)
    {
        if (*p == L'\\')
        {
            *p = L'/';
            pszName = p + 1;
        }
    }
    *pszName = 0;
    strUrl += CString(szPath) + HELP_DOCUMENT + HELP_ANCHOR;

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = hOwner;
    info.lpFile = strUrl;
    info.nShow = SW_SHOWNORMAL;
    TheDevice().OpenWithShell(&info);
}

LRESULT CMarlinProp::OnHelpRequest(WPARAM, LPARAM)
{
    if (!TheDevice().StartProcess(HELP_VIEWER, CString(L"file:") + HELP_DOCUMENT + HELP_ANCHOR))
        OpenHelpWithShell(m_hWnd);
    return Default();
}

void CMarlinProp::OnHelpContents()
{
    SendMessage(WM_HELP);
}

void CMarlinProp::OnAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}
