#include "Device.h"

#include "Browser.h"
#include "ProgramPath.h"
#include "SystemLibrary.h"

#include <shlobj.h>

// Not in every SDK's headers: it was a Windows CE query first.
#ifndef SPI_GETOEMINFO
#define SPI_GETOEMINFO 0x0102
#endif

namespace
{

// The handheld's help viewer, which lives in the system's own folder.
const WCHAR HELP_VIEWER[] = L"\\peghelp.exe";

CString SystemFile(const WCHAR *pszName)
{
    CString strPath;
    WCHAR *pszBuffer = strPath.GetBuffer(MAX_PATH);
    UINT cchPath = GetSystemDirectoryW(pszBuffer, MAX_PATH);
    strPath.ReleaseBuffer(cchPath < MAX_PATH ? static_cast<int>(cchPath) : 0);
    return strPath.IsEmpty() ? strPath : strPath + pszName;
}

// CreateProcessW with the whole path of the program, so that no program of
// that name elsewhere (the current folder, say) is started in its place.
bool StartProcess(const CString &strProgram, const CString &strArguments)
{
    // CreateProcessW may write into the command line.
    CString strCommandLine = strArguments;
    WCHAR *pszWritable = strCommandLine.GetBuffer(strCommandLine.GetLength());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BOOL bStarted = CreateProcessW(strProgram, pszWritable, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process);
    strCommandLine.ReleaseBuffer();
    if (!bStarted)
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

class CPlatformDevice : public IDevice
{
public:
    CString GetOemInfo() override
    {
        const int OEM_INFO_LENGTH = 256;
        CString strOemInfo;
        WCHAR *pszBuffer = strOemInfo.GetBuffer(OEM_INFO_LENGTH);
        pszBuffer[0] = 0;
        if (!SystemParametersInfoW(SPI_GETOEMINFO, OEM_INFO_LENGTH, pszBuffer, 0))
            pszBuffer[0] = 0;
        strOemInfo.ReleaseBuffer();
        return strOemInfo;
    }

    // The handheld's KernelIoControl(IOCTL_HAL_REBOOT) has no desktop
    // equivalent that a user would want: restarting the computer is not it.
    bool CanSoftReset() override { return false; }
    void SoftReset() override {}

    bool ShowHelp(HWND hOwner, const WCHAR *pszDocument, const WCHAR *pszAnchor) override
    {
        // Where there is no viewer, CreateProcessW fails and the browser stands in.
        CString strViewer = SystemFile(HELP_VIEWER);
        if (!strViewer.IsEmpty() && StartProcess(strViewer, CString(L"file:") + pszDocument + pszAnchor))
            return true;
        return OpenInBrowser(hOwner, ProgramFolder() + pszDocument, pszAnchor);
    }

    BOOL OpenWithShell(SHELLEXECUTEINFOW *pInfo) override { return OpenWithShellExecute(pInfo); }

    // The handheld keeps them in "\My Documents\Marlin Backups"; a desktop
    // in the user's local application data, which roams with no one.
    CString GetBackupFolder() override
    {
        CString strFolder;
        WCHAR *pszBuffer = strFolder.GetBuffer(MAX_PATH);
        pszBuffer[0] = 0;
        auto pfnGetFolderPath = SystemFunction<decltype(SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
        HRESULT hr = pfnGetFolderPath ? pfnGetFolderPath(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, pszBuffer)
                                      : E_FAIL;
        strFolder.ReleaseBuffer();
        if (FAILED(hr) || strFolder.IsEmpty())
        {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return CString();
        }
        for (const WCHAR *pszPart : { L"\\Marlin", L"\\Backups" })
        {
            strFolder += pszPart;
            if (!CreateDirectoryW(strFolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
                return CString();
        }
        return strFolder;
    }
};

} // namespace

IDevice &PlatformDevice()
{
    static CPlatformDevice s_device;
    return s_device;
}

bool OffersSoftReset(IDevice &device)
{
    if (!device.CanSoftReset())
        return false;
    CString strOemInfo = device.GetOemInfo();
    return strOemInfo != L"CEPC" && strOemInfo != L"NEC";
}
