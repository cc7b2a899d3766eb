// What every rewrite of a registry file must keep, checked from outside it:
// the tables (RegFileTest.cpp) and the fuzz target (RewriteFuzz.cpp) ask.
#pragma once

#include "ImageBuild.h"
#include "RegFile.h"

#include <algorithm>
#include <functional>
#include <string>

namespace RewriteChecks
{

// The lines as the reader splits them, ends included: a character a byte,
// or a UTF-16 unit after a byte order mark, so that no byte is lost.
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
        for (lines.emplace_back(); i + nUnit <= nEnd; i += nUnit)
            lines.back() += unit(i);
    }
    return lines;
}

// Every line comes out unchanged and in order (the last maybe given an end
// it lacked) but those a rewrite may change: lines that apply and begin with
// a setting's name, and the lines its value goes on to after a backslash or
// a comma, past blank and comment lines.
inline bool KeepsOtherLines(const std::vector<BYTE> &before, const std::vector<BYTE> &after, const std::vector<RegSetting> &settings,
                            const CRegFile &file)
{
    std::vector<WString> old = Split(before), now = Split(after);
    std::vector<bool> mayChange(old.size());
    bool bGoesOn = false;
    for (size_t i = 0; i < old.size(); i++)
    {
        WString strText = Trimmed(old[i].substr(0, old[i].find_last_not_of(TEXT("\r\n")) + 1)), strName;
        size_t nAt = 0;
        if (bGoesOn && (strText.empty() || strText[0] == ';'))
        {
            mayChange[i] = true;
            continue;
        }
        mayChange[i] = bGoesOn || (file.LineApplies(static_cast<int>(i) + 1) && (strText[0] == '@' || ParseQuoted(strText, &nAt, &strName) == UNQUOTED) &&
                                   std::any_of(settings.begin(), settings.end(), [&](const RegSetting &s) { return Folded(s.strName) == Folded(strName); }));
        bool bQuoted = false;
        for (nAt = 0; mayChange[i] && nAt < strText.size() && (bQuoted || strText[nAt] != ';'); nAt++)
            bQuoted = strText[nAt] == '"' ? !bQuoted : bQuoted, nAt += bQuoted && strText[nAt] == '\\';
        WString strContent = Trimmed(strText.substr(0, nAt));
        bGoesOn = mayChange[i] && !strContent.empty() && (strContent.back() == '\\' || strContent.back() == ',');
    }
    for (size_t i = 0, k = 0; i < old.size(); i++)
    {
        auto kept = [&](const WCHAR *pszEnd) { return now[k] == old[i] + pszEnd && (!*pszEnd || i + 1 == old.size()); };
        while (!mayChange[i] && k < now.size() && !kept(TEXT("")) && !kept(TEXT("\n")) && !kept(TEXT("\r")) && !kept(TEXT("\r\n")))
            k++;
        if (!mayChange[i] && k++ == now.size())
            return false;
    }
    return true;
}

inline CVariableTable VariableTable(const ImageBuild::Variables &variables)
{
    CVariableTable table;
    for (const auto &variable : variables)
        table.Set(WString(variable.first.begin(), variable.first.end()), WString(variable.second.begin(), variable.second.end()));
    return table;
}

// Under every combination of the variables the file tests, each value that
// a line the build does not read under the rewrite's variables decides comes
// out of the image build alike (ImageBuild.h). The first that does not,
// described; empty when all do. More than nMost combinations are a failure
// too: no file goes unchecked.
inline std::string BrokenBranch(const std::vector<BYTE> &before, const std::vector<BYTE> &after, const ImageBuild::Variables &variables,
                                size_t nMost)
{
    using namespace ImageBuild;
    std::vector<Variables> combinations;
    if (!Combinations(before, {}, nMost, &combinations))
        return "more than " + std::to_string(nMost) + " combinations of the variables: split the case";
    const Expansion rewrite = CBuild(variables, Text()).Expand(before);
    for (const Variables &combination : combinations)
    {
        Expansion old = CBuild(combination, Text()).Expand(before), now = CBuild(combination, Text()).Expand(after);
        if (!old.nStopLine && now.nStopLine)
            return "the rewrite does not build under other variables, line " + std::to_string(now.nStopLine) + ": " + now.strWhy;
        for (const auto &value : old.nStopLine ? decltype(old.decided)() : old.decided)
        {
            const size_t nLine = value.second.first;
            if ((nLine > rewrite.taken.size() || !rewrite.taken[nLine - 1]) && now.decided[value.first].second != value.second.second)
                return "line " + std::to_string(nLine) + " no longer decides its value";
        }
    }
    return std::string();
}

} // namespace RewriteChecks
