// The system registry behind IRegistry (Windows build only).
#pragma once

#include "Registry.h"

class CWin32Registry : public IRegistry
{
public:
    LONG OpenKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) override;
    LONG CreateKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) override;
    LONG CloseKey(HKEY hKey) override;
    LONG DeleteKey(HKEY hKey, const WCHAR *pszName) override;
    LONG DeleteValue(HKEY hKey, const WCHAR *pszName) override;
    LONG QueryValue(HKEY hKey, const WCHAR *pszName, DWORD *pdwType, BYTE *pData, DWORD *pcbData) override;
    LONG SetValue(HKEY hKey, const WCHAR *pszName, DWORD dwType, const BYTE *pData, DWORD cbData) override;
    LONG EnumKey(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName) override;
    LONG EnumValue(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName, DWORD *pdwType) override;
    LONG FlushKey(HKEY hKey) override;
};

// The registry of the machine the program runs on; it lives for the whole process.
IRegistry &SystemRegistry();
