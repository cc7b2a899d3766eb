// Marlin against the tests' own account of a device image's build
// (ImageBuild.h), case by case: the image files of rewrite-cases.txt. Under
// every combination of the variables a case tests, the file the build would
// make, imported with regedit (RegeditImport.h), holds what Marlin reads;
// where the build stops, Marlin refuses the file. The same for each file
// Marlin rewrote as its case says.
#include "RegeditImport.h"
#include "RewriteChecks.h"

namespace
{

const std::string ROOT = "Software\\Marlin Image Cases";
const size_t MOST_COMBINATIONS = 64;

struct Counts
{
    int nCombinations = 0, nStopped = 0, nRefusedAsSaid = 0, nRewritten = 0;
};

// Under every combination of the variables: the build stops and Marlin
// refuses, or the build's file goes to regedit with what Marlin reads.
void CheckFile(const std::string &strCase, const std::string &strKey, const std::vector<BYTE> &bytes, const CaseDirectives &directives,
               std::vector<Imported> *pItems, Counts *pCounts)
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
        const std::string strRoot = ROOT + "\\" + item.strKey;
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

TEST(ImageOracle, MarlinReadsWhatTheBuildMakesOfEachImageCase)
{
    const std::vector<FileCase> cases = ReadFileCases(REWRITE_CASES);
    ASSERT_GE(cases.size(), 40u);
    std::vector<Imported> items;
    Counts counts;
    int nCases = 0;
    for (const FileCase &test : cases)
    {
        const std::string strFirst = test.body.empty() ? "" : test.body[0];
        if (strFirst.find("REGEDIT4") != std::string::npos || strFirst.find("Windows Registry Editor Version 5.00") != std::string::npos)
            continue;
        const CaseDirectives directives(test);
        const std::vector<BYTE> bytes = FileBytes(test.body, directives.strEol, directives.encoding);
        const std::string strKey = std::to_string(&test - &cases[0] + 1);
        CheckFile(test.strName, strKey, bytes, directives, &items, &counts);
        nCases++;
        CRegFile file;
        std::vector<BYTE> rewritten;
        if (directives.settings.empty() || directives.bFails || !file.Parse(bytes, RewriteChecks::VariableTable(directives.variables)) ||
            file.UnknownNeed(TEXT("Comm"), directives.settings).code != FILE_OK)
            continue;
        EXPECT_TRUE(file.Rewrite(directives.settings, &rewritten)) << test.strName;
        counts.nRewritten += !rewritten.empty();
        if (!rewritten.empty())
            CheckFile(test.strName + ", rewritten", strKey + "r", rewritten, directives, &items, &counts);
    }
    const std::vector<bool> alike = ImportAndCompare(ROOT, items);
    printf("%d cases and %d rewritten files under %d combinations of their variables: %zu read as the build makes them "
           "(of %zu), %d refused where the build stops, %d refused as their case says\n",
           nCases, counts.nRewritten, counts.nCombinations, std::count(alike.begin(), alike.end(), true), items.size(), counts.nStopped,
           counts.nRefusedAsSaid);
}

} // namespace
