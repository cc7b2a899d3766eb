// Times Load and Save for registries holding N adapters, and prints the
// figures with the time per adapter, so that growth beyond linear shows.
// Runs on the in-memory registry, and on the system registry in the Windows
// build (under Wine: the prefix's registry, whose Comm tree it replaces and
// removes again).
#include "InstrumentedRegistry.h"
#include "MemoryRegistry.h"
#include "TcpParams.h"
#ifdef _WIN32
#include "Win32Registry.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
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

} // namespace

int main()
{
    Bench("memory", [] { return std::unique_ptr<IRegistry>(new CMemoryRegistry); });
#ifdef _WIN32
    Bench("system", [] { return std::unique_ptr<IRegistry>(new CWin32Registry); });
#endif
    return 0;
}
