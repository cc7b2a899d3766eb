// Marlin against the platform's regedit, case by case (regedit-cases.txt):
// each file is imported with regedit (RegeditImport.h). Marlin must build
// that tree, or refuse the file on the line the case names, where regedit
// skips that line (or stops there, or reads nothing). Rewrites: the file
// Marlin rewrote imports as the original with that one value changed.
#include "RegeditCases.h"
#include "RegeditImport.h"

#include <map>

namespace
{

const std::string ROOT = "Software\\Marlin Regedit Cases";

TEST(RegeditDiff, MarlinReadsWhatRegeditImportsOrRefusesTheLineItSkips)
{
    const std::vector<RegeditCase> cases = ReadRegeditCases(REGEDIT_CASES);
    ASSERT_GE(cases.size(), 150u);
    std::vector<Imported> items;
    std::vector<std::string> kinds;   // what regedit does with each file; "rewrite" for a rewrite
    for (const RegeditCase &test : cases)
        for (Variant variant : { ANSI, UTF16 })
        {
            const std::string strKey = std::to_string(&test - &cases[0] + 1) + (variant == ANSI ? "a" : "u");
            const std::string &strRegedit = test.strRegedit[variant];
            const WString strPath = WideOf(ROOT + "\\" + strKey);
            const std::string strWhat = test.strName + (variant == ANSI ? " (ANSI" : " (UTF-16") + ", key " + strKey + ")";
            if (test.bVariant[variant])
            {
                Imported item = { strKey, CaseFile(test, variant, ROOT + "\\" + strKey), "", strWhat, strRegedit == "stops", strRegedit == "crashes" };
                CRegFile file, expected;
                const bool bRead = file.Parse(item.file);
                EXPECT_EQ(test.nRefused[variant], bRead ? 0 : file.GetErrorLine()) << strWhat;
                // What Marlin reads, or reads without the lines regedit skips.
                if (!strRegedit.empty() && strRegedit != "crashes" && strRegedit != "nothing")
                {
                    EXPECT_TRUE(expected.Parse(AsRegeditReadsIt(test, variant, ROOT + "\\" + strKey))) << strWhat;
                }
                item.strMarlin = TreeText(strRegedit.empty() ? file.Tree().Find(strPath) : expected.Tree().Find(strPath));
                items.push_back(item), kinds.push_back(strRegedit);
            }
            // A rewrite: the original with its one value changed.
            for (const RegeditCase::Rewrite &rewrite : test.rewrites)
            {
                Imported changed = { strKey + "r" + std::to_string(&rewrite - &test.rewrites[0] + 1), {}, "", strWhat + " rewritten", false, false };
                const WString strChanged = WideOf(ROOT + "\\" + changed.strKey);
                const RegSetting setting = SettingOf(rewrite.strSetting, strChanged);
                CRegFile original;
                ASSERT_TRUE(original.Parse(CaseFile(test, variant, ROOT + "\\" + changed.strKey))) << test.strName;
                EXPECT_EQ(!rewrite.bFails[variant], original.Rewrite({ setting }, &changed.file)) << changed.strWhat;
                if (changed.file.empty())
                    continue;
                CRegTree tree;
                original.ApplyTo(tree);
                if (setting.bPresent)
                    tree.Create(setting.strPath)->SetValue(setting.strName, setting.value);
                else if (CRegTree::Key *pKey = tree.Find(setting.strPath))
                    pKey->DeleteValue(setting.strName);
                changed.strMarlin = TreeText(tree.Find(strChanged));
                items.push_back(changed), kinds.push_back("rewrite");
            }
        }
    const std::vector<bool> alike = ImportAndCompare(ROOT, items);
    std::map<std::string, int> counts, files;
    for (size_t i = 0; i < items.size(); i++)
        counts[kinds[i]] += alike[i], files[kinds[i]]++;
    printf("%zu cases, %zu files: %d read alike; refused where regedit skips the line %d, stops %d, reads nothing %d, "
           "crashes %d; %d of %d rewrites read back alike\n",
           cases.size(), items.size() - files["rewrite"], counts[""], counts["skips"], counts["stops"], counts["nothing"], counts["crashes"],
           counts["rewrite"], files["rewrite"]);
}

} // namespace
