// Marlin against the platform's regedit, case by case (regedit-cases.txt):
// each file is imported with "regedit /S" into a key of this test's own and
// read back with the registry calls. Marlin must build that tree, or refuse
// the file on the line the case names, where regedit skips that line (or
// stops there, or reads nothing). Rewrites: the file Marlin rewrote imports
// as the original with that one value changed, and reads so in Marlin.
#include "Program.h"
#include "RegeditCases.h"
#include "Win32Registry.h"

#include <gtest/gtest.h>

#include <map>

namespace
{

const std::string ROOT = "Software\\Marlin Regedit Cases";

bool Same(const CRegTree::Key *pLeft, const CRegTree::Key *pRight)
{
    return pLeft && pRight ? *pLeft == *pRight : pLeft == pRight;
}

// regedit /S in the folder, on these files; false when it does not end.
bool Import(const std::wstring &strFolder, const std::vector<std::string> &files)
{
    std::wstring strCommand = L"regedit.exe /S";
    for (const std::string &strFile : files)
        strCommand += L" " + std::wstring(strFile.begin(), strFile.end());
    CProgram regedit;
    return regedit.Run(strCommand, strFolder) && regedit.HasEnded(30000);
}

struct Item
{
    const RegeditCase *pCase;
    Variant variant;
    std::string strKey;                         // under ROOT
    const RegeditCase::Rewrite *pRewrite;       // the file is this rewrite's, of the case
    std::vector<BYTE> bytes;
};

TEST(RegeditDiff, MarlinReadsWhatRegeditImportsOrRefusesTheLineItSkips)
{
    const std::vector<RegeditCase> cases = ReadRegeditCases(REGEDIT_CASES);
    ASSERT_GE(cases.size(), 150u);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, WideOf(ROOT).c_str());
    std::vector<Item> items;
    for (const RegeditCase &test : cases)
        for (Variant variant : { ANSI, UTF16 })
        {
            const std::string strKey = std::to_string(&test - &cases[0] + 1) + (variant == ANSI ? "a" : "u");
            if (test.bVariant[variant])
                items.push_back({ &test, variant, strKey, nullptr, CaseFile(test, variant, ROOT + "\\" + strKey) });
            for (const RegeditCase::Rewrite &rewrite : test.rewrites)
            {
                Item item = { &test, variant, strKey + "r" + std::to_string(&rewrite - &test.rewrites[0] + 1), &rewrite, {} };
                CRegFile original;
                ASSERT_TRUE(original.Parse(CaseFile(test, variant, ROOT + "\\" + item.strKey))) << test.strName;
                EXPECT_EQ(!rewrite.bFails[variant], original.Rewrite({ SettingOf(rewrite.strSetting, WideOf(ROOT + "\\" + item.strKey)) }, &item.bytes))
                    << test.strName << " " << item.strKey;
                if (!item.bytes.empty())
                    items.push_back(item);
            }
        }
    // In one process, but for the files regedit gives up on (or crashes on).
    const std::wstring strFolder = ScratchFolder(L"regedit-cases", {});
    std::vector<std::string> batch;
    for (const Item &item : items)
    {
        std::ofstream(std::filesystem::path(strFolder) / (item.strKey + ".reg"), std::ios::binary)
            .write(reinterpret_cast<const char *>(item.bytes.data()), item.bytes.size());
        const std::string &strRegedit = item.pRewrite ? std::string() : item.pCase->strRegedit[item.variant];
        if (strRegedit == "stops")
            EXPECT_TRUE(Import(strFolder, { item.strKey + ".reg" })) << "regedit hangs";
        else if (strRegedit != "crashes")
            batch.push_back(item.strKey + ".reg");
    }
    EXPECT_TRUE(Import(strFolder, batch)) << "regedit hangs";
    CRegTree imported;
    ASSERT_TRUE(imported.ReadFrom(SystemRegistry(), WideOf(ROOT)));

    int nAgreed = 0, nRewrites = 0;
    std::map<std::string, int> refusals;
    for (const Item &item : items)
    {
        const RegeditCase &test = *item.pCase;
        const std::string strWhat = test.strName + (item.variant == ANSI ? " (ANSI" : " (UTF-16") + ", key " + item.strKey + ")";
        const WString strPath = WideOf(ROOT + "\\" + item.strKey);
        const std::string &strRegedit = item.pRewrite ? std::string() : test.strRegedit[item.variant];
        const CRegTree::Key *pRegedit = imported.Find(strPath);
        CRegFile file, expected;
        bool bRead = file.Parse(item.bytes);
        EXPECT_EQ(item.pRewrite ? 0 : test.nRefused[item.variant], bRead ? 0 : file.GetErrorLine()) << strWhat;
        // What Marlin reads, or reads without the lines regedit skips; a
        // rewrite's original with its one value changed.
        CRegTree changed;
        const CRegTree::Key *pMarlin = file.Tree().Find(strPath);
        if (item.pRewrite)
        {
            ASSERT_TRUE(expected.Parse(CaseFile(test, item.variant, ROOT + "\\" + item.strKey)));
            expected.ApplyTo(changed);
            const RegSetting setting = SettingOf(item.pRewrite->strSetting, strPath);
            if (setting.bPresent)
                changed.Create(setting.strPath)->SetValue(setting.strName, setting.value);
            else if (CRegTree::Key *pKey = changed.Find(setting.strPath))
                pKey->DeleteValue(setting.strName);
            EXPECT_TRUE(Same(changed.Find(strPath), pMarlin)) << strWhat << "\nMarlin reads its rewrite:\n" << TreeText(pMarlin);
            pMarlin = changed.Find(strPath);
        }
        else if (strRegedit == "crashes" || strRegedit == "nothing")
            pMarlin = nullptr;
        else if (!strRegedit.empty())
        {
            EXPECT_TRUE(expected.Parse(AsRegeditReadsIt(test, item.variant, ROOT + "\\" + item.strKey))) << strWhat;
            pMarlin = expected.Tree().Find(strPath);
        }
        bool bSame = Same(pMarlin, pRegedit) || strRegedit == "crashes";
        EXPECT_TRUE(bSame) << strWhat << (strRegedit.empty() ? "" : ": regedit does not " + strRegedit) << "\nregedit:\n"
                           << TreeText(pRegedit) << "Marlin:\n" << TreeText(pMarlin);
        (item.pRewrite ? nRewrites : strRegedit.empty() ? nAgreed : refusals[strRegedit]) += bSame;
    }
    size_t nRewriteFiles = std::count_if(items.begin(), items.end(), [](const Item &item) { return item.pRewrite; });
    printf("%zu cases, %zu files: %d read alike; refused where regedit skips the line %d, stops %d, reads nothing %d, "
           "crashes %d; %d of %zu rewrites read back alike\n",
           cases.size(), items.size() - nRewriteFiles, nAgreed, refusals["skips"], refusals["stops"], refusals["nothing"],
           refusals["crashes"], nRewrites, nRewriteFiles);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, WideOf(ROOT).c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, WideOf(ROOT).c_str());
}

} // namespace
