// IRegistry: the registry operations the parameter store and the registry
// files use, with the platform's zero-for-success statuses. CWin32Registry
// passes them to the system; CMemoryRegistry keeps a registry in memory: a
// registry file being edited, Restore's copy, the native build's tests.
#pragma once

#include "Platform.h"

class IRegistry
{
public:
    virtual ~IRegistry() = default;

    virtual LONG OpenKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) = 0;
    // Opens the key, making it and any missing key above it first.
    virtual LONG CreateKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) = 0;
    virtual LONG CloseKey(HKEY hKey) = 0;
    virtual LONG DeleteKey(HKEY hKey, const WCHAR *pszName) = 0;
    virtual LONG DeleteValue(HKEY hKey, const WCHAR *pszName) = 0;
    // *pcbData is the room in pData on entry and the value's size on return.
    virtual LONG QueryValue(HKEY hKey, const WCHAR *pszName, DWORD *pdwType, BYTE *pData, DWORD *pcbData) = 0;
    virtual LONG SetValue(HKEY hKey, const WCHAR *pszName, DWORD dwType, const BYTE *pData, DWORD cbData) = 0;
    // *pcchName is the room in pszName, terminator included, on entry.
    virtual LONG EnumKey(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName) = 0;
    virtual LONG EnumValue(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName, DWORD *pdwType) = 0;
    // Writes the key's changes out to where the registry is kept.
    virtual LONG FlushKey(HKEY hKey) = 0;
};
