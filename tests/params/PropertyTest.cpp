// Random registries: Load never faults (the native build runs under the
// sanitizers), saving a freshly loaded record keeps what every value means,
// and loading again gives the same record.
#include "MemoryRegistry.h"
#include "RegistryHelpers.h"
#include "TcpParams.h"

#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

namespace
{

typedef std::basic_string<WCHAR> Text;

// What the stack makes of a registry, worked out from the raw values.
struct Meaning
{
    DWORD dwWindow, dwTtl, dwOpts;
    bool bPmtu, bSack;
    std::vector<std::pair<Text, DWORD>> adapters; // key name, window

    bool operator==(const Meaning &o) const
    {
        return dwWindow == o.dwWindow && dwTtl == o.dwTtl && dwOpts == o.dwOpts && bPmtu == o.bPmtu
            && bSack == o.bSack && adapters == o.adapters;
    }
};

DWORD Number(IRegistry &registry, const Text &path, const WCHAR *pszName, DWORD dwDefault)
{
    DWORD dwType;
    std::vector<BYTE> data;
    if (!GetRaw(registry, path.c_str(), pszName, &dwType, &data) || data.size() > 4)
        return dwDefault;
    DWORD dwValue = 0;
    for (size_t i = 0; i < data.size(); i++)
        dwValue |= DWORD(data[i]) << (8 * i);
    return dwValue;
}

Meaning MeaningOf(IRegistry &registry)
{
    const Text stack = TEXT("Comm\\Tcpip\\Parms");
    Meaning meaning;
    meaning.dwWindow = Number(registry, stack, TEXT("TcpWindowSize"), 17520);
    meaning.dwTtl = Number(registry, stack, TEXT("DefaultTTL"), 128);
    meaning.bPmtu = Number(registry, stack, TEXT("EnablePMTUDiscovery"), 1) != 0;
    meaning.bSack = Number(registry, stack, TEXT("SackOpts"), 1) != 0;
    meaning.dwOpts = std::min<DWORD>(Number(registry, stack, TEXT("TCP1323Opts"), 3), 3);
    HKEY hComm;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, TEXT("Comm"), &hComm) != 0)
        return meaning;
    WCHAR szName[256];
    DWORD cchName = 256;
    for (DWORD i = 0; registry.EnumKey(hComm, i, szName, &cchName) == 0; i++, cchName = 256)
    {
        Text parms = Text(TEXT("Comm\\")) + szName + TEXT("\\Parms\\TcpIp");
        if (KeyExists(registry, parms.c_str()))
            meaning.adapters.push_back({szName, Number(registry, parms, TEXT("TcpWindowSize"), meaning.dwWindow)});
    }
    registry.CloseKey(hComm);
    return meaning;
}

class RandomRegistry
{
public:
    explicit RandomRegistry(unsigned nSeed) : m_random(nSeed) {}

    void Fill(IRegistry &registry)
    {
        if (Chance(10))
            return; // no Comm at all
        MakeKey(registry, TEXT("Comm"));
        if (!Chance(15))
            FillValues(registry, TEXT("Comm\\Tcpip\\Parms"),
                {TEXT("TcpWindowSize"), TEXT("DefaultTTL"), TEXT("EnablePMTUDiscovery"), TEXT("SackOpts"), TEXT("TCP1323Opts")});
        int nKeys = Pick(9);
        for (int i = 0; i < nKeys; i++)
        {
            Text key = Text(TEXT("Comm\\")) + KeyName();
            MakeKey(registry, key.c_str());
            if (Chance(50))
                FillDisplayName(registry, key);
            if (Chance(15))
                MakeKey(registry, (key + TEXT("\\Parms")).c_str());
            else if (!Chance(25))
            {
                MakeKey(registry, (key + TEXT("\\Parms\\TcpIp")).c_str());
                FillValues(registry, key + TEXT("\\Parms\\TcpIp"), {TEXT("TcpWindowSize")});
            }
        }
    }

private:
    bool Chance(int nPercent) { return Pick(100) < nPercent; }
    int Pick(int nBelow) { return std::uniform_int_distribution<int>(0, nBelow - 1)(m_random); }

    // Names with the letter case mixed, so that matching by case is tested too.
    Text MixCase(const WCHAR *pszName)
    {
        Text name(pszName);
        if (!Chance(20))
            return name;
        for (WCHAR &ch : name)
        {
            if (ch >= 'a' && ch <= 'z' && Chance(50))
                ch = static_cast<WCHAR>(ch - 'a' + 'A');
        }
        return name;
    }

    Text KeyName()
    {
        static const WCHAR *const known[] = {TEXT("ppp1"), TEXT("PPP1"), TEXT("eth0"), TEXT("NE20001"),
            TEXT("Tcpip"), TEXT("IrDA"), TEXT("AsyncMac1"), TEXT("\u00c9ther"), TEXT("_x")};
        if (Chance(60))
            return MixCase(known[Pick(sizeof(known) / sizeof(known[0]))]);
        Text name;
        for (int n = 1 + Pick(20); n > 0; n--)
            name += static_cast<WCHAR>(Chance(90) ? 'a' + Pick(26) : 0x100 + Pick(0x3000));
        return name;
    }

    DWORD Interesting()
    {
        static const DWORD values[] = {0, 1, 2, 3, 4, 32, 64, 128, 255, 256, 17520, 32768, 65535, 65536,
            0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        return Chance(70) ? values[Pick(sizeof(values) / sizeof(values[0]))] : DWORD(m_random());
    }

    void FillValues(IRegistry &registry, const Text &key, std::vector<const WCHAR *> names)
    {
        MakeKey(registry, key.c_str());
        for (const WCHAR *pszName : names)
        {
            if (Chance(35))
                continue;
            DWORD dwValue = Interesting();
            std::vector<BYTE> data = {BYTE(dwValue), BYTE(dwValue >> 8), BYTE(dwValue >> 16), BYTE(dwValue >> 24)};
            DWORD dwType = REG_DWORD;
            if (Chance(20))
            {
                static const DWORD types[] = {REG_NONE, REG_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD};
                dwType = types[Pick(6)];
                data.resize(Pick(10), BYTE(m_random()));
            }
            SetRaw(registry, key.c_str(), MixCase(pszName).c_str(), dwType, data);
        }
    }

    void FillDisplayName(IRegistry &registry, const Text &key)
    {
        static const int lengths[] = {0, 1, 8, 254, 255, 256, 257, 300};
        int nLength = Chance(70) ? lengths[Pick(8)] : Pick(400);
        std::vector<BYTE> data;
        for (int i = 0; i < nLength; i++)
        {
            WCHAR ch = static_cast<WCHAR>(Chance(95) ? 'A' + Pick(26) : Pick(0x10000));
            data.push_back(BYTE(ch));
            data.push_back(BYTE(ch >> 8));
        }
        if (Chance(70))
            data.insert(data.end(), {0, 0});
        if (Chance(10))
            data.push_back(0x41); // an odd number of bytes
        SetRaw(registry, key.c_str(), MixCase(TEXT("DisplayName")).c_str(), Chance(90) ? REG_SZ : REG_BINARY, data);
    }

    std::mt19937 m_random;
};

int EnvOr(const char *pszName, int nDefault)
{
    const char *pszValue = std::getenv(pszName);
    return pszValue ? std::atoi(pszValue) : nDefault;
}

void ExpectSameRecord(const CTcpParams &loaded, const CTcpParams &reloaded, const std::string &context)
{
    ASSERT_EQ(loaded.m_nAdapters, reloaded.m_nAdapters) << context;
    for (int i = 0; i < loaded.m_nAdapters; i++)
    {
        EXPECT_EQ(loaded.m_pAdapters[i].m_strKeyName, reloaded.m_pAdapters[i].m_strKeyName) << context;
        EXPECT_EQ(loaded.m_pAdapters[i].m_strDisplayName, reloaded.m_pAdapters[i].m_strDisplayName) << context;
    }
    EXPECT_EQ(loaded.m_dwTcpWindowSize, reloaded.m_dwTcpWindowSize) << context;
    // Switches stored as numbers other than 0 and 1 come back as 1.
    bool bPlainSwitches = loaded.m_bSack <= 1 && loaded.m_bPmtuDiscovery <= 1;
    if (bPlainSwitches)
    {
        EXPECT_TRUE(loaded == reloaded) << context;
    }
    EXPECT_EQ(loaded.m_bSack != 0, reloaded.m_bSack != 0) << context;
    EXPECT_EQ(loaded.m_bPmtuDiscovery != 0, reloaded.m_bPmtuDiscovery != 0) << context;
}

TEST(Property, LoadSaveLoadOnRandomRegistries)
{
    const int nCases = EnvOr("MARLIN_PROPERTY_CASES", 3000);
    const unsigned nSeed = static_cast<unsigned>(EnvOr("MARLIN_PROPERTY_SEED", 20261207));
    int nRan = 0, nWithAdapters = 0;
    for (int nCase = 0; nCase < nCases && !HasFailure(); nCase++, nRan++)
    {
        std::string context = "seed " + std::to_string(nSeed) + ", case " + std::to_string(nCase);
        CMemoryRegistry registry;
        RandomRegistry(nSeed + nCase).Fill(registry);
        bool bHasComm = KeyExists(registry, TEXT("Comm"));
        Meaning before = MeaningOf(registry);

        CTcpParams loaded;
        ASSERT_EQ(bHasComm, loaded.Load(registry)) << context;
        ASSERT_EQ(before.adapters.size(), size_t(loaded.m_nAdapters)) << context;
        for (int i = 0; i < loaded.m_nAdapters; i++)
            EXPECT_EQ(before.adapters[i].second, loaded.m_pAdapters[i].m_dwTcpWindowSize) << context;
        EXPECT_EQ(before.dwTtl, loaded.m_dwDefaultTTL) << context;
        nWithAdapters += loaded.m_nAdapters > 0;

        loaded.Save(registry);
        EXPECT_TRUE(before == MeaningOf(registry)) << context;

        CTcpParams reloaded;
        reloaded.Load(registry);
        ExpectSameRecord(loaded, reloaded, context);
        EXPECT_EQ(0, registry.OpenHandles()) << context;
    }
    std::cout << "property cases run: " << nRan << " (" << nWithAdapters << " with adapters), seed " << nSeed << "\n";
    RecordProperty("cases", nRan);
}

} // namespace
