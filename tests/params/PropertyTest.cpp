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

// A registry of random keys under Comm, and random values of the names the
// store reads: numbers the rules treat alike or apart, of any type and
// length, and display names around the 255 characters that fit.
class RandomRegistry
{
public:
    explicit RandomRegistry(unsigned nSeed) : m_random(nSeed) {}

    void Fill(IRegistry &registry)
    {
        if (Chance(10))
            return;   // no Comm at all
        MakeKey(registry, TEXT("Comm"));
        for (const WCHAR *pszName : { TEXT("TcpWindowSize"), TEXT("DefaultTTL"), TEXT("EnablePMTUDiscovery"),
                                      TEXT("SackOpts"), TEXT("TCP1323Opts") })
            FillValue(registry, TEXT("Comm\\Tcpip\\Parms"), pszName);
        static const WCHAR *const known[] = { TEXT("ppp1"), TEXT("PPP1"), TEXT("eth0"), TEXT("Tcpip"), TEXT("\u00c9ther") };
        for (int nKeys = Pick(9); nKeys > 0; nKeys--)
        {
            CString strKey = CString(TEXT("Comm\\")) + (Chance(60) ? CString(known[Pick(5)]) : Bytes('a', 1 + Pick(20), true));
            MakeKey(registry, strKey);
            if (Chance(50))
            {
                static const int lengths[] = { 0, 1, 254, 255, 256, 300 };
                CString strName = Bytes('A', Chance(70) ? lengths[Pick(6)] : Pick(400), false);
                const BYTE *pName = reinterpret_cast<const BYTE *>(static_cast<const WCHAR *>(strName));
                SetRaw(registry, strKey, TEXT("DisplayName"), REG_SZ,
                       { pName, pName + (strName.GetLength() + Chance(70)) * sizeof(WCHAR) });   // terminated or not
            }
            if (!Chance(25))
                FillValue(registry, strKey + TEXT("\\Parms\\TcpIp"), TEXT("TcpWindowSize"));
        }
    }

private:
    bool Chance(int nPercent) { return Pick(100) < nPercent; }
    int Pick(int nBelow) { return std::uniform_int_distribution<int>(0, nBelow - 1)(m_random); }

    CString Bytes(WCHAR chFirst, int nLength, bool bWide)
    {
        std::basic_string<WCHAR> str;
        while (nLength-- > 0)
            str += static_cast<WCHAR>(bWide && Chance(10) ? 0x100 + Pick(0x3000) : chFirst + Pick(26));
        return str.c_str();
    }

    void FillValue(IRegistry &registry, const WCHAR *pszKey, const WCHAR *pszName)
    {
        static const DWORD interesting[] = { 0, 1, 2, 3, 4, 64, 128, 255, 256, 17520, 65535, 65536, 0x80000000, 0xFFFFFFFF };
        MakeKey(registry, pszKey);
        if (Chance(35))
            return;
        DWORD dwValue = Chance(70) ? interesting[Pick(14)] : DWORD(m_random());
        std::vector<BYTE> data = DwordBytes(dwValue);
        if (Chance(20))
            data.resize(Pick(10), BYTE(m_random()));
        SetRaw(registry, pszKey, pszName, Chance(80) ? REG_DWORD : REG_BINARY, data);
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
        // The same meaning: switches stored as 2 come back as 1, and the
        // stack-wide window, which records do not compare, stays.
        EXPECT_EQ(loaded.m_dwTcpWindowSize, reloaded.m_dwTcpWindowSize);
        for (CTcpParams *pParams : { &loaded, &reloaded })
            pParams->m_bSack = pParams->m_bSack != 0, pParams->m_bPmtuDiscovery = pParams->m_bPmtuDiscovery != 0;
        EXPECT_TRUE(loaded == reloaded);
    }
    std::cout << "property cases run: " << nCases << ", seed " << nSeed << "\n";
}

} // namespace
