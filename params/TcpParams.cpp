#include "TcpParams.h"

#include "TcpipKeys.h"

bool CTcpParams::operator==(const CTcpParams &other) const
{
    if (m_nAdapters != other.m_nAdapters)
        return false;
    for (int i = 0; i < m_nAdapters; i++)
    {
        if (m_pAdapters[i].m_dwTcpWindowSize != other.m_pAdapters[i].m_dwTcpWindowSize)
            return false;
    }
    return m_dwDefaultTTL == other.m_dwDefaultTTL
        && m_bPmtuDiscovery == other.m_bPmtuDiscovery
        && m_bSack == other.m_bSack
        && m_bTimestamps == other.m_bTimestamps
        && m_bWindowScaling == other.m_bWindowScaling;
}

void CTcpParams::SetStackDefaults()
{
    m_dwTcpWindowSize = TcpipKeys::DEFAULT_WINDOW_SIZE;
    m_dwDefaultTTL = TcpipKeys::DEFAULT_TTL_VALUE;
    m_bSack = TcpipKeys::DEFAULT_SWITCH;
    m_bTimestamps = TcpipKeys::DEFAULT_SWITCH;
    m_bWindowScaling = TcpipKeys::DEFAULT_SWITCH;
    m_bPmtuDiscovery = TcpipKeys::DEFAULT_SWITCH;
}

// Constructed before any other static object of the program (the
// application object among them) and so destroyed after all of them.
CTcpParams theParams __attribute__((init_priority(101)));
