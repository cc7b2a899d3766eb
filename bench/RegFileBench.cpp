// Times reading a handheld's registry image from disk, alone and together
// with parsing it and rewriting Marlin's values, for images of 2.5, 5 and
// 10 MB: the reader should cost a steady amount per byte.
#include "RegFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

const int ROUNDS = 5;

std::string Hex(unsigned n, int nDigits)
{
    char sz[16];
    snprintf(sz, sizeof sz, "%0*x", nDigits, n);
    return sz;
}

// Regedit's export of a device: UTF-16 with a byte order mark, adapters
// under Comm, and drivers and programs with binary values over many lines.
std::vector<BYTE> Image(size_t cbTarget)
{
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n"
                       "\"TcpWindowSize\"=dword:00004470\r\n\"DefaultTTL\"=dword:00000040\r\n\"SackOpts\"=dword:00000000\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Comm\\ppp1\\Parms\\TcpIp]\r\n\"TcpWindowSize\"=dword:00002238\r\n";
    for (unsigned i = 0; text.size() * 2 < cbTarget; i++)
    {
        std::string adapter = "[HKEY_LOCAL_MACHINE\\Comm\\NE2000_" + std::to_string(i);
        text += "\r\n; Network card " + std::to_string(i) + ", as its driver installed it\r\n" + adapter +
                "]\r\n\"DisplayName\"=\"NE2000 Compatible Ethernet Driver\"\r\n\"Group\"=\"NDIS\"\r\n\r\n" + adapter +
                "\\Parms]\r\n\"InterruptNumber\"=dword:" + Hex(i % 16, 8) + "\r\n\"IoBaseAddress\"=dword:" +
                Hex(0x300 + i, 8) + "\r\n\r\n" + adapter + "\\Parms\\TcpIp]\r\n\"EnableDHCP\"=dword:00000001\r\n" +
                "\"TcpWindowSize\"=dword:" + Hex(8760 + i, 8) + "\r\n\"DefaultGateway\"=hex(7):31,00,30,00,2e,00,30,00,\\\r\n"
                "  2e,00,30,00,2e,00,31,00,00,00,00,00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Apps\\App " +
                std::to_string(i) + "]\r\n\"Instl\"=dword:00000001\r\n\"Settings\"=hex:";
        for (int k = 0; k < 96; k++)
            text += Hex((i * 31 + k * 7) & 0xFF, 2) + (k == 95 ? "\r\n" : k % 24 == 23 ? ",\\\r\n  " : ",");
    }
    std::vector<BYTE> bytes = { 0xFF, 0xFE };
    for (char ch : text)
        bytes.insert(bytes.end(), { BYTE(ch), 0 });
    return bytes;
}

std::vector<BYTE> Read(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> bytes(std::filesystem::file_size(path));
    in.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

RegSetting Setting(const WCHAR *pszPath, const WCHAR *pszName, bool bPresent, DWORD dw)
{
    return { pszPath, pszName, bPresent, DwordValue(dw) };
}

// The median time in seconds over the rounds.
template <class F> double Median(F f)
{
    std::vector<double> times;
    for (int i = 0; i < ROUNDS; i++)
    {
        auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[ROUNDS / 2];
}

} // namespace

int main()
{
    const WCHAR *const STACK = TEXT("Comm\\Tcpip\\Parms");
    // Two of Marlin's values change; the others stay as the image has them.
    const std::vector<RegSetting> settings = {
        Setting(STACK, TEXT("TcpWindowSize"), true, 0xFFFF), Setting(STACK, TEXT("DefaultTTL"), true, 128),
        Setting(STACK, TEXT("EnablePMTUDiscovery"), false, 0), Setting(STACK, TEXT("SackOpts"), true, 0),
        Setting(STACK, TEXT("TCP1323Opts"), false, 0), Setting(TEXT("Comm\\ppp1\\Parms\\TcpIp"), TEXT("TcpWindowSize"), true, 8760),
    };
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "marlin-regfile-bench.reg";
    printf("%-8s %12s %28s %8s\n", "image", "read MB/s", "read+parse+rewrite MB/s", "ratio");
    for (size_t cbTarget : { 2500000, 5000000, 10000000 })
    {
        const std::vector<BYTE> image = Image(cbTarget);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(image.data()), image.size());
        std::vector<BYTE> rewritten;
        double read = Median([&] { rewritten = Read(path); });
        if (rewritten != image)
            return fprintf(stderr, "the image did not read back\n"), 1;
        double all = Median([&] {
            CRegFile file;
            if (!file.Parse(Read(path)) || !file.Rewrite(settings, &rewritten))
                rewritten.clear();
        });
        CRegFile check;
        RegValue value;
        if (!check.Parse(rewritten) || !check.Tree().Get(STACK, TEXT("DefaultTTL"), &value) || !(value == settings[1].value))
            return fprintf(stderr, "the rewrite did not take\n"), 1;
        double mb = image.size() / 1e6;
        printf("%5.1f MB %12.0f %28.1f %8.1f\n", mb, mb / read, mb / all, all / read);
    }
    std::filesystem::remove(path);
    return 0;
}
