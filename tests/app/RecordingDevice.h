// A device for the tests: it plays a handheld's OEM string and records what
// the program asked of it, in place of the platform's while it lives.
#pragma once

#include "Device.h"

#include <string>
#include <vector>

class CRecordingDevice : public IDevice
{
public:
    CRecordingDevice() { SetDevice(this); }
    ~CRecordingDevice() override { SetDevice(nullptr); }

    CString GetOemInfo() override
    {
        m_nOemQueries++;
        return m_strOemInfo;
    }
    void SoftReset() override { m_nResets++; }
    bool StartProcess(const WCHAR *pszApplication, const WCHAR *pszCommandLine) override
    {
        m_started.push_back(std::wstring(pszApplication) + L" " + pszCommandLine);
        return m_bProcessesStart;
    }
    BOOL OpenWithShell(SHELLEXECUTEINFOW *pInfo) override
    {
        m_opened.push_back(*pInfo);
        m_openedFiles.push_back(pInfo->lpFile ? pInfo->lpFile : L"(null)");
        return TRUE;
    }

    CString m_strOemInfo;
    bool m_bProcessesStart = true;
    int m_nOemQueries = 0;
    int m_nResets = 0;
    std::vector<std::wstring> m_started;       // application, a space, command line
    std::vector<SHELLEXECUTEINFOW> m_opened;
    std::vector<std::wstring> m_openedFiles;   // copies: lpFile does not outlive the call
};
