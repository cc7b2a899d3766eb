#include "Device.h"

// Not in every SDK's headers: it was a Windows CE query first.
#ifndef SPI_GETOEMINFO
#define SPI_GETOEMINFO 0x0102
#endif

namespace
{

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
    void SoftReset() override {}

    bool StartProcess(const WCHAR *pszApplication, const WCHAR *pszCommandLine) override
    {
        // CreateProcessW may write into the command line.
        CString strCommandLine = pszCommandLine;
        WCHAR *pszWritable = strCommandLine.GetBuffer(strCommandLine.GetLength());
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        BOOL bStarted = CreateProcessW(pszApplication, pszWritable, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                       &startup, &process);
        strCommandLine.ReleaseBuffer();
        if (!bStarted)
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    BOOL OpenWithShell(SHELLEXECUTEINFOW *pInfo) override { return ShellExecuteExW(pInfo); }
};

CPlatformDevice s_platformDevice;
IDevice *s_pDevice = &s_platformDevice;

} // namespace

IDevice &TheDevice()
{
    return *s_pDevice;
}

void SetDevice(IDevice *pDevice)
{
    s_pDevice = pDevice ? pDevice : &s_platformDevice;
}
