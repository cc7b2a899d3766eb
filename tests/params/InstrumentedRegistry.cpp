#include "InstrumentedRegistry.h"

namespace
{

std::string Narrow(const WCHAR *psz)
{
    std::string text;
    for (; psz && *psz; psz++)
        text += *psz < 0x80 ? static_cast<char>(*psz) : '?';
    return text;
}

} // namespace

// Counts and traces the call; false (with the status to return) when it is
// the one chosen to fail.
bool CInstrumentedRegistry::Begin(const std::string &line, LONG *plStatus)
{
    int nCall = m_nCalls++;
    m_trace.push_back(line);
    if (m_hook)
        m_hook(nCall, line);
    if (nCall != m_nFailCall)
        return true;
    *plStatus = m_lFailStatus;
    return false;
}

LONG CInstrumentedRegistry::Opened(LONG lStatus, HKEY *phKey)
{
    if (lStatus == ERROR_SUCCESS)
        m_open.insert(*phKey);
    return lStatus;
}

LONG CInstrumentedRegistry::OpenKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey)
{
    LONG lStatus;
    if (!Begin("OpenKey " + Narrow(pszPath), &lStatus))
        return lStatus;
    return Opened(m_inner.OpenKey(hParent, pszPath, phKey), phKey);
}

LONG CInstrumentedRegistry::CreateKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey)
{
    LONG lStatus;
    if (!Begin("CreateKey " + Narrow(pszPath), &lStatus))
        return lStatus;
    return Opened(m_inner.CreateKey(hParent, pszPath, phKey), phKey);
}

// A close that reports a failure still gives the handle up, as on the platform.
LONG CInstrumentedRegistry::CloseKey(HKEY hKey)
{
    LONG lFailStatus = ERROR_SUCCESS;
    bool bFails = !Begin("CloseKey", &lFailStatus);
    LONG lStatus = m_inner.CloseKey(hKey);
    if (lStatus == ERROR_SUCCESS)
        m_open.erase(hKey);
    return bFails ? lFailStatus : lStatus;
}

LONG CInstrumentedRegistry::DeleteKey(HKEY hKey, const WCHAR *pszName)
{
    LONG lStatus;
    if (!Begin("DeleteKey " + Narrow(pszName), &lStatus))
        return lStatus;
    return m_inner.DeleteKey(hKey, pszName);
}

LONG CInstrumentedRegistry::DeleteValue(HKEY hKey, const WCHAR *pszName)
{
    LONG lStatus;
    if (!Begin("DeleteValue " + Narrow(pszName), &lStatus))
        return lStatus;
    return m_inner.DeleteValue(hKey, pszName);
}

LONG CInstrumentedRegistry::QueryValue(HKEY hKey, const WCHAR *pszName, DWORD *pdwType, BYTE *pData, DWORD *pcbData)
{
    LONG lStatus;
    if (!Begin("QueryValue " + Narrow(pszName), &lStatus))
        return lStatus;
    return m_inner.QueryValue(hKey, pszName, pdwType, pData, pcbData);
}

LONG CInstrumentedRegistry::SetValue(HKEY hKey, const WCHAR *pszName, DWORD dwType, const BYTE *pData, DWORD cbData)
{
    LONG lStatus;
    if (!Begin("SetValue " + Narrow(pszName), &lStatus))
        return lStatus;
    return m_inner.SetValue(hKey, pszName, dwType, pData, cbData);
}

LONG CInstrumentedRegistry::EnumKey(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName)
{
    LONG lStatus;
    if (!Begin("EnumKey " + std::to_string(dwIndex), &lStatus))
        return lStatus;
    return m_inner.EnumKey(hKey, dwIndex, pszName, pcchName);
}

LONG CInstrumentedRegistry::EnumValue(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName, DWORD *pdwType)
{
    LONG lStatus;
    if (!Begin("EnumValue " + std::to_string(dwIndex), &lStatus))
        return lStatus;
    return m_inner.EnumValue(hKey, dwIndex, pszName, pcchName, pdwType);
}

LONG CInstrumentedRegistry::FlushKey(HKEY hKey)
{
    LONG lStatus;
    if (!Begin("FlushKey", &lStatus))
        return lStatus;
    return m_inner.FlushKey(hKey);
}
