#include "WinApp.h"

#include "ProgramPath.h"

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

int AfxWinMain()
{
    CWinApp *pApp = AfxGetApp();
    if (!pApp)
        return 1;
    if (pApp->m_strAppName.IsEmpty())
        pApp->m_strAppName = ProgramBaseName();
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
