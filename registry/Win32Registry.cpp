#include "Win32Registry.h"

// Windows CE ignores the access mask and the callers pass none. The desktop
// checks it on every later call, so opening asks for reading and creating,
// which precedes writes, for reading and writing.
LONG CWin32Registry::OpenKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey)
{
    return RegOpenKeyExW(hParent, pszPath, 0, KEY_READ, phKey);
}

LONG CWin32Registry::CreateKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey)
{
    DWORD dwDisposition;
    return RegCreateKeyExW(hParent, pszPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, phKey, &dwDisposition);
}

LONG CWin32Registry::CloseKey(HKEY hKey)
{
    return RegCloseKey(hKey);
}

LONG CWin32Registry::DeleteKey(HKEY hKey, const WCHAR *pszName)
{
    return RegDeleteKeyW(hKey, pszName);
}

LONG CWin32Registry::DeleteValue(HKEY hKey, const WCHAR *pszName)
{
    return RegDeleteValueW(hKey, pszName);
}

LONG CWin32Registry::QueryValue(HKEY hKey, const WCHAR *pszName, DWORD *pdwType, BYTE *pData, DWORD *pcbData)
{
    return RegQueryValueExW(hKey, pszName, nullptr, pdwType, pData, pcbData);
}

LONG CWin32Registry::SetValue(HKEY hKey, const WCHAR *pszName, DWORD dwType, const BYTE *pData, DWORD cbData)
{
    return RegSetValueExW(hKey, pszName, 0, dwType, pData, cbData);
}

LONG CWin32Registry::EnumKey(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName)
{
    return RegEnumKeyExW(hKey, dwIndex, pszName, pcchName, nullptr, nullptr, nullptr, nullptr);
}

LONG CWin32Registry::EnumValue(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName, DWORD *pdwType)
{
    return RegEnumValueW(hKey, dwIndex, pszName, pcchName, nullptr, pdwType, nullptr, nullptr);
}

LONG CWin32Registry::FlushKey(HKEY hKey)
{
    return RegFlushKey(hKey);
}

IRegistry &SystemRegistry()
{
    static CWin32Registry registry;
    return registry;
}
