// CRegistryKey: owns at most one open key of a registry and closes it when
// reopened or destroyed. Every operation returns the registry's status
// unchanged (0 for success), or -1 without calling the registry when the
// object holds no key.
#pragma once

#include "Registry.h"

class CRegistryKey
{
public:
    explicit CRegistryKey(IRegistry &registry) : m_registry(registry) {}
    virtual ~CRegistryKey();
    CRegistryKey(const CRegistryKey &) = delete;
    CRegistryKey &operator=(const CRegistryKey &) = delete;

    LONG Open(HKEY hParent, const WCHAR *pszPath);
    LONG Create(HKEY hParent, const WCHAR *pszPath);
    void Close();

    LONG DeleteSubKey(const WCHAR *pszName);
    LONG DeleteValue(const WCHAR *pszName);
    // A value of up to 4 bytes, of any type, is copied as a little-endian
    // number, zero-extended; *pdwValue is left alone when the read fails.
    LONG QueryDWordValue(const WCHAR *pszName, DWORD *pdwValue);
    // No terminator is added: callers zero-fill the buffer first.
    LONG QueryStringValue(const WCHAR *pszName, WCHAR *pszValue, DWORD cchValue);
    LONG QueryBinaryValue(const WCHAR *pszName, BYTE *pValue, DWORD cbValue);
    LONG SetDWordValue(const WCHAR *pszName, DWORD dwValue);
    LONG SetStringValue(const WCHAR *pszName, const WCHAR *pszValue);
    LONG SetBinaryValue(const WCHAR *pszName, const BYTE *pValue, DWORD cbValue);
    LONG EnumKey(DWORD dwIndex, WCHAR *pszName, DWORD cchName);
    LONG EnumValue(DWORD dwIndex, WCHAR *pszName, DWORD cchName, DWORD *pdwType);
    LONG Flush();

private:
    // Open or Create, as pfnOpen does it.
    LONG Take(LONG (IRegistry::*pfnOpen)(HKEY, const WCHAR *, HKEY *), HKEY hParent, const WCHAR *pszPath);

    static const LONG NO_KEY = -1;

    IRegistry &m_registry;
    HKEY m_hKey = nullptr;
};
