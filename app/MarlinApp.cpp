#include "MarlinApp.h"

#include "MarlinProp.h"
#include "TcpParams.h"
#include "VersionInfo.h"

BEGIN_MESSAGE_MAP(CMarlinApp, CWinApp)
END_MESSAGE_MAP()

CMarlinApp theApp;

CMarlinApp::CMarlinApp()
    : CWinApp(nullptr)
{
}

CMarlinApp::~CMarlinApp() = default;

BOOL CMarlinApp::InitInstance()
{
    CString strCaption = CVersionInfo().QueryValue(TEXT("ProductName"));
    CMarlinProp sheet(strCaption, nullptr, 0);
    m_pMainWnd = &sheet;
    theParams.Load();
    sheet.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
