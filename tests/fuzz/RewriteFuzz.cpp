// Rewrites Marlin's values in any file the reader accepts, under build
// variables the input chooses, and traps unless the result reads back as
// asked, every other value and line is kept, and no branch not taken loses
// a value it decides. The input's first 8 bytes choose the values and the
// variables; the rest is the file.
#include "RewriteChecks.h"

#include <cstdint>

namespace
{

typedef std::vector<RegSetting> Settings;

// A folded key and value name of Marlin's; with bKey, a key on the way to
// one that is set, which the rewrite may add.
bool Marlin(const Settings &settings, const WString &strKey, const WString &strName, bool bKey = false)
{
    return std::any_of(settings.begin(), settings.end(), [&](const RegSetting &s) {
        return bKey ? s.bPresent && (Folded(s.strPath) + TEXT("\\")).rfind(strKey + TEXT("\\"), 0) == 0
                    : Folded(s.strPath) == strKey && Folded(s.strName) == strName;
    });
}

// The same keys and values, Marlin's apart; pOld null for a key added.
bool Same(const CRegTree::Key *pOld, const CRegTree::Key &key, const WString &strKey, const Settings &settings)
{
    static const CRegTree::Key NONE;
    const CRegTree::Key &old = pOld ? *pOld : NONE;
    if (pOld ? old.name != key.name : !Marlin(settings, strKey, WString(), true))
        return false;
    for (const auto *pValues : { &old.values, &key.values })
        for (const auto &value : *pValues)
        {
            const RegValue *pOldValue = old.Value(value.first), *pNewValue = key.Value(value.first);
            if (!Marlin(settings, strKey, Folded(value.first)) && !(pOldValue && pNewValue && *pOldValue == *pNewValue))
                return false;
        }
    for (const auto &subkey : old.subkeys)
        if (!key.Subkey(subkey->name))
            return false;
    for (const auto &subkey : key.subkeys)
        if (!Same(old.Subkey(subkey->name), *subkey, (strKey.empty() ? strKey : strKey + TEXT("\\")) + Folded(subkey->name),
                  settings))
            return false;
    return true;
}

} // namespace

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
    CVariableTable variables;
    int nBit = 0;
    for (const auto &tested : probe.TestedVariables())
        if (data[7] >> (nBit++ % 8) & 1)
            variables.Set(tested.first, tested.second.empty() ? WString(TEXT("1")) : tested.second);
    if (!file.Parse(before, variables))
        return 0;
    Settings settings(6);
    for (int i = 0; i < 6; i++)
    {
        // Mostly small numbers, which a file often holds already.
        DWORD dw = data[0] & 0x40 ? data[1 + i] * 0x01010101u : data[1 + i];
        settings[i] = { i < 5 ? TEXT("Comm\\Tcpip\\Parms") : TEXT("Comm\\ppp1\\Parms\\TcpIp"), NAMES[i], bool(data[0] >> i & 1),
                        DwordValue(dw) };
    }
    // An image's file may hold a value nowhere without changing other
    // builds; regedit's always can.
    std::vector<BYTE> bytes;
    if (!file.Rewrite(settings, &bytes))
    {
        if (file.GetDialect() == CRegFile::DIALECT_REGEDIT)
            __builtin_trap();
        return 0;
    }
    if (!written.Parse(bytes, variables))
        __builtin_trap();
    for (const RegSetting &setting : settings)
    {
        RegValue value;
        if (written.Tree().Get(setting.strPath, setting.strName, &value) != setting.bPresent ||
            (setting.bPresent && !(value == setting.value)))
            __builtin_trap();
    }
    if (!Same(file.Tree().Find(WString()), *written.Tree().Find(WString()), WString(), settings) ||
        !RewriteChecks::KeepsOtherLines(before, bytes, settings, file) || !RewriteChecks::BrokenBranch(before, bytes, file, 64).empty())
        __builtin_trap();
    return 0;
}
