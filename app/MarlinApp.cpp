#include "MarlinApp.h"

#include "MarlinProp.h"
#include "TcpParams.h"
#include "VersionInfo.h"
#include "EditedFile.h"
#include "ResourceString.h"
#include "Win32Registry.h"
#include "resource.h"

#include <cstdlib>
#include <memory>


BEGIN_MESSAGE_MAP(CMarlinApp, CWinApp)
END_MESSAGE_MAP()

CMarlinApp theApp;

CMarlinApp::CMarlinApp()
    : CWinApp(nullptr)
{
}

CMarlinApp::~CMarlinApp() = default;

// With one argument, the registry file to edit instead of the system
// registry; a file that cannot be read opens no sheet and ends the program
// with 1. Without one, a computer, whose registry no handheld's stack reads,
// gets untitled settings to save for devices.
BOOL CMarlinApp::InitInstance()
{
    CString strProduct = CVersionInfo().QueryValue(TEXT("ProductName"));
    // As the C runtime split the command line.
    int nArguments = __argc;
    WCHAR **ppszArguments = __wargv;
    auto pFile = std::make_unique<CEditedFile>();
    CString strError;
    if (nArguments > 2)
        strError = LoadResourceString(IDS_USAGE);
    else if (nArguments == 2 && !pFile->Open(ppszArguments[1]))
        strError = FileRefusal(pFile->Path(), pFile->Refusal());
    if (!strError.IsEmpty())
    {
        MessageBoxW(nullptr, strError, strProduct, MB_OK | MB_ICONSTOP);
        m_nExitCode = 1;
        return FALSE;
    }

    CMarlinProp sheet(strProduct, nullptr, 0);
    m_pMainWnd = &sheet;
    if (nArguments < 2 && IsHandheldRegistry(SystemRegistry()))
        theParams.Load(SystemRegistry());
    else
    {
        if (nArguments < 2)
            pFile->OpenUntitled();
        sheet.SetDocument(std::move(pFile));
    }
    sheet.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CMarlinApp::ExitInstance()
{
    return m_nExitCode;
}
