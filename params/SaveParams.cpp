#include "TcpParams.h"

#include "RegistryKey.h"
#include "TcpipKeys.h"

using namespace TcpipKeys;

namespace
{

// Every write and delete of one save, and whether all of them took effect.
class CSaveKey
{
public:
    explicit CSaveKey(IRegistry &registry) : m_key(registry) {}

    void Create(const CString &strPath) { Check(m_key.Create(HKEY_LOCAL_MACHINE, strPath)); }

    void Set(const WCHAR *pszName, DWORD dwValue) { Check(m_key.SetDWordValue(pszName, dwValue)); }

    // A value that is already absent is as good as deleted.
    void Delete(const WCHAR *pszName)
    {
        LONG lStatus = m_key.DeleteValue(pszName);
        Check(lStatus == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : lStatus);
    }

    // Deletes the value when it equals its default, since the stack then
    // takes the default anyway; writes it otherwise.
    void SetUnlessDefault(const WCHAR *pszName, DWORD dwValue, DWORD dwDefault)
    {
        if (dwValue == dwDefault)
            Delete(pszName);
        else
            Set(pszName, dwValue);
    }

    // A switch that is on is the stack's default and never stored; off is 0.
    void SetSwitch(const WCHAR *pszName, DWORD bOn)
    {
        if (bOn)
            Delete(pszName);
        else
            Set(pszName, 0);
    }

    // Where the registry lives in a file, the system writes it out lazily;
    // a reset soon after the save must not lose what was written.
    void Flush() { Check(m_key.Flush()); }

    bool AllTookEffect() const { return m_bAllTookEffect; }

private:
    void Check(LONG lStatus)
    {
        if (lStatus != ERROR_SUCCESS)
            m_bAllTookEffect = false;
    }

    CRegistryKey m_key;
    bool m_bAllTookEffect = true;
};

} // namespace

bool CTcpParams::Save(IRegistry &registry)
{
    CSaveKey key(registry);

    key.Create(CString(COMM) + STACK_PARMS);
    key.SetUnlessDefault(TCP_WINDOW_SIZE, m_dwTcpWindowSize, DEFAULT_WINDOW_SIZE);
    key.SetUnlessDefault(DEFAULT_TTL, m_dwDefaultTTL, DEFAULT_TTL_VALUE);
    key.SetSwitch(ENABLE_PMTU_DISCOVERY, m_bPmtuDiscovery);
    key.SetSwitch(SACK_OPTS, m_bSack);
    if (m_bTimestamps && m_bWindowScaling)
        key.Delete(TCP1323_OPTS);
    else
        key.Set(TCP1323_OPTS, (m_bWindowScaling ? RFC1323_WINDOW_SCALING : 0) | (m_bTimestamps ? RFC1323_TIMESTAMPS : 0));
    key.Flush();

    // An adapter's own window is stored only where it departs from the
    // stack-wide one of this record.
    for (int i = 0; i < m_nAdapters; i++)
    {
        const CAdapterParams &adapter = m_pAdapters[i];
        key.Create(CString(COMM) + SEPARATOR + adapter.m_strKeyName + ADAPTER_PARMS);
        key.SetUnlessDefault(TCP_WINDOW_SIZE, adapter.m_dwTcpWindowSize, m_dwTcpWindowSize);
        key.Flush();
    }
    return key.AllTookEffect();
}
