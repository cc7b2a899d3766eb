// What every rewrite of a registry file must keep, checked from outside it:
// the tables (RegFileTest.cpp) and the fuzz target (RewriteFuzz.cpp) ask.
#pragma once

#include "ImageBuild.h"
#include "RegFile.h"

#include <algorithm>
#include <string>

namespace RewriteChecks
{

// Every line comes out unchanged and in order (the last maybe given an end
// it lacked) but those a rewrite may change: the lines of a value the build
// reads under the rewrite's variables (ImageBuild.h) named as a setting is.
inline bool KeepsOtherLines(const std::vector<BYTE> &before, const std::vector<BYTE> &after, const std::vector<RegSetting> &settings,
                            const ImageBuild::Variables &variables)
{
    namespace IB = ImageBuild;
    const std::map<size_t, IB::Text> names = IB::CBuild(variables, IB::Text()).Expand(before).names;
    IB::Text strOld, strNew;
    IB::Decode(before, &strOld), IB::Decode(after, &strNew);
    const std::vector<IB::Text> old = IB::Lines(strOld, true), now = IB::Lines(strNew, true);
    for (size_t i = 0, k = 0; i < old.size(); i++)
    {
        const bool bMayChange = names.count(i) && std::any_of(settings.begin(), settings.end(), [&](const RegSetting &s) {
            return names.at(i) == IB::Lower(IB::Text(s.strName.begin(), s.strName.end()));
        });
        auto kept = [&](const char16_t *pszEnd) { return now[k] == old[i] + pszEnd && (!*pszEnd || i + 1 == old.size()); };
        while (!bMayChange && k < now.size() && !kept(u"") && !kept(u"\n") && !kept(u"\r") && !kept(u"\r\n"))
            k++;
        if (!bMayChange && k++ == now.size())
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
    namespace IB = ImageBuild;
    std::vector<IB::Variables> combinations;
    if (!IB::Combinations(before, {}, nMost, &combinations))
        return "more than " + std::to_string(nMost) + " combinations of the variables: split the case";
    const IB::Expansion rewrite = IB::CBuild(variables, IB::Text()).Expand(before);
    for (const IB::Variables &combination : combinations)
    {
        IB::Expansion old = IB::CBuild(combination, IB::Text()).Expand(before), now = IB::CBuild(combination, IB::Text()).Expand(after);
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
