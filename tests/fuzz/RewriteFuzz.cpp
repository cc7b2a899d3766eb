// Rewrites Marlin's values in any file the reader accepts, and traps unless
// the result reads back as asked with every other value and line kept. The
// input's first 7 bytes choose the values; the rest is the file.
#include "RegFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace
{

typedef std::vector<RegSetting> Settings;

WString Fold(WString str)
{
    for (WCHAR &ch : str)
        ch = ch >= 'A' && ch <= 'Z' ? WCHAR(ch - 'A' + 'a') : ch;
    return str;
}

WString Trim(const WString &str)
{
    size_t nStart = str.find_first_not_of(TEXT(" \t")), nEnd = str.find_last_not_of(TEXT(" \t\r\n"));
    return nStart == WString::npos || nEnd < nStart ? WString() : str.substr(nStart, nEnd - nStart + 1);
}

// A folded key and value name of Marlin's; with bKey, a key on the way to
// one that is set, which the rewrite may add.
bool Marlin(const Settings &settings, const WString &strKey, const WString &strName, bool bKey = false)
{
    return std::any_of(settings.begin(), settings.end(), [&](const RegSetting &s) {
        return bKey ? s.bPresent && (Fold(s.strPath) + TEXT("\\")).rfind(strKey + TEXT("\\"), 0) == 0
                    : Fold(s.strPath) == strKey && Fold(s.strName) == strName;
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
            if (!Marlin(settings, strKey, Fold(value.first)) && !(pOldValue && pNewValue && *pOldValue == *pNewValue))
                return false;
        }
    for (const auto &subkey : old.subkeys)
        if (!key.Subkey(subkey->name))
            return false;
    for (const auto &subkey : key.subkeys)
        if (!Same(old.Subkey(subkey->name), *subkey, (strKey.empty() ? strKey : strKey + TEXT("\\")) + Fold(subkey->name),
                  settings))
            return false;
    return true;
}

// The lines as the reader splits them, end included: a character a byte,
// or a UTF-16 unit after a byte order mark, so that no byte is lost.
std::vector<WString> Split(const uint8_t *p, size_t n)
{
    const size_t nUnit = n >= 2 && n % 2 == 0 && p[0] == 0xFF && p[1] == 0xFE ? 2 : 1;
    std::vector<WString> lines;
    for (size_t i = 0, nEnd; i < n; i = nEnd)
    {
        for (nEnd = i; nEnd < n && !(p[nEnd] == '\n' && (nUnit == 1 || p[nEnd + 1] == 0));)
            nEnd += nUnit;
        lines.emplace_back();
        for (nEnd = std::min(nEnd + nUnit, n); i + nUnit <= nEnd; i += nUnit)
            lines.back() += WCHAR(nUnit == 1 ? p[i] : p[i] | p[i + 1] << 8);
    }
    return lines;
}

// The lines of Marlin's values in HKEY_LOCAL_MACHINE sections ("[-" ones,
// which delete their key, have another root).
std::vector<bool> MarlinLines(const std::vector<WString> &lines, const Settings &settings)
{
    std::vector<bool> marlin(lines.size());
    WString strKey, strRoot;
    for (size_t i = 1; i < lines.size(); i++)
    {
        WString strText = Trim(lines[i]), strName;
        if (strText.empty() || strText[0] == ';')
            continue;
        if (strText[0] == '[')
        {
            WString strPath = strText.substr(1, strText.rfind(']') - 1) + TEXT("\\");
            strRoot = Fold(strPath.substr(0, strPath.find('\\')));
            strKey = Fold(strPath.substr(strPath.find('\\') + 1, strPath.size() - strPath.find('\\') - 2));
            continue;
        }
        for (size_t k = 1; strText[0] == '"' && k < strText.size() && strText[k] != '"'; k++)
            strName += strText[k] != '\\' ? strText[k] : strText[++k] == 'n' ? WCHAR('\n') : strText[k];
        // Only hex values go on, while what they add up to ends in a backslash.
        size_t nFirst = i;
        for (WString strAll = strText; strAll.back() == '\\' && i + 1 < lines.size();)
            strAll.pop_back(), strAll += Trim(lines[++i]);
        for (size_t k = nFirst; k <= i; k++)
            marlin[k] = strRoot == TEXT("hkey_local_machine") && Marlin(settings, strKey, Fold(strName));
    }
    return marlin;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const WCHAR *const NAMES[] = { TEXT("TcpWindowSize"), TEXT("DefaultTTL"), TEXT("EnablePMTUDiscovery"),
                                          TEXT("SackOpts"), TEXT("TCP1323Opts"), TEXT("TcpWindowSize") };
    CRegFile file, written;
    if (size < 7 || !file.Parse(std::vector<BYTE>(data + 7, data + size)))
        return 0;
    Settings settings(6);
    for (int i = 0; i < 6; i++)
    {
        // Mostly small numbers, which a file often holds already.
        DWORD dw = data[0] & 0x40 ? data[1 + i] * 0x01010101u : data[1 + i];
        settings[i] = { i < 5 ? TEXT("Comm\\Tcpip\\Parms") : TEXT("Comm\\ppp1\\Parms\\TcpIp"), NAMES[i], bool(data[0] >> i & 1),
                        DwordValue(dw) };
    }
    std::vector<BYTE> bytes = file.Rewrite(settings);
    if (!written.Parse(bytes))
        __builtin_trap();
    for (const RegSetting &setting : settings)
    {
        RegValue value;
        if (written.Tree().Get(setting.strPath, setting.strName, &value) != setting.bPresent ||
            (setting.bPresent && !(value == setting.value)))
            __builtin_trap();
    }
    if (!Same(file.Tree().Find(WString()), *written.Tree().Find(WString()), WString(), settings))
        __builtin_trap();

    // The other lines in their order, the last maybe given an end it lacked.
    std::vector<WString> before = Split(data + 7, size - 7), after = Split(bytes.data(), bytes.size());
    std::vector<bool> marlin = MarlinLines(before, settings);
    for (size_t i = 0, k = 0; i < before.size(); i++)
    {
        auto kept = [&](const WCHAR *pszEnd) { return after[k] == before[i] + pszEnd && (!*pszEnd || i + 1 == before.size()); };
        while (!marlin[i] && k < after.size() && !kept(TEXT("")) && !kept(TEXT("\n")) && !kept(TEXT("\r\n")))
            k++;
        if (!marlin[i] && k++ == after.size())
            __builtin_trap();
    }
    return 0;
}
