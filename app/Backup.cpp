#include "Backup.h"

#include "RegFile.h"
#include "RegFileIo.h"
#include "ManagedSettings.h"


bool WriteBackup(IDevice &device, IRegistry &registry, const CTcpParams &params, CString *pstrWhere)
{
    *pstrWhere = device.GetBackupFolder();
    if (pstrWhere->IsEmpty())
    {
        *pstrWhere = L"Marlin\\Backups";
        return false;
    }
    std::vector<BYTE> bytes = CRegFile::Format(ManagedSettings(registry, params));
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    WCHAR szName[40];
    for (int nTry = 1; nTry < 1000; nTry++)
    {
        int cchName = wsprintfW(szName, L"\\%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                               now.wMinute, now.wSecond);
        if (nTry > 1)
            wsprintfW(szName + cchName, L"-%d", nTry);
        if (WriteNewFile(*pstrWhere + szName + L".reg", bytes))
            return true;
        if (GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}
