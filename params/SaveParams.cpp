#include "TcpParams.h"

#include "RegistryKey.h"
#include "TcpipKeys.h"

using namespace TcpipKeys;

namespace
{

// Deletes the value when it equals its default, since the stack then takes
// the default anyway; writes it otherwise.
void WriteUnlessDefault(CRegistryKey &key, const WCHAR *pszName, DWORD dwValue, DWORD dwDefault)
{
    if (dwValue == dwDefault)
        key.DeleteValue(pszName);
    else
        key.SetDWordValue(pszName, dwValue);
}

// A switch that is on is the stack's default and never stored; off is 0.
void WriteSwitch(CRegistryKey &key, const WCHAR *pszName, DWORD bOn)
{
    if (bOn)
        key.DeleteValue(pszName);
    else
        key.SetDWordValue(pszName, 0);
}

} // namespace

bool CTcpParams::Save(IRegistry &registry)
{
    CRegistryKey key(registry);

    key.Create(HKEY_LOCAL_MACHINE, CString(COMM) + STACK_PARMS);
    WriteUnlessDefault(key, TCP_WINDOW_SIZE, m_dwTcpWindowSize, DEFAULT_WINDOW_SIZE);
    WriteUnlessDefault(key, DEFAULT_TTL, m_dwDefaultTTL, DEFAULT_TTL_VALUE);
    WriteSwitch(key, ENABLE_PMTU_DISCOVERY, m_bPmtuDiscovery);
    WriteSwitch(key, SACK_OPTS, m_bSack);
    if (m_bTimestamps && m_bWindowScaling)
        key.DeleteValue(TCP1323_OPTS);
    else
        key.SetDWordValue(TCP1323_OPTS, (m_bWindowScaling ? RFC1323_WINDOW_SCALING : 0) | (m_bTimestamps ? RFC1323_TIMESTAMPS : 0));

    // An adapter's own window is stored only where it departs from the
    // stack-wide one of this record.
    for (int i = 0; i < m_nAdapters; i++)
    {
        const CAdapterParams &adapter = m_pAdapters[i];
        key.Create(HKEY_LOCAL_MACHINE, CString(COMM) + SEPARATOR + adapter.m_strKeyName + ADAPTER_PARMS);
        WriteUnlessDefault(key, TCP_WINDOW_SIZE, adapter.m_dwTcpWindowSize, m_dwTcpWindowSize);
    }
    return true;
}
