// The TCP/IP stack's tuning parameters as the user edits them: the
// stack-wide values and one receive window for each network adapter.
#pragma once

#include "Registry.h"
#include "String.h"

#include <memory>

class CAdapterParams
{
public:
    CAdapterParams() = default;
    virtual ~CAdapterParams() = default;

    CString m_strDisplayName;
    CString m_strKeyName;    // the adapter's key under Comm, "ppp1" for example
    DWORD m_dwTcpWindowSize = 0;
};

class CTcpParams
{
public:
    CTcpParams() = default;
    virtual ~CTcpParams() = default;
    CTcpParams(const CTcpParams &) = delete;
    CTcpParams &operator=(const CTcpParams &) = delete;

    // Reads the record from the registry; values that cannot be read take the
    // stack's defaults. False when there is no Comm key.
    bool Load(IRegistry &registry);
    // Writes the record back, deleting each value that equals its default,
    // and flushes each key written. False when any write or delete failed;
    // the save goes on past a failure and writes what it can.
    bool Save(IRegistry &registry);
    // The same, on the system registry (Windows build).
    bool Load();
    bool Save();

    // Compares the adapters' windows by position, the TTL and the four
    // switches; names and the stack-wide window are not compared.
    bool operator==(const CTcpParams &other) const;
    bool operator!=(const CTcpParams &other) const { return !(*this == other); }

    int m_nAdapters = 0;
    std::unique_ptr<CAdapterParams[]> m_pAdapters;
    DWORD m_dwTcpWindowSize = 0;
    DWORD m_dwDefaultTTL = 0;
    DWORD m_bSack = 0;           // the stored number; nonzero means on
    DWORD m_bTimestamps = 0;     // 0 or 1
    DWORD m_bWindowScaling = 0;  // 0 or 1
    DWORD m_bPmtuDiscovery = 0;  // the stored number; nonzero means on

private:
    void SetStackDefaults();
};

extern CTcpParams theParams;

// Whether a handheld's TCP/IP stack keeps its settings in the registry: it
// registers under Comm\Tcpip. A computer's registry has no such key.
bool IsHandheldRegistry(IRegistry &registry);
