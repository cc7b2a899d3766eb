// Marlin against the tests' own image build (ImageBuild.h), for each image
// file of rewrite-cases.txt and its rewrite: under every combination of the
// variables it tests, what the build makes of it, imported with regedit,
// holds what Marlin reads; where the build stops, Marlin refuses the file.
#pragma once

#include "RegeditImport.h"
#include "RewriteChecks.h"

const std::string IMAGE_ROOT = "Software\\Marlin Image Cases";
const size_t MOST_COMBINATIONS = 64;

struct ImageCounts
{
    int nCases = 0, nRewritten = 0, nCombinations = 0, nStopped = 0, nRefusedAsSaid = 0;
};

// Under every combination of the variables: the build stops and Marlin
// refuses, or the build's file goes to regedit with what Marlin reads.
inline void CheckImageFile(const std::string &strCase, const std::string &strKey, const std::vector<BYTE> &bytes, const CaseDirectives &directives,
               std::vector<Imported> *pItems, ImageCounts *pCounts)
{
    std::vector<ImageBuild::Variables> combinations;
    if (!ImageBuild::Combinations(bytes, directives.variables, MOST_COMBINATIONS, &combinations))
        ADD_FAILURE() << strCase << ": more than " << MOST_COMBINATIONS << " combinations of the variables it tests; split it";
    for (size_t n = 0; n < combinations.size(); n++)
    {
        Imported item;
        item.strKey = strKey + "v" + std::to_string(n + 1), item.strWhat = strCase + " (key " + item.strKey + ", variables";
        for (const auto &variable : combinations[n])
            item.strWhat += " " + Narrow(std::wstring(variable.first.begin(), variable.first.end())) + "=" +
                            Narrow(std::wstring(variable.second.begin(), variable.second.end()));
        item.strWhat += ")";
        const std::string strRoot = IMAGE_ROOT + "\\" + item.strKey;
        ImageBuild::Expansion build = ImageBuild::CBuild(combinations[n], ImageBuild::Text(strRoot.begin(), strRoot.end())).Expand(bytes);
        CRegFile file;
        const bool bRead = file.Parse(bytes, RewriteChecks::VariableTable(combinations[n]));
        pCounts->nCombinations++;
        if (build.nStopLine)
        {
            EXPECT_FALSE(bRead) << item.strWhat << ": the build stops on line " << build.nStopLine << ", " << build.strWhy;
            EXPECT_TRUE(bRead || !build.bError || file.GetErrorLine() == build.nStopLine)
                << item.strWhat << ": refused on line " << file.GetErrorLine() << ", not on its " << build.strWhy;
            pCounts->nStopped += !bRead;
        }
        else if (!bRead)
        {
            EXPECT_NE("0 none", directives.strRefused) << item.strWhat << ": refused on line " << file.GetErrorLine() << ", which the build reads";
            pCounts->nRefusedAsSaid += directives.strRefused != "0 none";
        }
        else
            item.file = build.regedit, item.strMarlin = TreeText(file.Tree().Find(WString())), pItems->push_back(item);
    }
}
