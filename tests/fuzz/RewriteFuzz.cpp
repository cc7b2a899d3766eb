// Rewrites Marlin's values in any file the reader accepts, under build
// variables the input chooses, and traps unless the result reads as the file
// did with those values, every other line is kept, and no branch not taken
// loses a value it decides. The input's first 8 bytes choose the values and
// the variables; the rest is the file.
#include "RewriteChecks.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const WCHAR *const NAMES[] = { TEXT("TcpWindowSize"), TEXT("DefaultTTL"), TEXT("EnablePMTUDiscovery"),
                                          TEXT("SackOpts"), TEXT("TCP1323Opts"), TEXT("TcpWindowSize") };
    CRegFile probe, file, written;
    if (size < 8)
        return 0;
    const std::vector<BYTE> before(data + 8, data + size);
    if (!probe.Parse(before))
        return 0;
    // Each variable the IF lines test set or not, by a bit of byte 7.
    ImageBuild::Variables chosen;
    int nBit = 0;
    for (const auto &tested : probe.TestedVariables())   // a name tested twice, set once
        if (data[7] >> (nBit++ % 8) & 1 && std::none_of(chosen.begin(), chosen.end(), [&](const auto &c) {
                return ImageBuild::Lower(c.first) == ImageBuild::Lower(ImageBuild::Text(tested.first.begin(), tested.first.end()));
            }))
            chosen.emplace_back(ImageBuild::Text(tested.first.begin(), tested.first.end()),
                                tested.second.empty() ? u"1" : ImageBuild::Text(tested.second.begin(), tested.second.end()));
    // Files of more combinations than the check below takes are left out.
    std::vector<ImageBuild::Variables> combinations;
    const CVariableTable variables = RewriteChecks::VariableTable(chosen);
    if (!file.Parse(before, variables) || !ImageBuild::Combinations(before, {}, 64, &combinations))
        return 0;
    std::vector<RegSetting> settings(6);
    CRegTree expected;
    file.ApplyTo(expected);
    for (int i = 0; i < 6; i++)
    {
        // Mostly small numbers, which a file often holds already.
        DWORD dw = data[0] & 0x40 ? data[1 + i] * 0x01010101u : data[1 + i];
        RegSetting &setting = settings[i];
        setting = { i < 5 ? TEXT("Comm\\Tcpip\\Parms") : TEXT("Comm\\ppp1\\Parms\\TcpIp"), NAMES[i], bool(data[0] >> i & 1), DwordValue(dw) };
        if (setting.bPresent)
            expected.Create(setting.strPath)->SetValue(setting.strName, setting.value);
        else if (CRegTree::Key *pKey = expected.Find(setting.strPath))
            pKey->DeleteValue(setting.strName);
    }
    // An image's file may hold a value nowhere without changing other
    // builds; regedit's always can.
    std::vector<BYTE> bytes;
    if (!file.Rewrite(settings, &bytes))
    {
        if (file.GetDialect() == DIALECT_REGEDIT)
            __builtin_trap();
        return 0;
    }
    if (!written.Parse(bytes, variables) || !(written.Tree() == expected) || !RewriteChecks::KeepsOtherLines(before, bytes, settings, chosen) ||
        !RewriteChecks::BrokenBranch(before, bytes, chosen, 64).empty())
        __builtin_trap();
    return 0;
}
