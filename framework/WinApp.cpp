#include "WinApp.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

static CWinApp *s_pApp;

CWinApp *AfxGetApp()
{
    return s_pApp;
}

CWinApp::CWinApp(const WCHAR *pszAppName)
    : m_strAppName(pszAppName)
{
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return 0;
}

// The executable's file name without its folder and extension.
static CString ModuleBaseName()
{
    WCHAR szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    WCHAR *pszName = szPath;
    for (WCHAR *p = szPath; *p; p++)
        if (*p == L'\\' || *p == L'/')
            pszName = p + 1;
    if (WCHAR *pszDot = wcsrchr(pszName, L'.'))
        *pszDot = 0;
    return pszName;
}

int AfxWinMain()
{
    CWinApp *pApp = AfxGetApp();
    if (!pApp)
        return 1;
    if (pApp->m_strAppName.IsEmpty())
        pApp->m_strAppName = ModuleBaseName();
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
