// CInstrumentedRegistry: wraps another registry, passes every call through
// and watches it: how many calls were made, which handles are still open,
// and what each call was (for checking the order of calls). For tests it can
// fail one chosen call and run a hook before each call, so that a test can
// change the registry in the middle of an operation.
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

    int Calls() const { return m_nCalls; }
    int OpenHandles() const { return static_cast<int>(m_open.size()); }
    // One line a call, such as "EnumKey 2" or "QueryValue TcpWindowSize".
    const std::vector<std::string> &Trace() const { return m_trace; }
    void ClearTrace() { m_trace.clear(); }

    // Call number nCall (counted from 0 over all calls) returns lStatus
    // without reaching the inner registry.
    void FailCall(int nCall, LONG lStatus) { m_nFailCall = nCall; m_lFailStatus = lStatus; }
    // Runs before each call, with the call's number and its trace line.
    void OnCall(std::function<void(int, const std::string &)> hook) { m_hook = std::move(hook); }

private:
    bool Begin(const std::string &line, LONG *plStatus);
    LONG Opened(LONG lStatus, HKEY *phKey);

    IRegistry &m_inner;
    int m_nCalls = 0;
    int m_nFailCall = -1;
    LONG m_lFailStatus = 0;
    std::set<HKEY> m_open;
    std::vector<std::string> m_trace;
    std::function<void(int, const std::string &)> m_hook;
};
