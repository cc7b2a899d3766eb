// The application object. The entry point calls its instance
// initialisation; when that returns false, the program ends without a
// message loop.
#pragma once

#include "Wnd.h"

class CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // A null name means the executable's own name.
    explicit CWinApp(const WCHAR *pszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    const CString &GetAppName() const { return m_strAppName; }

    CWnd *m_pMainWnd = nullptr;

private:
    friend int AfxWinMain();
    CString m_strAppName;
};

// The one application object of the process, null before it is constructed.
CWinApp *AfxGetApp();
int AfxWinMain();
