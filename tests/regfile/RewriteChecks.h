// What every rewrite of a registry file must keep, checked from outside the
// rewrite: the tables (RegFileTest.cpp) and the fuzz target (RewriteFuzz.cpp)
// use these.
#pragma once

#include "RegFile.h"

#include <algorithm>
#include <functional>
#include <string>

namespace RewriteChecks
{

inline WString Trim(const WString &str)
{
    size_t nStart = str.find_first_not_of(TEXT(" \t")), nEnd = str.find_last_not_of(TEXT(" \t\r\n"));
    return nStart == WString::npos || nEnd < nStart ? WString() : str.substr(nStart, nEnd - nStart + 1);
}

// The lines as the reader splits them, end included: a character a byte, or
// a UTF-16 unit after a byte order mark, so that no byte is lost.
inline std::vector<WString> Split(const std::vector<BYTE> &bytes)
{
    const BYTE *p = bytes.data();
    const size_t n = bytes.size(), nUnit = n >= 2 && n % 2 == 0 && p[0] == 0xFF && p[1] == 0xFE ? 2 : 1;
    auto unit = [&](size_t i) { return nUnit == 1 ? WCHAR(p[i]) : WCHAR(p[i] | p[i + 1] << 8); };
    std::vector<WString> lines;
    for (size_t i = 0, nEnd; i < n; i = nEnd)
    {
        for (nEnd = i; nEnd < n && unit(nEnd) != '\n' && unit(nEnd) != '\r';)
            nEnd += nUnit;
        nEnd = std::min(nEnd + (nEnd + nUnit < n && unit(nEnd) == '\r' && unit(nEnd + nUnit) == '\n' ? 2 : 1) * nUnit, n);
        lines.emplace_back();
        for (; i + nUnit <= nEnd; i += nUnit)
            lines.back() += unit(i);
    }
    return lines;
}

// What a value's line holds before its comment, without blanks.
inline WString Content(const WString &strLine)
{
    bool bQuoted = false;
    size_t nAt = 0;
    for (; nAt < strLine.size() && (bQuoted || strLine[nAt] != ';'); nAt++)
        if (bQuoted && strLine[nAt] == '\\')
            nAt++;
        else if (strLine[nAt] == '"')
            bQuoted = !bQuoted;
    return Trim(strLine.substr(0, std::min(nAt, strLine.size())));
}

// The lines of the settings' values that apply: the only ones a rewrite may
// change. A section is the last "[" line's, whatever the IF lines say (one
// named with a $(NAME) may be any key); a value goes on after a backslash or
// a comma, past blank and comment lines.
inline std::vector<bool> SettingLines(const std::vector<WString> &lines, const std::vector<RegSetting> &settings, const CRegFile &file)
{
    auto folded = [](WString str) { return Folded(str); };
    std::vector<bool> marked(lines.size());
    WString strKey, strRoot;
    for (size_t i = 0; i < lines.size(); i++)
    {
        WString strText = Trim(lines[i]), strName;
        // A byte order mark, read as one unit or as three bytes.
        if (i == 0)
            strText.erase(0, strText.compare(0, 1, TEXT("\xFEFF")) == 0 ? 1 : strText.compare(0, 3, TEXT("\xEF\xBB\xBF")) == 0 ? 3 : 0);
        if (strText.empty() || strText[0] == ';')
            continue;
        if (strText[0] == '[')
        {
            WString strPath = strText.substr(1, strText.rfind(']') - 1) + TEXT("\\");
            bool bAny = strPath.find(TEXT("$(")) != WString::npos;
            strRoot = bAny ? TEXT("hkey_local_machine") : folded(strPath.substr(0, strPath.find('\\')));
            strKey = bAny ? TEXT("*") : folded(NormalPath(strPath.substr(strPath.find('\\') + 1)));
            continue;
        }
        for (size_t k = 1; strText[0] == '"' && k < strText.size() && strText[k] != '"'; k++)
            strName += strText[k] != '\\' ? strText[k] : strText[++k] == 'n' ? WCHAR('\n') : strText[k] == 'r' ? WCHAR('\r') : strText[k];
        bool bSetting = strRoot == TEXT("hkey_local_machine") && file.LineApplies(static_cast<int>(i) + 1) &&
                        (strText[0] == '"' || strText[0] == '@') &&
                        std::any_of(settings.begin(), settings.end(), [&](const RegSetting &s) {
                            return (strKey == TEXT("*") || folded(NormalPath(s.strPath)) == strKey) && folded(s.strName) == folded(strName);
                        });
        for (WString strContent = Content(strText); bSetting;)
        {
            marked[i] = true;
            if (strContent.empty() || (strContent.back() != '\\' && strContent.back() != ',') || i + 1 == lines.size())
                break;
            WString strNext = Trim(lines[++i]);
            if (!strNext.empty() && strNext[0] != ';')
                strContent = Content(strNext);
        }
    }
    return marked;
}

// Every other line comes out unchanged and in order, the last maybe given an
// end it lacked.
inline bool KeepsOtherLines(const std::vector<BYTE> &before, const std::vector<BYTE> &after, const std::vector<RegSetting> &settings,
                            const CRegFile &file)
{
    std::vector<WString> old = Split(before), now = Split(after);
    std::vector<bool> marked = SettingLines(old, settings, file);
    for (size_t i = 0, k = 0; i < old.size(); i++)
    {
        auto kept = [&](const WCHAR *pszEnd) { return now[k] == old[i] + pszEnd && (!*pszEnd || i + 1 == old.size()); };
        while (!marked[i] && k < now.size() && !kept(TEXT("")) && !kept(TEXT("\n")) && !kept(TEXT("\r")) && !kept(TEXT("\r\n")))
            k++;
        if (!marked[i] && k++ == now.size())
            return false;
    }
    return true;
}

// Every combination of the variables the file's IF lines test: each unset,
// set to each text it is compared with, or to another; none when there
// would be more than nMost.
inline std::vector<CVariableTable> Combinations(const CRegFile &file, size_t nMost)
{
    std::vector<std::pair<WString, std::vector<WString>>> choices;   // name, texts ("" for unset)
    for (const auto &tested : file.TestedVariables())
    {
        auto it = std::find_if(choices.begin(), choices.end(), [&](const auto &c) { return Folded(c.first) == Folded(tested.first); });
        if (it == choices.end())
            it = choices.insert(choices.end(), { tested.first, { WString(), TEXT("other") } });
        if (!tested.second.empty())
            it->second.push_back(tested.second);
    }
    size_t nCount = 1;
    for (const auto &choice : choices)
        if ((nCount *= choice.second.size()) > nMost)
            return {};
    std::vector<CVariableTable> combinations(nCount);
    for (size_t n = 0; n < nCount; n++)
        for (size_t m = n, c = 0; c < choices.size(); m /= choices[c].second.size(), c++)
            if (!choices[c].second[m % choices[c].second.size()].empty())
                combinations[n].Set(choices[c].first, choices[c].second[m % choices[c].second.size()]);
    return combinations;
}

inline void ForEachValue(const CRegTree::Key &key, const WString &strPath, const std::function<void(const WString &, const WString &)> &fn)
{
    for (const auto &value : key.values)
        fn(strPath, value.first);
    for (const auto &subkey : key.subkeys)
        ForEachValue(*subkey, strPath.empty() ? subkey->name : strPath + TEXT("\\") + subkey->name, fn);
}

// Under every combination of the variables, each value that a line in a
// branch not taken under the rewrite's variables decides reads as it did.
// The first that does not, described; empty when all do.
inline std::string BrokenBranch(const std::vector<BYTE> &before, const std::vector<BYTE> &after, const CRegFile &file, size_t nMost)
{
    std::string strBroken;
    for (const CVariableTable &variables : Combinations(file, nMost))
    {
        CRegFile old, now;
        if (!old.Parse(before, variables))
            continue;
        if (!now.Parse(after, variables))
            return "the rewrite does not read under other variables";
        auto check = [&](const WString &strPath, const WString &strName) {
            RegValue oldValue, newValue;
            int nLine = old.DecidingLine(strPath, strName);
            bool bOld = old.Tree().Get(strPath, strName, &oldValue), bNew = now.Tree().Get(strPath, strName, &newValue);
            if (nLine && !file.LineApplies(nLine) && (bOld != bNew || !(oldValue == newValue)) && strBroken.empty())
                strBroken = "line " + std::to_string(nLine) + " no longer decides its value";
        };
        ForEachValue(*old.Tree().Find(WString()), WString(), check);
        ForEachValue(*now.Tree().Find(WString()), WString(), check);
    }
    return strBroken;
}

} // namespace RewriteChecks
