// Loading and saving when the registry fails or changes underneath, or the
// adapter table cannot be allocated.
#include "InstrumentedRegistry.h"
#include "RegistryHelpers.h"
#include "TcpParams.h"

#include <new>

static bool g_bFailTableAllocation = false;

// The table is the only array the store allocates without throwing; the
// tests never run out of memory otherwise.
void *operator new[](std::size_t cbSize, const std::nothrow_t &) noexcept
{
    return g_bFailTableAllocation ? nullptr : ::operator new[](cbSize);
}

namespace
{

const WCHAR STACK[] = TEXT("Comm\\Tcpip\\Parms");

class Faults : public RegistryTest
{
protected:
    void MakeSample()
    {
        SetDword(Reg(), STACK, TEXT("DefaultTTL"), 64);
        SetDword(Reg(), STACK, TEXT("TCP1323Opts"), 1);
        SetDword(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 8760);
        SetString(Reg(), TEXT("Comm\\eth0"), TEXT("DisplayName"), TEXT("Ethernet"));
        MakeKey(Reg(), TEXT("Comm\\IrDA"));
        MakeKey(Reg(), TEXT("Comm\\ppp1\\Parms\\TcpIp"));
    }

    // The record is whole: its count matches its table and every entry has a key.
    static void ExpectConsistent(const CTcpParams &params)
    {
        ASSERT_GE(params.m_nAdapters, 0);
        ASSERT_TRUE(params.m_nAdapters == 0 || params.m_pAdapters);
        for (int i = 0; i < params.m_nAdapters; i++)
            EXPECT_FALSE(params.m_pAdapters[i].m_strKeyName.IsEmpty()) << "entry " << i;
        EXPECT_LE(params.m_bTimestamps, 1u);
        EXPECT_LE(params.m_bWindowScaling, 1u);
        EXPECT_NE(0u, params.m_dwDefaultTTL) << "a TTL of 0 is never a default";
    }
};

// Runs operation once to count its calls, then once with each call failing
// in turn; operation learns which one ("CloseKey"), or "" on the first run.
void FailEachCallInTurn(IRegistry &registry, const std::function<void(IRegistry &, const std::string &)> &operation)
{
    CInstrumentedRegistry counter(registry);
    operation(counter, "");
    ASSERT_GT(counter.Calls(), 5);
    for (int nFail = 0; nFail < counter.Calls(); nFail++)
    {
        SCOPED_TRACE("call " + std::to_string(nFail) + " (" + counter.Trace()[nFail] + ") failing");
        CInstrumentedRegistry watch(registry);
        watch.FailCall(nFail, ERROR_ACCESS_DENIED);
        operation(watch, counter.Trace()[nFail]);
        EXPECT_EQ(0, watch.OpenHandles());
    }
}

TEST_P(Faults, LoadSurvivesEveryRegistryCallFailingInTurnOrNoTable)
{
    MakeSample();
    FailEachCallInTurn(Reg(), [](IRegistry &registry, const std::string &) {
        CTcpParams loaded;
        loaded.Load(registry);
        ExpectConsistent(loaded);
    });
    CTcpParams params;
    CInstrumentedRegistry watch(Reg());
    ASSERT_TRUE(params.Load(watch) && params.m_nAdapters == 2);
    g_bFailTableAllocation = true;
    params.Load(watch);
    g_bFailTableAllocation = false;
    ExpectConsistent(params);
    EXPECT_EQ(0, watch.OpenHandles());
    EXPECT_EQ(0, params.m_nAdapters) << "no table, no entries";
    EXPECT_EQ(64u, params.m_dwDefaultTTL) << "the stack values are still read";
}

TEST_P(Faults, SaveSurvivesEveryRegistryCallFailingInTurn)
{
    MakeSample();
    CTcpParams params;
    ASSERT_TRUE(params.Load(Reg()));
    params.m_dwDefaultTTL = 32;
    params.m_pAdapters[0].m_dwTcpWindowSize = 64240;
    FailEachCallInTurn(Reg(), [&](IRegistry &registry, const std::string &strFailing) {
        // A key that will not close has still taken its values.
        EXPECT_EQ(strFailing.empty() || strFailing == "CloseKey", params.Save(registry));
    });
    params.Save(Reg());
    CTcpParams reloaded;
    ASSERT_TRUE(reloaded.Load(Reg()));
    EXPECT_TRUE(reloaded == params) << "a later save writes everything";
}

// The registry changes just before the filling pass begins to enumerate
// Comm: the table holds no more than the first pass counted, none empty.
TEST_P(Faults, AdaptersLostOrAddedBetweenThePassesLeaveNoEmptyEntries)
{
    const struct
    {
        const WCHAR *pszAdded, *pszLost;
        const char *pszKeys;
    } cases[] = { { nullptr, TEXT("Comm\\ppp1"), "eth0 " }, { TEXT("Comm\\Async\\Parms\\TcpIp"), nullptr, "Async eth0 " } };
    for (const auto &test : cases)
    {
        Clear();
        MakeSample();
        CInstrumentedRegistry watch(Reg());
        int nEnumsOfComm = 0;
        watch.OnCall([&](const std::string &strCall) {
            if (strCall == "EnumKey 0" && ++nEnumsOfComm == 2)
                test.pszAdded ? MakeKey(Reg(), test.pszAdded) : DeleteTree(Reg(), test.pszLost);
        });
        CTcpParams params;
        ASSERT_TRUE(params.Load(watch));
        std::string strKeys;
        for (int i = 0; i < params.m_nAdapters; i++)
            strKeys += Narrow(params.m_pAdapters[i].m_strKeyName) + " ";
        EXPECT_EQ(test.pszKeys, strKeys);
        EXPECT_EQ(0, watch.OpenHandles());
        params.Save(Reg());
        EXPECT_EQ(std::string::npos, Dump(Reg()).find("Comm\\Parms")) << "written under an empty adapter name";
    }
}

INSTANTIATE_ON_ALL_REGISTRIES(Faults);

} // namespace
