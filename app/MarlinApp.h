// The application: it shows the tuning sheet and ends when the sheet closes.
#pragma once

#include "WinApp.h"

class CMarlinApp : public CWinApp
{
public:
    CMarlinApp();
    ~CMarlinApp() override;

    // Loads the parameters, runs the sheet, and returns false so that no
    // message loop follows.
    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    int m_nExitCode = 0;
};

extern CMarlinApp theApp;
