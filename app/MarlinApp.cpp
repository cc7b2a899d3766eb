#include "MarlinApp.h"

#include "MarlinProp.h"
#include "TcpParams.h"
#include "VersionInfo.h"
#include "EditedFile.h"
#include "ResourceString.h"
#include "Win32Registry.h"
#include "resource.h"

#include <cstdlib>


BEGIN_MESSAGE_MAP(CMarlinApp, CWinApp)
END_MESSAGE_MAP()

CMarlinApp theApp;

CMarlinApp::CMarlinApp()
    : CWinApp(nullptr)
{
}

CMarlinApp::~CMarlinApp() = default;

// The name after the path's last folder.
static const WCHAR *FileNameOf(const WCHAR *pszPath)
{
    const WCHAR *pszName = pszPath;
    for (const WCHAR *psz = pszPath; *psz; psz++)
        if (*psz == L'\\' || *psz == L'/' || *psz == L':')
            pszName = psz + 1;
    return pszName;
}

// With one argument, the registry file to edit instead of the system
// registry; a file that cannot be read opens no sheet and ends the program
// with 1.
BOOL CMarlinApp::InitInstance()
{
    CString strProduct = CVersionInfo().QueryValue(TEXT("ProductName"));
    // As the C runtime split the command line.
    int nArguments = __argc;
    WCHAR **ppszArguments = __wargv;
    CEditedFile file;
    CString strError;
    if (nArguments > 2)
        strError = LoadResourceString(IDS_USAGE);
    else if (nArguments == 2 && !file.Open(ppszArguments[1]))
        strError = FileRefusal(file.Path(), file.File());
    if (!strError.IsEmpty())
    {
        MessageBoxW(nullptr, strError, strProduct, MB_OK | MB_ICONSTOP);
        m_nExitCode = 1;
        return FALSE;
    }

    const WCHAR *pszName = nArguments == 2 ? FileNameOf(file.Path()) : nullptr;
    CMarlinProp sheet(pszName ? CString(pszName) + L" - " + strProduct : strProduct, nullptr, 0);
    if (pszName)
        sheet.SetEditedFile(file);
    m_pMainWnd = &sheet;
    theParams.Load(file.Path().IsEmpty() ? SystemRegistry() : file.Registry());
    sheet.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CMarlinApp::ExitInstance()
{
    return m_nExitCode;
}
