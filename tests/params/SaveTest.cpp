// Writing the record back: only what departs from the defaults is stored.
#include "RegistryHelpers.h"
#include "TcpParams.h"

using ::testing::ElementsAre;

namespace
{

const WCHAR STACK[] = TEXT("Comm\\Tcpip\\Parms");

class Save : public RegistryTest
{
protected:
    void SetUp() override
    {
        RegistryTest::SetUp();
        m_params.m_dwTcpWindowSize = 17520;
        m_params.m_dwDefaultTTL = 128;
        m_params.m_bSack = m_params.m_bTimestamps = m_params.m_bWindowScaling = m_params.m_bPmtuDiscovery = 1;
    }
    void SetAdapters(std::vector<std::pair<const WCHAR *, DWORD>> adapters)
    {
        m_params.m_nAdapters = static_cast<int>(adapters.size());
        m_params.m_pAdapters.reset(new CAdapterParams[adapters.size()]);
        for (size_t i = 0; i < adapters.size(); i++)
        {
            m_params.m_pAdapters[i].m_strKeyName = adapters[i].first;
            m_params.m_pAdapters[i].m_dwTcpWindowSize = adapters[i].second;
        }
    }
    std::string Stack(const WCHAR *pszName) { return Describe(Reg(), STACK, pszName); }
    std::string AdapterWindow(const WCHAR *pszKey)
    {
        return Describe(Reg(), CString(TEXT("Comm\\")) + pszKey + TEXT("\\Parms\\TcpIp"), TEXT("TcpWindowSize"));
    }

    CTcpParams m_params;
};

TEST_P(Save, DefaultsDeleteEveryValueButKeepTheKeys)
{
    SetDword(Reg(), STACK, TEXT("TcpWindowSize"), 17520);
    SetDword(Reg(), STACK, TEXT("DefaultTTL"), 64);
    SetDword(Reg(), STACK, TEXT("EnablePMTUDiscovery"), 0);
    SetDword(Reg(), STACK, TEXT("SackOpts"), 0);
    SetDword(Reg(), STACK, TEXT("TCP1323Opts"), 0);
    SetDword(Reg(), STACK, TEXT("Other"), 7);
    SetDword(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 8760);
    SetAdapters({{TEXT("eth0"), 17520}, {TEXT("ppp1"), 17520}});
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_THAT(ValueNames(Reg(), STACK), ElementsAre("Other"));
    EXPECT_EQ("absent", AdapterWindow(TEXT("eth0")));
    EXPECT_TRUE(KeyExists(Reg(), TEXT("Comm\\ppp1\\Parms\\TcpIp"))) << "adapter keys are created";
    EXPECT_TRUE(ValueNames(Reg(), TEXT("Comm\\ppp1\\Parms\\TcpIp")).empty());
}

TEST_P(Save, SwitchesThatAreOffAreStoredAsZero)
{
    m_params.m_bPmtuDiscovery = 0;
    m_params.m_bSack = 0;
    m_params.m_bTimestamps = 0;
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_EQ("dword 0", Stack(TEXT("EnablePMTUDiscovery")));
    EXPECT_EQ("dword 0", Stack(TEXT("SackOpts")));
    EXPECT_EQ("dword 1", Stack(TEXT("TCP1323Opts"))) << "window scaling alone";

    m_params.m_bPmtuDiscovery = 2;
    m_params.m_bSack = 1;
    m_params.m_bTimestamps = 1;
    m_params.m_bWindowScaling = 0;
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_EQ("absent", Stack(TEXT("EnablePMTUDiscovery")));
    EXPECT_EQ("absent", Stack(TEXT("SackOpts")));
    EXPECT_EQ("dword 2", Stack(TEXT("TCP1323Opts"))) << "time stamps alone";

    m_params.m_bTimestamps = 0;
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_EQ("dword 0", Stack(TEXT("TCP1323Opts")));
}

TEST_P(Save, NumbersAreStoredUnlessTheyEqualTheDefault)
{
    m_params.m_dwDefaultTTL = 64;
    m_params.m_dwTcpWindowSize = 32768;
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_EQ("dword 64", Stack(TEXT("DefaultTTL")));
    EXPECT_EQ("dword 32768", Stack(TEXT("TcpWindowSize")));

    m_params.m_dwDefaultTTL = 128;
    m_params.m_dwTcpWindowSize = 17520;
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_EQ("absent", Stack(TEXT("DefaultTTL")));
    EXPECT_EQ("absent", Stack(TEXT("TcpWindowSize")));
}

TEST_P(Save, AdapterWindowsAreStoredWhereTheyDifferFromTheStackWideWindow)
{
    m_params.m_dwTcpWindowSize = 32768;
    SetDword(Reg(), TEXT("Comm\\eth1\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 8760);
    SetAdapters({{TEXT("eth0"), 17520}, {TEXT("eth1"), 32768}, {TEXT("ppp1"), 64240}});
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_EQ("dword 17520", AdapterWindow(TEXT("eth0")));
    EXPECT_EQ("absent", AdapterWindow(TEXT("eth1")));
    EXPECT_EQ("dword 64240", AdapterWindow(TEXT("ppp1")));
}

TEST_P(Save, WithoutAdaptersOnlyTheStackKeyIsWritten)
{
    m_params.m_dwDefaultTTL = 32;
    EXPECT_TRUE(m_params.Save(Reg()));
    EXPECT_THAT(SubkeyNames(Reg(), TEXT("Comm")), ElementsAre("Tcpip"));
    EXPECT_THAT(ValueNames(Reg(), STACK), ElementsAre("DefaultTTL"));
}

TEST_P(Save, SavingAFreshlyLoadedRecordKeepsWhatEveryValueMeans)
{
    SetDword(Reg(), STACK, TEXT("TcpWindowSize"), 17520);
    SetDword(Reg(), STACK, TEXT("DefaultTTL"), 64);
    SetDword(Reg(), STACK, TEXT("EnablePMTUDiscovery"), 7);
    SetDword(Reg(), STACK, TEXT("SackOpts"), 0);
    SetDword(Reg(), STACK, TEXT("TCP1323Opts"), 9);
    SetDword(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 17520);
    SetDword(Reg(), TEXT("Comm\\eth1\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 8760);
    MakeKey(Reg(), TEXT("Comm\\ppp1\\Parms\\TcpIp"));
    ASSERT_TRUE(m_params.Load(Reg()));
    EXPECT_TRUE(m_params.Save(Reg()));

    EXPECT_EQ("absent", Stack(TEXT("TcpWindowSize")));
    EXPECT_EQ("dword 64", Stack(TEXT("DefaultTTL")));
    EXPECT_EQ("absent", Stack(TEXT("EnablePMTUDiscovery")));
    EXPECT_EQ("dword 0", Stack(TEXT("SackOpts")));
    EXPECT_EQ("absent", Stack(TEXT("TCP1323Opts")));
    EXPECT_EQ("absent", AdapterWindow(TEXT("eth0")));
    EXPECT_EQ("dword 8760", AdapterWindow(TEXT("eth1")));
    EXPECT_EQ("absent", AdapterWindow(TEXT("ppp1")));

    CTcpParams reloaded;
    ASSERT_TRUE(reloaded.Load(Reg()));
    EXPECT_TRUE(reloaded != m_params) << "a stored 7 compares unequal to the 1 it reloads as";
    m_params.m_bPmtuDiscovery = 1;
    EXPECT_TRUE(reloaded == m_params);
}

INSTANTIATE_ON_ALL_REGISTRIES(Save);

} // namespace
