// Marlin against the tests' own account of a device image's build
// (ImageBuild.h), case by case: the image files of rewrite-cases.txt. Under
// every combination of the variables a case tests, the file the build would
// make, imported with "regedit /S" under a key of this test's own and read
// back with the registry calls, holds what Marlin reads; where the build
// stops, Marlin refuses the file. The same for each file Marlin rewrote as
// its case says.
#include "FileCases.h"
#include "Program.h"
#include "RewriteChecks.h"
#include "Win32Registry.h"

#include <gtest/gtest.h>

namespace
{

const std::string ROOT = "Software\\Marlin Image Cases";
const size_t MOST_COMBINATIONS = 64;

struct Check
{
    std::vector<std::string> files;   // for regedit: KEY.reg, its keys under ROOT\KEY
    std::vector<std::pair<std::string, std::string>> marlin;   // what Marlin reads of each, described
    int nCombinations = 0, nStopped = 0, nRefusedAsSaid = 0, nRewritten = 0;
};

// Under every combination of the variables: the build stops and Marlin
// refuses, or the build's file goes to regedit with what Marlin reads.
void CheckFile(const std::string &strCase, const std::string &strKey, const std::vector<BYTE> &bytes, const CaseDirectives &directives,
               const std::wstring &strFolder, Check *pCheck)
{
    std::vector<ImageBuild::Variables> combinations;
    if (!ImageBuild::Combinations(bytes, directives.variables, MOST_COMBINATIONS, &combinations))
        ADD_FAILURE() << strCase << ": more than " << MOST_COMBINATIONS << " combinations of the variables it tests; split it";
    for (size_t n = 0; n < combinations.size(); n++)
    {
        std::string strWhat = strCase + " (key " + strKey + "v" + std::to_string(n + 1) + ", variables", strItem = strKey + "v" + std::to_string(n + 1);
        for (const auto &variable : combinations[n])
            strWhat += " " + Utf8(variable.first) + "=" + Utf8(variable.second);
        strWhat += ")";
        const std::string strRoot = ROOT + "\\" + strItem;
        ImageBuild::Expansion build = ImageBuild::CBuild(combinations[n], ImageBuild::Text(strRoot.begin(), strRoot.end())).Expand(bytes);
        CRegFile file;
        const bool bRead = file.Parse(bytes, RewriteChecks::VariableTable(combinations[n]));
        pCheck->nCombinations++;
        if (build.nStopLine)
        {
            EXPECT_FALSE(bRead) << strWhat << ": the build stops on line " << build.nStopLine << ", " << build.strWhy;
            EXPECT_TRUE(bRead || !build.bError || file.GetErrorLine() == build.nStopLine)
                << strWhat << ": refused on line " << file.GetErrorLine() << ", not on its " << build.strWhy;
            pCheck->nStopped += !bRead;
        }
        else if (!bRead)
        {
            EXPECT_NE("0 none", directives.strRefused) << strWhat << ": refused on line " << file.GetErrorLine() << ", which the build reads";
            pCheck->nRefusedAsSaid += directives.strRefused != "0 none";
        }
        else
        {
            std::ofstream(std::filesystem::path(strFolder) / (strItem + ".reg"), std::ios::binary)
                .write(reinterpret_cast<const char *>(build.regedit.data()), build.regedit.size());
            pCheck->files.push_back(strItem + ".reg"), pCheck->marlin.emplace_back(TreeText(file.Tree().Find(WString())), strWhat);
        }
    }
}

// regedit /S in the folder, a batch of files at a time; false when it does
// not end.
bool Import(const std::wstring &strFolder, const std::vector<std::string> &files)
{
    for (size_t i = 0; i < files.size();)
    {
        std::wstring strCommand = L"regedit.exe /S";
        for (; i < files.size() && strCommand.size() < 30000; i++)
            strCommand += L" " + std::wstring(files[i].begin(), files[i].end());
        CProgram regedit;
        if (!regedit.Run(strCommand, strFolder) || !regedit.HasEnded(60000))
            return false;
    }
    return true;
}

void CheckCases(const char *pszCases, size_t nAtLeast)
{
    const std::vector<FileCase> cases = ReadFileCases(pszCases);
    ASSERT_GE(cases.size(), nAtLeast);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, WideOf(ROOT).c_str());
    const std::wstring strFolder = ScratchFolder(L"image-cases", {});
    Check check;
    int nCases = 0;
    for (const FileCase &test : cases)
    {
        const std::string strFirst = test.body.empty() ? "" : test.body[0];
        if (strFirst.find("REGEDIT4") != std::string::npos || strFirst.find("Windows Registry Editor Version 5.00") != std::string::npos)
            continue;
        const CaseDirectives directives(test);
        const std::vector<BYTE> bytes = FileBytes(test.body, directives.strEol, directives.encoding);
        const std::string strKey = std::to_string(&test - &cases[0] + 1);
        CheckFile(test.strName, strKey, bytes, directives, strFolder, &check);
        nCases++;
        CRegFile file;
        std::vector<BYTE> rewritten;
        if (directives.settings.empty() || directives.bFails || !file.Parse(bytes, RewriteChecks::VariableTable(directives.variables)) ||
            file.UnknownNeed(TEXT("Comm"), directives.settings).code != FILE_OK)
            continue;
        EXPECT_TRUE(file.Rewrite(directives.settings, &rewritten)) << test.strName;
        check.nRewritten += !rewritten.empty();
        if (!rewritten.empty())
            CheckFile(test.strName + ", rewritten", strKey + "r", rewritten, directives, strFolder, &check);
    }
    EXPECT_TRUE(Import(strFolder, check.files)) << "regedit hangs";
    CRegTree imported;
    imported.ReadFrom(SystemRegistry(), WideOf(ROOT));
    int nAlike = 0;
    for (size_t i = 0; i < check.files.size(); i++)
    {
        const std::string strKey = check.files[i].substr(0, check.files[i].size() - 4), strBuild = TreeText(imported.Find(WideOf(ROOT + "\\" + strKey)));
        EXPECT_EQ(check.marlin[i].first, strBuild) << check.marlin[i].second << ": Marlin reads (left), the build makes (right)";
        nAlike += check.marlin[i].first == strBuild;
    }
    printf("%d cases and %d rewritten files under %d combinations of their variables: %d read as the build makes them "
           "(of %zu), %d refused where the build stops, %d refused as their case says\n",
           nCases, check.nRewritten, check.nCombinations, nAlike, check.files.size(), check.nStopped, check.nRefusedAsSaid);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, WideOf(ROOT).c_str());
}

TEST(ImageOracle, MarlinReadsWhatTheBuildMakesOfEachImageCase)
{
    CheckCases(REWRITE_CASES, 40);
}

} // namespace
