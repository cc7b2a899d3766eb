// What only a handheld has, or what leaves the program: the OEM string, the
// soft reset, the help viewer and handing a link to the shell. The desktop
// stands in for the handheld where it can. The sheet works through this
// seam, and tests of what only a handheld would show play one.
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
    // Whether SoftReset restarts this device; a desktop has no soft reset.
    virtual bool CanSoftReset() = 0;
    virtual void SoftReset() = 0;
    // Shows the help document that lies beside the program, at the anchor
    // ("#Main_Contents"): the handheld's viewer, or else the user's browser.
    // False when nothing could show it; the platform has shown no message.
    virtual bool ShowHelp(HWND hOwner, const WCHAR *pszDocument, const WCHAR *pszAnchor) = 0;
    // ShellExecuteExW with the record as given.
    virtual BOOL OpenWithShell(SHELLEXECUTEINFOW *pInfo) = 0;
    // Where backups of the settings go, made when missing; empty, with
    // GetLastError() set, when it cannot be had.
    virtual CString GetBackupFolder() = 0;
};

// The device the program runs on; it lives for the whole process.
IDevice &PlatformDevice();

// Whether OK offers to restart the device after a save: only a device that
// can restart is asked, and not one that restarts by other means, those whose
// OEM string is exactly "CEPC" or "NEC".
bool OffersSoftReset(IDevice &device);
