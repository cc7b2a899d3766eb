// Times Load and Save for registries holding N adapters, and prints the
// figures with the time per adapter, so that growth beyond linear shows.
// Runs on the in-memory registry, and on the system registry in the Windows
// build (under Wine: the prefix's registry, whose Comm tree it replaces and
// removes again). Then Load against a bare walk that reads the same values
// in the fewest registry calls: what Load costs above the registry's own.
#include "InstrumentedRegistry.h"
#include "MemoryRegistry.h"
#include "TcpParams.h"
#include "TcpipKeys.h"
#ifdef _WIN32
#include "Win32Registry.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace
{

typedef std::basic_string<WCHAR> Text;

Text Number(int n)
{
    Text text;
    do
    {
        text.insert(text.begin(), static_cast<WCHAR>('0' + n % 10));
        n /= 10;
    } while (n);
    return text;
}

void SetValue(IRegistry &registry, const Text &path, const WCHAR *pszName, DWORD dwType, const void *pData, size_t cbData)
{
    HKEY hKey;
    if (registry.CreateKey(HKEY_LOCAL_MACHINE, path.c_str(), &hKey) != 0)
        return;
    registry.SetValue(hKey, pszName, dwType, static_cast<const BYTE *>(pData), static_cast<DWORD>(cbData));
    registry.CloseKey(hKey);
}

void DeleteTree(IRegistry &registry, const Text &path)
{
    HKEY hKey;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, path.c_str(), &hKey) != 0)
        return;
    std::vector<Text> children;
    WCHAR szName[256];
    DWORD cchName = 256;
    for (DWORD i = 0; registry.EnumKey(hKey, i, szName, &cchName) == 0; i++, cchName = 256)
        children.push_back(szName);
    registry.CloseKey(hKey);
    for (const Text &child : children)
        DeleteTree(registry, path + TEXT("\\") + child);
    registry.DeleteKey(HKEY_LOCAL_MACHINE, path.c_str());
}

// N adapters, every other one with a window of its own and a display name,
// beside a Comm key that is not an adapter.
void Fill(IRegistry &registry, int nAdapters)
{
    DWORD dwTtl = 64;
    SetValue(registry, TEXT("Comm\\Tcpip\\Parms"), TEXT("DefaultTTL"), REG_DWORD, &dwTtl, 4);
    SetValue(registry, TEXT("Comm\\IrDA"), TEXT("Flags"), REG_DWORD, &dwTtl, 4);
    for (int i = 0; i < nAdapters; i++)
    {
        Text key = Text(TEXT("Comm\\Adapter")) + Number(i);
        if (i % 2 == 0)
        {
            HKEY hKey;
            if (registry.CreateKey(HKEY_LOCAL_MACHINE, (key + TEXT("\\Parms\\TcpIp")).c_str(), &hKey) == 0)
                registry.CloseKey(hKey);
            continue;
        }
        DWORD dwWindow = 8760 + i;
        SetValue(registry, key + TEXT("\\Parms\\TcpIp"), TEXT("TcpWindowSize"), REG_DWORD, &dwWindow, 4);
        Text name = Text(TEXT("Network adapter ")) + Number(i);
        SetValue(registry, key, TEXT("DisplayName"), REG_SZ, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
    }
}

// Best of a few runs, in seconds.
double Time(int nRuns, const std::function<void()> &run)
{
    double best = 1e30;
    for (int i = 0; i < nRuns; i++)
    {
        auto start = std::chrono::steady_clock::now();
        run();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

void Bench(const char *pszName, const std::function<std::unique_ptr<IRegistry>()> &make)
{
    std::printf("%-8s %7s %12s %14s %12s %14s %16s\n", pszName, "N", "Load ms", "Load us/adpt", "Save ms",
        "Save us/adpt", "calls/adpt L+S");
    for (int nAdapters : {10, 100, 1000, 10000})
    {
        std::unique_ptr<IRegistry> registry = make();
        DeleteTree(*registry, TEXT("Comm"));
        Fill(*registry, nAdapters);
        int nRuns = nAdapters >= 10000 ? 3 : 10;
        CTcpParams params;
        double load = Time(nRuns, [&] { params.Load(*registry); });
        if (params.m_nAdapters != nAdapters)
            std::printf("  loaded %d adapters instead of %d\n", params.m_nAdapters, nAdapters);
        double save = Time(nRuns, [&] { params.Save(*registry); });
        // The registry's own cost per call may grow with its size; the number
        // of calls per adapter must not.
        CInstrumentedRegistry counter(*registry);
        params.Load(counter);
        int nLoadCalls = counter.Calls();
        params.Save(counter);
        std::printf("%-8s %7d %12.3f %14.3f %12.3f %14.3f %8.2f+%.2f\n", "", nAdapters, load * 1e3,
            load * 1e6 / nAdapters, save * 1e3, save * 1e6 / nAdapters, double(nLoadCalls) / nAdapters,
            double(counter.Calls() - nLoadCalls) / nAdapters);
        std::fflush(stdout);
        DeleteTree(*registry, TEXT("Comm"));
    }
}

// The platform's registry calls with nothing in between; natively, where
// there is none, IRegistry on the memory registry.
#ifdef _WIN32
struct CBare
{
    LONG OpenKey(HKEY h, const WCHAR *psz, HKEY *ph) { return RegOpenKeyExW(h, psz, 0, KEY_READ, ph); }
    LONG EnumKey(HKEY h, DWORD i, WCHAR *psz, DWORD *pcch) { return RegEnumKeyExW(h, i, psz, pcch, 0, 0, 0, 0); }
    LONG QueryValue(HKEY h, const WCHAR *psz, DWORD *, BYTE *p, DWORD *pcb) { return RegQueryValueExW(h, psz, 0, 0, p, pcb); }
    LONG CloseKey(HKEY h) { return RegCloseKey(h); }
};
#else
typedef IRegistry CBare;
#endif

// Into a zeroed word, as Load reads a value shorter than 4 bytes.
void QueryDWord(CBare &bare, HKEY hKey, const WCHAR *pszName, DWORD *pdwValue)
{
    DWORD dwValue = 0, cbValue = sizeof(dwValue);
    if (bare.QueryValue(hKey, pszName, nullptr, reinterpret_cast<BYTE *>(&dwValue), &cbValue) == ERROR_SUCCESS)
        *pdwValue = dwValue;
}

// Load's values in one pass, keys opened relative to Comm, names in fixed
// buffers. Returns the adapters found and adds their windows to *pulWindows.
int BareWalk(CBare &bare, unsigned long *pulWindows)
{
    using namespace TcpipKeys;
    HKEY hComm, hKey;
    if (bare.OpenKey(HKEY_LOCAL_MACHINE, COMM, &hComm) != ERROR_SUCCESS)
        return 0;
    DWORD dwStackWindow = DEFAULT_WINDOW_SIZE, dwValue;
    if (bare.OpenKey(hComm, STACK_PARMS + 1, &hKey) == ERROR_SUCCESS)
    {
        QueryDWord(bare, hKey, TCP_WINDOW_SIZE, &dwStackWindow);
        for (const WCHAR *pszName : {DEFAULT_TTL, ENABLE_PMTU_DISCOVERY, SACK_OPTS, TCP1323_OPTS})
            QueryDWord(bare, hKey, pszName, &dwValue);
        bare.CloseKey(hKey);
    }
    WCHAR szPath[256 + std::size(ADAPTER_PARMS)], szDisplayName[256]; // a subkey, then \Parms\TcpIp
    int nAdapters = 0;
    DWORD cch = 256;
    for (DWORD i = 0; bare.EnumKey(hComm, i, szPath, &cch) == ERROR_SUCCESS; i++, cch = 256)
    {
        std::copy(std::begin(ADAPTER_PARMS), std::end(ADAPTER_PARMS), szPath + cch);
        if (bare.OpenKey(hComm, szPath, &hKey) != ERROR_SUCCESS)
            continue;
        DWORD dwWindow = dwStackWindow, cb = sizeof(szDisplayName);
        QueryDWord(bare, hKey, TCP_WINDOW_SIZE, &dwWindow);
        bare.CloseKey(hKey);
        szPath[cch] = 0;
        // Load gives the PPP adapter a name of its own and reads none.
        if (!std::equal(szPath, szPath + cch + 1, PPP_ADAPTER, std::end(PPP_ADAPTER)) &&
            bare.OpenKey(hComm, szPath, &hKey) == ERROR_SUCCESS)
        {
            bare.QueryValue(hKey, DISPLAY_NAME, nullptr, reinterpret_cast<BYTE *>(szDisplayName), &cb);
            bare.CloseKey(hKey);
        }
        nAdapters++;
        *pulWindows += dwWindow;
    }
    bare.CloseKey(hComm);
    return nAdapters;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void CompareWithBareWalk(IRegistry &registry, CBare &bare)
{
    std::printf("%8s %10s %14s %8s\n", "adapters", "Load ms", "bare walk ms", "ratio");
    for (int nAdapters : {100, 1000, 10000})
    {
        DeleteTree(registry, TEXT("Comm"));
        Fill(registry, nAdapters);
        CTcpParams params;
        int nWalked = 0;
        unsigned long ulWalked = 0, ulLoaded = 0;
        std::vector<double> load, walk;
        // Alternated, so that a change in the machine's speed falls on both.
        for (int i = 0; i < (nAdapters >= 10000 ? 3 : 5); i++)
        {
            load.push_back(Time(1, [&] { params.Load(registry); }));
            walk.push_back(Time(1, [&] { ulWalked = 0, nWalked = BareWalk(bare, &ulWalked); }));
        }
        for (int i = 0; i < params.m_nAdapters; i++)
            ulLoaded += params.m_pAdapters[i].m_dwTcpWindowSize;
        if (nWalked != params.m_nAdapters || ulWalked != ulLoaded)
            std::printf("  the walk found %d adapters with windows summing to %lu, Load %d and %lu\n", nWalked,
                ulWalked, params.m_nAdapters, ulLoaded);
        std::printf("%8d %10.3f %14.3f %8.2f\n", nAdapters, Median(load) * 1e3, Median(walk) * 1e3,
            Median(load) / Median(walk));
        std::fflush(stdout);
        DeleteTree(registry, TEXT("Comm"));
    }
}

} // namespace

int main()
{
    Bench("memory", [] { return std::unique_ptr<IRegistry>(new CMemoryRegistry); });
#ifdef _WIN32
    Bench("system", [] { return std::unique_ptr<IRegistry>(new CWin32Registry); });
    std::printf("\nsystem registry: Load against a bare walk on RegEnumKeyExW, RegOpenKeyExW, RegQueryValueExW\n");
    CWin32Registry registry;
    CBare bare;
    CompareWithBareWalk(registry, bare);
#else
    std::printf("\nmemory registry (no system registry natively): Load against a bare walk through IRegistry\n");
    CMemoryRegistry registry;
    CompareWithBareWalk(registry, registry);
#endif
    return 0;
}
