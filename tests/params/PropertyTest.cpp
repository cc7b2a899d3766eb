// Random registries: Load never faults (the native build runs under the
// sanitizers), a record loaded, saved and loaded again means the same, and
// saving it once more changes nothing.
#include "MemoryRegistry.h"
#include "RegistryHelpers.h"
#include "TcpParams.h"

#include <cstdlib>
#include <iostream>
#include <random>

namespace
{

typedef std::basic_string<WCHAR> Text;

class RandomRegistry
{
public:
    explicit RandomRegistry(unsigned nSeed) : m_random(nSeed) {}

    void Fill(IRegistry &registry)
    {
        if (Chance(10))
            return;   // no Comm at all
        MakeKey(registry, TEXT("Comm"));
        FillValues(registry, TEXT("Comm\\Tcpip\\Parms"),
                   { TEXT("TcpWindowSize"), TEXT("DefaultTTL"), TEXT("EnablePMTUDiscovery"), TEXT("SackOpts"),
                     TEXT("TCP1323Opts") });
        for (int nKeys = Pick(9); nKeys > 0; nKeys--)
        {
            Text key = Text(TEXT("Comm\\")) + KeyName();
            MakeKey(registry, key.c_str());
            if (Chance(50))
                FillDisplayName(registry, key);
            if (!Chance(25))
                FillValues(registry, key + TEXT("\\Parms\\TcpIp"), { TEXT("TcpWindowSize") });
        }
    }

private:
    bool Chance(int nPercent) { return Pick(100) < nPercent; }
    int Pick(int nBelow) { return std::uniform_int_distribution<int>(0, nBelow - 1)(m_random); }

    Text KeyName()
    {
        static const WCHAR *const known[] = { TEXT("ppp1"), TEXT("PPP1"), TEXT("eth0"), TEXT("Tcpip"), TEXT("IrDA"),
                                              TEXT("\u00c9ther") };
        if (Chance(60))
            return known[Pick(6)];
        Text name;
        for (int n = 1 + Pick(20); n > 0; n--)
            name += static_cast<WCHAR>(Chance(90) ? 'a' + Pick(26) : 0x100 + Pick(0x3000));
        return name;
    }

    // Numbers the rules treat alike or apart, any type, any length.
    void FillValues(IRegistry &registry, const Text &key, std::vector<const WCHAR *> names)
    {
        static const DWORD interesting[] = { 0, 1, 2, 3, 4, 64, 128, 255, 256, 17520, 65535, 65536, 0x80000000, 0xFFFFFFFF };
        MakeKey(registry, key.c_str());
        for (const WCHAR *pszName : names)
        {
            if (Chance(35))
                continue;
            DWORD dwValue = Chance(70) ? interesting[Pick(14)] : DWORD(m_random());
            std::vector<BYTE> data = { BYTE(dwValue), BYTE(dwValue >> 8), BYTE(dwValue >> 16), BYTE(dwValue >> 24) };
            if (Chance(20))
                data.resize(Pick(10), BYTE(m_random()));
            SetRaw(registry, key.c_str(), pszName, Chance(80) ? REG_DWORD : REG_BINARY, data);
        }
    }

    // Around the 255 characters that fit, terminated or not.
    void FillDisplayName(IRegistry &registry, const Text &key)
    {
        static const int lengths[] = { 0, 1, 254, 255, 256, 300 };
        std::vector<BYTE> data;
        for (int n = Chance(70) ? lengths[Pick(6)] : Pick(400); n > 0; n--)
            data.insert(data.end(), { BYTE('A' + Pick(26)), 0 });
        if (Chance(70))
            data.insert(data.end(), { 0, 0 });
        SetRaw(registry, key.c_str(), TEXT("DisplayName"), REG_SZ, data);
    }

    std::mt19937 m_random;
};

int EnvOr(const char *pszName, int nDefault)
{
    const char *pszValue = std::getenv(pszName);
    return pszValue ? std::atoi(pszValue) : nDefault;
}

TEST(Property, LoadSaveLoadOnRandomRegistries)
{
    const int nCases = EnvOr("MARLIN_PROPERTY_CASES", 3000);
    const unsigned nSeed = static_cast<unsigned>(EnvOr("MARLIN_PROPERTY_SEED", 20261207));
    for (int nCase = 0; nCase < nCases && !HasFailure(); nCase++)
    {
        SCOPED_TRACE("seed " + std::to_string(nSeed) + ", case " + std::to_string(nCase));
        CMemoryRegistry registry;
        RandomRegistry(nSeed + nCase).Fill(registry);
        CTcpParams loaded, reloaded;
        loaded.Load(registry);
        loaded.Save(registry);
        reloaded.Load(registry);
        std::string strSaved = Dump(registry);
        reloaded.Save(registry);
        EXPECT_EQ(strSaved, Dump(registry)) << "a second save changed the registry";
        EXPECT_EQ(0, registry.OpenHandles());
        // The same meaning: switches stored as 2 come back as 1.
        EXPECT_EQ(loaded.m_nAdapters, reloaded.m_nAdapters);
        EXPECT_EQ(loaded.m_bSack != 0, reloaded.m_bSack != 0);
        EXPECT_EQ(loaded.m_bPmtuDiscovery != 0, reloaded.m_bPmtuDiscovery != 0);
        reloaded.m_bSack = loaded.m_bSack;
        reloaded.m_bPmtuDiscovery = loaded.m_bPmtuDiscovery;
        EXPECT_TRUE(loaded == reloaded);
        EXPECT_EQ(loaded.m_dwTcpWindowSize, reloaded.m_dwTcpWindowSize);
    }
    std::cout << "property cases run: " << nCases << ", seed " << nSeed << "\n";
}

} // namespace
