// Comparing two parameter records.
#include "RegistryHelpers.h"
#include "TcpParams.h"

namespace
{

void Fill(CTcpParams &params, std::vector<std::pair<const WCHAR *, DWORD>> adapters)
{
    params.m_nAdapters = static_cast<int>(adapters.size());
    params.m_pAdapters.reset(new CAdapterParams[adapters.size()]);
    for (size_t i = 0; i < adapters.size(); i++)
    {
        params.m_pAdapters[i].m_strKeyName = adapters[i].first;
        params.m_pAdapters[i].m_strDisplayName = adapters[i].first;
        params.m_pAdapters[i].m_dwTcpWindowSize = adapters[i].second;
    }
    params.m_dwTcpWindowSize = 17520;
    params.m_dwDefaultTTL = 128;
    params.m_bSack = params.m_bTimestamps = params.m_bWindowScaling = params.m_bPmtuDiscovery = 1;
}

TEST(Record, NewRecordIsEmptyAndAllZero)
{
    CTcpParams params;
    EXPECT_EQ(0, params.m_nAdapters);
    EXPECT_EQ(nullptr, params.m_pAdapters.get());
    EXPECT_EQ(0u, params.m_dwTcpWindowSize | params.m_dwDefaultTTL | params.m_bSack | params.m_bTimestamps
        | params.m_bWindowScaling | params.m_bPmtuDiscovery);
    CAdapterParams adapter;
    EXPECT_TRUE(adapter.m_strDisplayName.IsEmpty());
    EXPECT_TRUE(adapter.m_strKeyName.IsEmpty());
    EXPECT_EQ(0u, adapter.m_dwTcpWindowSize);
}

TEST(Record, AdaptersArePairedByPositionNotByName)
{
    CTcpParams left, right;
    Fill(left, {{TEXT("A"), 17520}, {TEXT("B"), 32120}});
    Fill(right, {{TEXT("B"), 32120}, {TEXT("A"), 17520}});
    EXPECT_TRUE(left != right);
    EXPECT_FALSE(left == right);

    Fill(right, {{TEXT("X"), 17520}, {TEXT("Y"), 32120}});
    right.m_dwTcpWindowSize = 65535;
    EXPECT_TRUE(left == right) << "names and the stack-wide window are not compared";

    Fill(right, {{TEXT("A"), 17520}});
    EXPECT_TRUE(left != right) << "different adapter counts";
}

TEST(Record, EachComparedFieldMakesADifference)
{
    DWORD CTcpParams::*fields[] = {&CTcpParams::m_dwDefaultTTL, &CTcpParams::m_bPmtuDiscovery,
        &CTcpParams::m_bSack, &CTcpParams::m_bTimestamps, &CTcpParams::m_bWindowScaling};
    for (auto field : fields)
    {
        CTcpParams left, right;
        Fill(left, {});
        Fill(right, {});
        EXPECT_TRUE(left == right);
        right.*field = 0;
        EXPECT_TRUE(left != right);
        EXPECT_TRUE(right != left);
    }
}

TEST(Record, SwitchesCompareAsStoredNumbers)
{
    CTcpParams left, right;
    Fill(left, {});
    Fill(right, {});
    right.m_bPmtuDiscovery = 2;
    EXPECT_TRUE(left != right) << "2 and 1 both mean on, but differ";
    right.m_bPmtuDiscovery = 1;
    right.m_bSack = 2;
    EXPECT_TRUE(left != right);
}

} // namespace
