#include "TcpParams.h"

#include "RegistryKey.h"
#include "ResourceString.h"
#include "TcpipKeys.h"
#include "StoreStrings.h"

#include <algorithm>
#include <new>

using namespace TcpipKeys;

namespace
{

const DWORD NAME_CHARS = 256;

// The name of the subkey of Comm at nIndex, or false at the end of the
// subkeys or on any error.
bool EnumAdapterKey(CRegistryKey &keyComm, DWORD nIndex, CString &strName)
{
    WCHAR *pszName = strName.GetBuffer(NAME_CHARS);
    std::fill(pszName, pszName + NAME_CHARS, 0);
    LONG lStatus = keyComm.EnumKey(nIndex, pszName, NAME_CHARS);
    strName.ReleaseBuffer();
    return lStatus == ERROR_SUCCESS;
}

CString AdapterParmsPath(const CString &strName)
{
    return CString(COMM) + SEPARATOR + strName + ADAPTER_PARMS;
}

// DisplayName, when it fits the buffer with its terminator. A value that
// fills all 256 characters has no room left for one and counts as too long.
bool QueryDisplayName(CRegistryKey &keyAdapter, CString &strDisplayName)
{
    WCHAR *pszName = strDisplayName.GetBuffer(NAME_CHARS);
    std::fill(pszName, pszName + NAME_CHARS, 0);
    LONG lStatus = keyAdapter.QueryStringValue(DISPLAY_NAME, pszName, NAME_CHARS);
    bool bTerminated = pszName[NAME_CHARS - 1] == 0;
    strDisplayName.ReleaseBuffer();
    return lStatus == ERROR_SUCCESS && bTerminated;
}

} // namespace

bool CTcpParams::Load(IRegistry &registry)
{
    m_pAdapters.reset();
    m_nAdapters = 0;

    CRegistryKey keyComm(registry);
    CRegistryKey keyParms(registry);
    CRegistryKey keyAdapter(registry);

    if (keyComm.Open(HKEY_LOCAL_MACHINE, COMM) != ERROR_SUCCESS)
    {
        // Without Comm there is nothing to read; the stack then runs on its
        // defaults, and so must the record, or a later Save writes zeros.
        SetStackDefaults();
        return false;
    }

    if (keyParms.Open(HKEY_LOCAL_MACHINE, CString(COMM) + STACK_PARMS) != ERROR_SUCCESS)
    {
        SetStackDefaults();
    }
    else
    {
        if (keyParms.QueryDWordValue(TCP_WINDOW_SIZE, &m_dwTcpWindowSize) != ERROR_SUCCESS)
            m_dwTcpWindowSize = DEFAULT_WINDOW_SIZE;
        if (keyParms.QueryDWordValue(DEFAULT_TTL, &m_dwDefaultTTL) != ERROR_SUCCESS)
            m_dwDefaultTTL = DEFAULT_TTL_VALUE;
        if (keyParms.QueryDWordValue(ENABLE_PMTU_DISCOVERY, &m_bPmtuDiscovery) != ERROR_SUCCESS)
            m_bPmtuDiscovery = DEFAULT_SWITCH;
        if (keyParms.QueryDWordValue(SACK_OPTS, &m_bSack) != ERROR_SUCCESS)
            m_bSack = DEFAULT_SWITCH;
        DWORD dwOpts;
        if (keyParms.QueryDWordValue(TCP1323_OPTS, &dwOpts) != ERROR_SUCCESS)
            dwOpts = DEFAULT_TCP1323_OPTS;
        if (dwOpts > DEFAULT_TCP1323_OPTS)
            dwOpts = DEFAULT_TCP1323_OPTS;
        m_bTimestamps = (dwOpts & RFC1323_TIMESTAMPS) ? 1 : 0;
        m_bWindowScaling = (dwOpts & RFC1323_WINDOW_SCALING) ? 1 : 0;
    }

    // Count first, so that the table is allocated once at its exact size.
    CString strName;
    int nCount = 0;
    for (DWORD i = 0; EnumAdapterKey(keyComm, i, strName); i++)
    {
        if (keyParms.Open(HKEY_LOCAL_MACHINE, AdapterParmsPath(strName)) == ERROR_SUCCESS)
            nCount++;
    }
    if (nCount == 0)
        return true;

    m_pAdapters.reset(new (std::nothrow) CAdapterParams[nCount]);
    if (!m_pAdapters)
        return true;
    m_nAdapters = nCount;

    int nFilled = 0;
    for (DWORD j = 0; nFilled < m_nAdapters && EnumAdapterKey(keyComm, j, strName); j++)
    {
        if (keyParms.Open(HKEY_LOCAL_MACHINE, AdapterParmsPath(strName)) != ERROR_SUCCESS)
            continue;
        CAdapterParams &adapter = m_pAdapters[nFilled];
        adapter.m_strKeyName = strName;
        if (strName == PPP_ADAPTER)
        {
            adapter.m_strDisplayName = LoadResourceString(IDS_PPP_ADAPTER);
        }
        else if (keyAdapter.Open(HKEY_LOCAL_MACHINE, CString(COMM) + SEPARATOR + strName) == ERROR_SUCCESS)
        {
            if (!QueryDisplayName(keyAdapter, adapter.m_strDisplayName))
                adapter.m_strDisplayName = strName;
        }
        if (keyParms.QueryDWordValue(TCP_WINDOW_SIZE, &adapter.m_dwTcpWindowSize) != ERROR_SUCCESS)
            adapter.m_dwTcpWindowSize = m_dwTcpWindowSize;
        nFilled++;
    }
    // The registry may have lost adapters since they were counted; entries
    // never filled have no key name and must not reach Save.
    m_nAdapters = nFilled;
    return true;
}

bool IsHandheldRegistry(IRegistry &registry)
{
    CRegistryKey key(registry);
    return key.Open(HKEY_LOCAL_MACHINE, CString(COMM) + STACK) == ERROR_SUCCESS;
}
