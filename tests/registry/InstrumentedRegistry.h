// CInstrumentedRegistry: passes every call on to another registry and
// watches it: how many calls were made, what each was ("EnumKey 2",
// "QueryValue TcpWindowSize") and which handles are still open. It can fail
// one chosen call, and run a hook before each call so that a test can change
// the registry in the middle of an operation.
#pragma once

#include "Registry.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class CInstrumentedRegistry : public IRegistry
{
public:
    explicit CInstrumentedRegistry(IRegistry &inner) : m_inner(inner) {}

    LONG OpenKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) override
    {
        return Call("OpenKey", pszPath, [&] { return Opened(m_inner.OpenKey(hParent, pszPath, phKey), phKey); });
    }
    LONG CreateKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) override
    {
        return Call("CreateKey", pszPath, [&] { return Opened(m_inner.CreateKey(hParent, pszPath, phKey), phKey); });
    }
    // A close that reports a failure still gives the handle up, as on the platform.
    LONG CloseKey(HKEY hKey) override
    {
        m_open.erase(hKey);
        LONG lStatus = m_inner.CloseKey(hKey);
        return Call("CloseKey", nullptr, [=] { return lStatus; });
    }
    LONG DeleteKey(HKEY hKey, const WCHAR *pszName) override
    {
        return Call("DeleteKey", pszName, [&] { return m_inner.DeleteKey(hKey, pszName); });
    }
    LONG DeleteValue(HKEY hKey, const WCHAR *pszName) override
    {
        return Call("DeleteValue", pszName, [&] { return m_inner.DeleteValue(hKey, pszName); });
    }
    LONG QueryValue(HKEY hKey, const WCHAR *pszName, DWORD *pdwType, BYTE *pData, DWORD *pcbData) override
    {
        return Call("QueryValue", pszName, [&] { return m_inner.QueryValue(hKey, pszName, pdwType, pData, pcbData); });
    }
    LONG SetValue(HKEY hKey, const WCHAR *pszName, DWORD dwType, const BYTE *pData, DWORD cbData) override
    {
        return Call("SetValue", pszName, [&] { return m_inner.SetValue(hKey, pszName, dwType, pData, cbData); });
    }
    LONG EnumKey(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName) override
    {
        return Call("EnumKey " + std::to_string(dwIndex), nullptr, [&] { return m_inner.EnumKey(hKey, dwIndex, pszName, pcchName); });
    }
    LONG EnumValue(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName, DWORD *pdwType) override
    {
        return Call("EnumValue " + std::to_string(dwIndex), nullptr,
                    [&] { return m_inner.EnumValue(hKey, dwIndex, pszName, pcchName, pdwType); });
    }
    LONG FlushKey(HKEY hKey) override { return Call("FlushKey", nullptr, [&] { return m_inner.FlushKey(hKey); }); }

    int Calls() const { return static_cast<int>(m_trace.size()); }
    int OpenHandles() const { return static_cast<int>(m_open.size()); }
    const std::vector<std::string> &Trace() const { return m_trace; }
    // Call number nCall, counted from 0, returns lStatus without reaching
    // the registry.
    void FailCall(int nCall, LONG lStatus) { m_nFailCall = nCall, m_lFailStatus = lStatus; }
    void OnCall(std::function<void(const std::string &)> hook) { m_hook = std::move(hook); }

private:
    LONG Call(std::string strLine, const WCHAR *pszName, const std::function<LONG()> &fnCall)
    {
        for (const WCHAR *psz = pszName; psz && *psz; psz++)
            strLine += (psz == pszName ? " " : "") + std::string(1, static_cast<char>(*psz));
        m_trace.push_back(strLine);
        if (m_hook)
            m_hook(strLine);
        return Calls() - 1 == m_nFailCall ? m_lFailStatus : fnCall();
    }
    LONG Opened(LONG lStatus, HKEY *phKey)
    {
        if (lStatus == ERROR_SUCCESS)
            m_open.insert(*phKey);
        return lStatus;
    }

    IRegistry &m_inner;
    int m_nFailCall = -1;
    LONG m_lFailStatus = 0;
    std::set<HKEY> m_open;
    std::vector<std::string> m_trace;
    std::function<void(const std::string &)> m_hook;
};
