// Reading the record from a registry.
#include "RegistryHelpers.h"
#include "TcpParams.h"

using ::testing::ElementsAre;

namespace
{

const WCHAR STACK[] = TEXT("Comm\\Tcpip\\Parms");

class Load : public RegistryTest
{
protected:
    void AddAdapter(const WCHAR *pszKey)
    {
        MakeKey(Reg(), CString(TEXT("Comm\\")) + pszKey + TEXT("\\Parms\\TcpIp"));
    }
    void AddAdapter(const WCHAR *pszKey, DWORD dwWindow)
    {
        SetDword(Reg(), CString(TEXT("Comm\\")) + pszKey + TEXT("\\Parms\\TcpIp"), TEXT("TcpWindowSize"), dwWindow);
    }
    std::vector<std::string> KeyNames() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_params.m_nAdapters; i++)
            names.push_back(Narrow(m_params.m_pAdapters[i].m_strKeyName));
        return names;
    }
    std::vector<std::string> DisplayNames() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_params.m_nAdapters; i++)
            names.push_back(Narrow(m_params.m_pAdapters[i].m_strDisplayName));
        return names;
    }
    void ExpectStackDefaults()
    {
        EXPECT_EQ(17520u, m_params.m_dwTcpWindowSize);
        EXPECT_EQ(128u, m_params.m_dwDefaultTTL);
        EXPECT_EQ(1u, m_params.m_bSack);
        EXPECT_EQ(1u, m_params.m_bTimestamps);
        EXPECT_EQ(1u, m_params.m_bWindowScaling);
        EXPECT_EQ(1u, m_params.m_bPmtuDiscovery);
    }

    CTcpParams m_params;
};

TEST_P(Load, WithoutStackParametersEveryValueTakesItsDefault)
{
    MakeKey(Reg(), TEXT("Comm"));
    EXPECT_TRUE(m_params.Load(Reg()));
    ExpectStackDefaults();
    EXPECT_EQ(0, m_params.m_nAdapters);

    MakeKey(Reg(), STACK);
    EXPECT_TRUE(m_params.Load(Reg()));
    ExpectStackDefaults();
}

TEST_P(Load, WithoutCommTheRecordHasNoAdaptersAndTheStackDefaults)
{
    AddAdapter(TEXT("eth0"), 8760);
    SetDword(Reg(), STACK, TEXT("DefaultTTL"), 64);
    ASSERT_TRUE(m_params.Load(Reg()));
    ASSERT_EQ(1, m_params.m_nAdapters);

    DeleteTree(Reg(), TEXT("Comm"));
    EXPECT_FALSE(m_params.Load(Reg()));
    EXPECT_EQ(0, m_params.m_nAdapters);
    EXPECT_EQ(nullptr, m_params.m_pAdapters.get());
    ExpectStackDefaults();
}

TEST_P(Load, StackValuesAreTakenAsStored)
{
    SetDword(Reg(), STACK, TEXT("TcpWindowSize"), 0);
    SetDword(Reg(), STACK, TEXT("DefaultTTL"), 300);
    SetDword(Reg(), STACK, TEXT("EnablePMTUDiscovery"), 5);
    SetDword(Reg(), STACK, TEXT("SackOpts"), 0);
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_EQ(0u, m_params.m_dwTcpWindowSize);
    EXPECT_EQ(300u, m_params.m_dwDefaultTTL);
    EXPECT_EQ(5u, m_params.m_bPmtuDiscovery);
    EXPECT_EQ(0u, m_params.m_bSack);

    SetDword(Reg(), STACK, TEXT("DefaultTTL"), 0);
    SetDword(Reg(), STACK, TEXT("SackOpts"), 2);
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_EQ(0u, m_params.m_dwDefaultTTL);
    EXPECT_EQ(2u, m_params.m_bSack);
}

TEST_P(Load, OptionWordGivesWindowScalingInBitZeroAndTimeStampsInBitOne)
{
    struct
    {
        DWORD dwOpts;
        DWORD bWindowScaling, bTimestamps;
    } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 1, 1}, {4, 1, 1}, {255, 1, 1}, {0xFFFFFFFF, 1, 1}};
    for (const auto &c : cases)
    {
        SetDword(Reg(), STACK, TEXT("TCP1323Opts"), c.dwOpts);
        ASSERT_TRUE(m_params.Load(Reg()));
        EXPECT_EQ(c.bWindowScaling, m_params.m_bWindowScaling) << "TCP1323Opts " << c.dwOpts;
        EXPECT_EQ(c.bTimestamps, m_params.m_bTimestamps) << "TCP1323Opts " << c.dwOpts;
    }
}

TEST_P(Load, ValuesAreReadByTheirBytesWhateverTheirType)
{
    SetString(Reg(), STACK, TEXT("DefaultTTL"), TEXT("64"));
    SetRaw(Reg(), STACK, TEXT("TcpWindowSize"), REG_BINARY, {0x00, 0x80, 0x00, 0x00});
    SetRaw(Reg(), STACK, TEXT("SackOpts"), REG_QWORD, {0, 0, 0, 0, 0, 0, 0, 0});
    SetRaw(Reg(), STACK, TEXT("TCP1323Opts"), REG_BINARY, {0x01});
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_EQ(128u, m_params.m_dwDefaultTTL) << "6 bytes do not fit";
    EXPECT_EQ(32768u, m_params.m_dwTcpWindowSize);
    EXPECT_EQ(1u, m_params.m_bSack) << "8 bytes do not fit";
    EXPECT_EQ(1u, m_params.m_bWindowScaling);
    EXPECT_EQ(0u, m_params.m_bTimestamps);
}

TEST_P(Load, ShortValuesDoNotDependOnWhatTheRecordHeldBefore)
{
    SetRaw(Reg(), STACK, TEXT("DefaultTTL"), REG_BINARY, {0x40, 0x00});
    SetRaw(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize"), REG_BINARY, {0x10, 0x27});
    m_params.m_dwDefaultTTL = 0x12345678;
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_EQ(64u, m_params.m_dwDefaultTTL);
    ASSERT_EQ(1, m_params.m_nAdapters);
    EXPECT_EQ(10000u, m_params.m_pAdapters[0].m_dwTcpWindowSize);
}

TEST_P(Load, AdaptersAreTheSubkeysOfCommWithTcpIpParametersInRegistryOrder)
{
    AddAdapter(TEXT("ppp1"));
    AddAdapter(TEXT("NE20001"));
    MakeKey(Reg(), TEXT("Comm\\AsyncMac1\\Parms"));
    MakeKey(Reg(), TEXT("Comm\\IrDA"));
    MakeKey(Reg(), STACK);
    AddAdapter(TEXT("ETHER1"));
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_THAT(KeyNames(), ElementsAre("ETHER1", "NE20001", "ppp1"));
}

TEST_P(Load, NoAdapterKeysGiveAnEmptyTable)
{
    MakeKey(Reg(), TEXT("Comm\\AsyncMac1\\Parms"));
    MakeKey(Reg(), STACK);
    EXPECT_TRUE(m_params.Load(Reg()));
    EXPECT_EQ(0, m_params.m_nAdapters);
}

TEST_P(Load, AdapterWithoutAWindowTakesTheStackWideOne)
{
    AddAdapter(TEXT("eth0"));
    AddAdapter(TEXT("eth1"), 8760);
    ASSERT_TRUE(m_params.Load(Reg()));
    ASSERT_EQ(2, m_params.m_nAdapters);
    EXPECT_EQ(17520u, m_params.m_pAdapters[0].m_dwTcpWindowSize);
    EXPECT_EQ(8760u, m_params.m_pAdapters[1].m_dwTcpWindowSize);

    SetDword(Reg(), STACK, TEXT("TcpWindowSize"), 32768);
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_EQ(32768u, m_params.m_pAdapters[0].m_dwTcpWindowSize);
    EXPECT_EQ(8760u, m_params.m_pAdapters[1].m_dwTcpWindowSize);
}

TEST_P(Load, ThePppAdapterHasTheProgramsOwnNameAndOnlyWhenSpelledExactly)
{
    AddAdapter(TEXT("ppp1"));
    SetString(Reg(), TEXT("Comm\\ppp1"), TEXT("DisplayName"), TEXT("Dial-up"));
    AddAdapter(TEXT("PPP1x"));
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_THAT(DisplayNames(), ElementsAre("PPP Adapter", "PPP1x"));

    DeleteTree(Reg(), TEXT("Comm\\ppp1"));
    AddAdapter(TEXT("PPP1"));
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_THAT(DisplayNames(), ElementsAre("PPP1", "PPP1x"));
}

TEST_P(Load, DisplayNameIsShownWhenItFitsAndTheKeyNameOtherwise)
{
    AddAdapter(TEXT("a255"));
    SetString(Reg(), TEXT("Comm\\a255"), TEXT("DisplayName"), Repeat('x', 255));
    AddAdapter(TEXT("b256"));
    SetString(Reg(), TEXT("Comm\\b256"), TEXT("DisplayName"), Repeat('y', 256));
    AddAdapter(TEXT("c256"));
    SetString(Reg(), TEXT("Comm\\c256"), TEXT("DisplayName"), Repeat('z', 256), false);
    AddAdapter(TEXT("d300"));
    SetString(Reg(), TEXT("Comm\\d300"), TEXT("DisplayName"), Repeat('w', 300));
    AddAdapter(TEXT("e"));
    SetString(Reg(), TEXT("Comm\\e"), TEXT("DisplayName"), TEXT("Ethernet"), false);
    AddAdapter(TEXT("f"));
    ASSERT_TRUE(m_params.Load(Reg()));
    ASSERT_EQ(6, m_params.m_nAdapters);
    EXPECT_EQ(Narrow(Repeat('x', 255)), Narrow(m_params.m_pAdapters[0].m_strDisplayName));
    EXPECT_EQ("b256", Narrow(m_params.m_pAdapters[1].m_strDisplayName));
    EXPECT_EQ("c256", Narrow(m_params.m_pAdapters[2].m_strDisplayName)) << "no room for a terminator";
    EXPECT_EQ("d300", Narrow(m_params.m_pAdapters[3].m_strDisplayName));
    EXPECT_EQ("Ethernet", Narrow(m_params.m_pAdapters[4].m_strDisplayName));
    EXPECT_EQ("f", Narrow(m_params.m_pAdapters[5].m_strDisplayName));
}

TEST_P(Load, LoadingAgainDiscardsEditsAndRebuildsTheTable)
{
    AddAdapter(TEXT("eth0"), 8760);
    AddAdapter(TEXT("ppp1"));
    SetDword(Reg(), STACK, TEXT("DefaultTTL"), 64);
    ASSERT_TRUE(m_params.Load(Reg()));
    m_params.m_pAdapters[0].m_dwTcpWindowSize = 1;
    m_params.m_dwDefaultTTL = 2;
    m_params.m_bSack = 0;

    AddAdapter(TEXT("eth1"));
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_THAT(KeyNames(), ElementsAre("eth0", "eth1", "ppp1"));
    EXPECT_EQ(8760u, m_params.m_pAdapters[0].m_dwTcpWindowSize);
    EXPECT_EQ(64u, m_params.m_dwDefaultTTL);
    EXPECT_EQ(1u, m_params.m_bSack);
}

INSTANTIATE_ON_ALL_REGISTRIES(Load);

} // namespace
