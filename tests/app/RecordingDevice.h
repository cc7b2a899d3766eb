// A device for the tests: it plays a handheld, with an OEM string and a soft
// reset, and counts what the program asked of it. Help and the links are
// seen from outside, on the real shell (tests/program).
#pragma once

#include "Device.h"

class CRecordingDevice : public IDevice
{
public:
    CString GetOemInfo() override
    {
        m_nOemQueries++;
        return m_strOemInfo;
    }
    bool CanSoftReset() override { return true; }
    void SoftReset() override { m_nResets++; }
    bool ShowHelp(HWND, const WCHAR *, const WCHAR *) override { return true; }
    BOOL OpenWithShell(SHELLEXECUTEINFOW *) override { return TRUE; }

    CString m_strOemInfo;
    int m_nOemQueries = 0;
    int m_nResets = 0;
};
