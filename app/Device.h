// What only a handheld has, or what leaves the program: the OEM string, the
// soft reset, starting another program and handing a link to the shell. The
// desktop build stands in for the handheld's calls; tests put their own
// device in place to play a handheld and to see what was asked for.
#pragma once

#include "String.h"

#include <windows.h>
#include <shellapi.h>

class IDevice
{
public:
    virtual ~IDevice() = default;

    // The device's OEM information, read into 256 characters; empty when
    // the query fails.
    virtual CString GetOemInfo() = 0;
    // Restarts a handheld. Where there is none, it returns.
    virtual void SoftReset() = 0;
    // CreateProcessW with this application name and command line, and
    // nothing else; false when the program could not be started.
    virtual bool StartProcess(const WCHAR *pszApplication, const WCHAR *pszCommandLine) = 0;
    // ShellExecuteExW with the record as given.
    virtual BOOL OpenWithShell(SHELLEXECUTEINFOW *pInfo) = 0;
};

// The device in use: the platform's own unless a test has set another.
IDevice &TheDevice();
// A null device restores the platform's own. The caller keeps ownership.
void SetDevice(IDevice *pDevice);
