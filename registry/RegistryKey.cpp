#include "RegistryKey.h"

#include "RegValue.h"

#include <string>

CRegistryKey::~CRegistryKey()
{
    Close();
}

LONG CRegistryKey::Take(LONG (IRegistry::*pfnOpen)(HKEY, const WCHAR *, HKEY *), HKEY hParent, const WCHAR *pszPath)
{
    Close();
    HKEY hKey = nullptr;
    LONG lStatus = (m_registry.*pfnOpen)(hParent, pszPath, &hKey);
    if (lStatus == ERROR_SUCCESS)
        m_hKey = hKey;
    return lStatus;
}

LONG CRegistryKey::Open(HKEY hParent, const WCHAR *pszPath)
{
    return Take(&IRegistry::OpenKey, hParent, pszPath);
}

LONG CRegistryKey::Create(HKEY hParent, const WCHAR *pszPath)
{
    return Take(&IRegistry::CreateKey, hParent, pszPath);
}

void CRegistryKey::Close()
{
    if (!m_hKey)
        return;
    m_registry.CloseKey(m_hKey);
    m_hKey = nullptr;
}

LONG CRegistryKey::DeleteSubKey(const WCHAR *pszName)
{
    return m_hKey ? m_registry.DeleteKey(m_hKey, pszName) : NO_KEY;
}

LONG CRegistryKey::DeleteValue(const WCHAR *pszName)
{
    return m_hKey ? m_registry.DeleteValue(m_hKey, pszName) : NO_KEY;
}

LONG CRegistryKey::QueryDWordValue(const WCHAR *pszName, DWORD *pdwValue)
{
    if (!m_hKey)
        return NO_KEY;
    // Read into a zeroed word so that a value shorter than 4 bytes does not
    // leave the caller's old bytes in the rest of the number.
    BYTE bytes[4] = {};
    DWORD cbData = sizeof(bytes);
    LONG lStatus = m_registry.QueryValue(m_hKey, pszName, nullptr, bytes, &cbData);
    if (lStatus == ERROR_SUCCESS)
        *pdwValue = DwordOf(bytes);
    return lStatus;
}

LONG CRegistryKey::QueryStringValue(const WCHAR *pszName, WCHAR *pszValue, DWORD cchValue)
{
    if (!m_hKey)
        return NO_KEY;
    DWORD cbData = cchValue * sizeof(WCHAR);
    return m_registry.QueryValue(m_hKey, pszName, nullptr, reinterpret_cast<BYTE *>(pszValue), &cbData);
}

LONG CRegistryKey::QueryBinaryValue(const WCHAR *pszName, BYTE *pValue, DWORD cbValue)
{
    return m_hKey ? m_registry.QueryValue(m_hKey, pszName, nullptr, pValue, &cbValue) : NO_KEY;
}

LONG CRegistryKey::SetDWordValue(const WCHAR *pszName, DWORD dwValue)
{
    if (!m_hKey)
        return NO_KEY;
    std::vector<BYTE> bytes = DwordBytes(dwValue);
    return m_registry.SetValue(m_hKey, pszName, REG_DWORD, bytes.data(), static_cast<DWORD>(bytes.size()));
}

LONG CRegistryKey::SetStringValue(const WCHAR *pszName, const WCHAR *pszValue)
{
    if (!m_hKey)
        return NO_KEY;
    DWORD cbData = static_cast<DWORD>((std::char_traits<WCHAR>::length(pszValue) + 1) * sizeof(WCHAR));
    return m_registry.SetValue(m_hKey, pszName, REG_SZ, reinterpret_cast<const BYTE *>(pszValue), cbData);
}

LONG CRegistryKey::SetBinaryValue(const WCHAR *pszName, const BYTE *pValue, DWORD cbValue)
{
    return m_hKey ? m_registry.SetValue(m_hKey, pszName, REG_BINARY, pValue, cbValue) : NO_KEY;
}

LONG CRegistryKey::EnumKey(DWORD dwIndex, WCHAR *pszName, DWORD cchName)
{
    return m_hKey ? m_registry.EnumKey(m_hKey, dwIndex, pszName, &cchName) : NO_KEY;
}

LONG CRegistryKey::EnumValue(DWORD dwIndex, WCHAR *pszName, DWORD cchName, DWORD *pdwType)
{
    return m_hKey ? m_registry.EnumValue(m_hKey, dwIndex, pszName, &cchName, pdwType) : NO_KEY;
}

LONG CRegistryKey::Flush()
{
    return m_hKey ? m_registry.FlushKey(m_hKey) : NO_KEY;
}
