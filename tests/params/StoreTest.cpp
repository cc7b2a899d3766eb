// What Load makes of a registry, what Save leaves in it, and which records
// compare equal: tables of the stack's rules, on every registry the build has.
#include "RegistryHelpers.h"
#include "TcpParams.h"

#include <sstream>

namespace
{

const WCHAR PARMS[] = TEXT("Comm\\Tcpip\\Parms");

// The record in a line: the stack's values, then each adapter.
std::string Summary(const CTcpParams &params)
{
    std::ostringstream out;
    out << "window " << params.m_dwTcpWindowSize << " ttl " << params.m_dwDefaultTTL << " sack " << params.m_bSack
        << " stamps " << params.m_bTimestamps << " scaling " << params.m_bWindowScaling << " pmtu "
        << params.m_bPmtuDiscovery;
    for (int i = 0; i < params.m_nAdapters; i++)
    {
        std::string strName = Narrow(params.m_pAdapters[i].m_strDisplayName);
        out << " | " << Narrow(params.m_pAdapters[i].m_strKeyName) << " '"
            << (strName.size() > 20 ? std::to_string(strName.size()) + " characters" : strName) << "' "
            << params.m_pAdapters[i].m_dwTcpWindowSize;
    }
    return out.str();
}

CString Repeat(WCHAR ch, int nCount)
{
    return std::basic_string<WCHAR>(nCount, ch).c_str();
}

struct LoadCase
{
    const char *pszName;
    std::function<void(IRegistry &)> fill;
    const char *pszLoaded;   // the summary, after "no Comm: " where Load returns false
};

class Store : public RegistryTest
{
};

void Opts(IRegistry &registry, DWORD dwOpts)
{
    SetDword(registry, PARMS, TEXT("TCP1323Opts"), dwOpts);
}

const char DEFAULTS[] = "window 17520 ttl 128 sack 1 stamps 1 scaling 1 pmtu 1";

TEST_P(Store, LoadTakesTheStoredValuesOrTheStacksDefaults)
{
    const LoadCase cases[] = {
    LoadCase{ "NoComm", [](IRegistry &) {}, "no Comm: window 17520 ttl 128 sack 1 stamps 1 scaling 1 pmtu 1" },
    LoadCase{ "EmptyComm", [](IRegistry &r) { MakeKey(r, TEXT("Comm")); }, DEFAULTS },
    LoadCase{ "StoredAsIs", [](IRegistry &r) {
        SetDword(r, PARMS, TEXT("TcpWindowSize"), 0);
        SetDword(r, PARMS, TEXT("DefaultTTL"), 300);
        SetDword(r, PARMS, TEXT("EnablePMTUDiscovery"), 5);
        SetDword(r, PARMS, TEXT("SackOpts"), 0); }, "window 0 ttl 300 sack 0 stamps 1 scaling 1 pmtu 5" },
    LoadCase{ "Rfc1323Off", [](IRegistry &r) { Opts(r, 0); }, "window 17520 ttl 128 sack 1 stamps 0 scaling 0 pmtu 1" },
    LoadCase{ "Rfc1323ScalingOnly", [](IRegistry &r) { Opts(r, 1); }, "window 17520 ttl 128 sack 1 stamps 0 scaling 1 pmtu 1" },
    LoadCase{ "Rfc1323StampsOnly", [](IRegistry &r) { Opts(r, 2); }, "window 17520 ttl 128 sack 1 stamps 1 scaling 0 pmtu 1" },
    LoadCase{ "Rfc1323Above3", [](IRegistry &r) { Opts(r, 4); }, DEFAULTS },
    LoadCase{ "Rfc1323AllBits", [](IRegistry &r) { Opts(r, 0xFFFFFFFF); }, DEFAULTS },
    // Read by their bytes, whatever their type: a string of 6 bytes does
    // not fit, 2 bytes are the low ones.
    LoadCase{ "ValuesOfOtherTypes", [](IRegistry &r) {
        SetString(r, PARMS, TEXT("DefaultTTL"), TEXT("64"));
        SetRaw(r, PARMS, TEXT("TcpWindowSize"), REG_BINARY, { 0x40, 0 }); }, "window 64 ttl 128 sack 1 stamps 1 scaling 1 pmtu 1" },
    LoadCase{ "Adapters", [](IRegistry &r) {
        SetDword(r, PARMS, TEXT("TcpWindowSize"), 32768);
        SetString(r, TEXT("Comm\\ppp1"), TEXT("DisplayName"), TEXT("Dial-Up"));
        MakeKey(r, TEXT("Comm\\ppp1\\Parms\\TcpIp"));
        MakeKey(r, TEXT("Comm\\ppp10\\Parms\\TcpIp"));
        SetString(r, TEXT("Comm\\eth0"), TEXT("DisplayName"), TEXT("Ethernet"));
        SetDword(r, TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 8760);
        MakeKey(r, TEXT("Comm\\IrDA\\Parms")); },
        "window 32768 ttl 128 sack 1 stamps 1 scaling 1 pmtu 1 | eth0 'Ethernet' 8760 | ppp1 'PPP Adapter' 32768 | "
        "ppp10 'ppp10' 32768" },
    // A name of 256 characters leaves no room for its terminator.
    LoadCase{ "DisplayNameLengths", [](IRegistry &r) {
        SetString(r, TEXT("Comm\\a255"), TEXT("DisplayName"), Repeat('A', 255));
        MakeKey(r, TEXT("Comm\\a255\\Parms\\TcpIp"));
        SetString(r, TEXT("Comm\\a256"), TEXT("DisplayName"), Repeat('A', 256));
        MakeKey(r, TEXT("Comm\\a256\\Parms\\TcpIp")); },
        "window 17520 ttl 128 sack 1 stamps 1 scaling 1 pmtu 1 | a255 '255 characters' 17520 | a256 'a256' 17520" },
    LoadCase{ "UnterminatedNameAndOddLengths", [](IRegistry &r) {
        SetRaw(r, TEXT("Comm\\x"), TEXT("DisplayName"), REG_SZ, { 'N', 0, 'E', 0, '2', 0 });
        SetRaw(r, TEXT("Comm\\x\\Parms\\TcpIp"), TEXT("TcpWindowSize"), REG_BINARY, { 1, 2, 3 });
        SetRaw(r, PARMS, TEXT("DefaultTTL"), REG_DWORD, std::vector<BYTE>(9, 1));
        SetRaw(r, PARMS, TEXT("SackOpts"), REG_DWORD, {}); },
        "window 17520 ttl 128 sack 0 stamps 1 scaling 1 pmtu 1 | x 'NE2' 197121" } };
    for (const LoadCase &test : cases)
    {
        Clear();
        test.fill(Reg());
        CTcpParams params;
        bool bLoaded = params.Load(Reg());
        EXPECT_EQ(test.pszLoaded, (bLoaded ? "" : "no Comm: ") + Summary(params)) << test.pszName;
        // Loading again rebuilds the table from scratch.
        params.Load(Reg());
        EXPECT_EQ(test.pszLoaded, (bLoaded ? "" : "no Comm: ") + Summary(params)) << test.pszName << ", again";
        // Saved and loaded again, the record means the same, and saving that changes nothing.
        CTcpParams reloaded;
        params.Save(Reg()), reloaded.Load(Reg());
        const std::string strSaved = Dump(Reg());
        reloaded.Save(Reg());
        EXPECT_EQ(strSaved, Dump(Reg())) << test.pszName << ": a second save changed the registry";
        for (CTcpParams *pParams : { &params, &reloaded })   // a switch stored as 2 comes back as 1
            pParams->m_bSack = pParams->m_bSack != 0, pParams->m_bPmtuDiscovery = pParams->m_bPmtuDiscovery != 0;
        EXPECT_TRUE(params == reloaded && params.m_dwTcpWindowSize == reloaded.m_dwTcpWindowSize) << test.pszName << ", saved";
    }
}

struct SaveCase
{
    const char *pszName;
    std::function<void(CTcpParams &)> change;
    const char *pszStored;   // the values under Comm afterwards, a line each
};

// Only values that differ from the stack's defaults are stored.
TEST_P(Store, SaveStoresWhatDiffersFromTheDefaultsAndDeletesTheRest)
{
    const SaveCase cases[] = {
    SaveCase{ "AsLoaded", [](CTcpParams &) {},
              "Comm\\Tcpip\\Parms: DefaultTTL=dword 64\nComm\\eth0\\Parms\\TcpIp: TcpWindowSize=dword 8760\n" },
    SaveCase{ "Defaults", [](CTcpParams &p) { p.m_dwDefaultTTL = 128; p.m_pAdapters[0].m_dwTcpWindowSize = 17520; }, "" },
    SaveCase{ "ScalingWithoutStamps", [](CTcpParams &p) { p.m_bTimestamps = 0; },
              "Comm\\Tcpip\\Parms: DefaultTTL=dword 64\nComm\\Tcpip\\Parms: TCP1323Opts=dword 1\n"
              "Comm\\eth0\\Parms\\TcpIp: TcpWindowSize=dword 8760\n" },
    SaveCase{ "StampsWithoutScaling", [](CTcpParams &p) { p.m_bWindowScaling = 0; p.m_dwDefaultTTL = 128; },
              "Comm\\Tcpip\\Parms: TCP1323Opts=dword 2\nComm\\eth0\\Parms\\TcpIp: TcpWindowSize=dword 8760\n" },
    SaveCase{ "SwitchesOff", [](CTcpParams &p) { p.m_bTimestamps = p.m_bWindowScaling = p.m_bSack = p.m_bPmtuDiscovery = 0; },
              "Comm\\Tcpip\\Parms: DefaultTTL=dword 64\nComm\\Tcpip\\Parms: EnablePMTUDiscovery=dword 0\n"
              "Comm\\Tcpip\\Parms: SackOpts=dword 0\nComm\\Tcpip\\Parms: TCP1323Opts=dword 0\n"
              "Comm\\eth0\\Parms\\TcpIp: TcpWindowSize=dword 8760\n" },
    // An adapter's window is stored where it differs from this record's
    // stack-wide window, not from 17520.
    SaveCase{ "AdapterWindows", [](CTcpParams &p) {
        p.m_dwTcpWindowSize = 32768;
        p.m_pAdapters[0].m_dwTcpWindowSize = 17520;
        p.m_pAdapters[1].m_dwTcpWindowSize = 32768; },
              "Comm\\Tcpip\\Parms: DefaultTTL=dword 64\nComm\\Tcpip\\Parms: TcpWindowSize=dword 32768\n"
              "Comm\\eth0\\Parms\\TcpIp: TcpWindowSize=dword 17520\n" } };
    for (const SaveCase &test : cases)
    {
        Clear();
        SetDword(Reg(), PARMS, TEXT("DefaultTTL"), 64);
        SetDword(Reg(), PARMS, TEXT("TcpWindowSize"), 17520);
        SetDword(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 8760);
        MakeKey(Reg(), TEXT("Comm\\ppp1\\Parms\\TcpIp"));
        CTcpParams params;
        ASSERT_TRUE(params.Load(Reg()));
        test.change(params);
        EXPECT_TRUE(params.Save(Reg())) << test.pszName;
        EXPECT_EQ(test.pszStored, Dump(Reg())) << test.pszName;
    }
}

INSTANTIATE_ON_ALL_REGISTRIES(Store);

// OK compares the sheet's record with the registry's: each field that the
// stack reads counts, names and the stack-wide window do not.
TEST(Record, ComparesEachFieldTheStackReads)
{
    auto make = [] {
        auto pParams = std::make_unique<CTcpParams>();
        pParams->m_nAdapters = 2;
        pParams->m_pAdapters.reset(new CAdapterParams[2]);
        pParams->m_pAdapters[0].m_strKeyName = TEXT("ppp1");
        pParams->m_pAdapters[0].m_dwTcpWindowSize = 17520;
        pParams->m_pAdapters[1].m_dwTcpWindowSize = 32120;
        pParams->m_dwTcpWindowSize = pParams->m_dwDefaultTTL = 64;
        pParams->m_bSack = pParams->m_bTimestamps = pParams->m_bWindowScaling = pParams->m_bPmtuDiscovery = 1;
        return pParams;
    };
    const struct
    {
        const char *pszField;
        std::function<void(CTcpParams &)> change;
        bool bDiffers;
    } cases[] = {
        { "first window", [](CTcpParams &p) { p.m_pAdapters[0].m_dwTcpWindowSize++; }, true },
        { "second window", [](CTcpParams &p) { p.m_pAdapters[1].m_dwTcpWindowSize++; }, true },
        { "adapter count", [](CTcpParams &p) { p.m_nAdapters = 1; }, true },
        { "TTL", [](CTcpParams &p) { p.m_dwDefaultTTL++; }, true },
        { "SACK", [](CTcpParams &p) { p.m_bSack = 0; }, true },
        { "SACK 2, another number for on", [](CTcpParams &p) { p.m_bSack = 2; }, true },
        { "time stamps", [](CTcpParams &p) { p.m_bTimestamps = 0; }, true },
        { "window scaling", [](CTcpParams &p) { p.m_bWindowScaling = 0; }, true },
        { "PMTU discovery", [](CTcpParams &p) { p.m_bPmtuDiscovery = 0; }, true },
        { "key name", [](CTcpParams &p) { p.m_pAdapters[0].m_strKeyName = TEXT("x"); }, false },
        { "display name", [](CTcpParams &p) { p.m_pAdapters[0].m_strDisplayName = TEXT("x"); }, false },
        { "stack-wide window", [](CTcpParams &p) { p.m_dwTcpWindowSize++; }, false },
    };
    for (const auto &test : cases)
    {
        auto record = make(), changed = make();
        test.change(*changed);
        EXPECT_EQ(test.bDiffers, *record != *changed) << test.pszField;
        EXPECT_EQ(test.bDiffers, *changed != *record) << test.pszField << ", the other way round";
    }
}

} // namespace
