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

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace
{

const std::string ROOT = "Software\\Marlin Regedit Cases";

std::string Utf8(const WString &str)
{
    ByteString strOut;
    EncodeUtf8(str, &strOut);
    return std::string(strOut.begin(), strOut.end());
}

std::string Dump(const CRegTree::Key *pKey, const std::string &strIndent = "")
{
    if (!pKey)
        return strIndent + "(none)\n";
    std::string str = strIndent + "[" + Utf8(pKey->name) + "]\n";
    for (const auto &value : pKey->values)
    {
        str += strIndent + "  \"" + Utf8(value.first) + "\" " + std::to_string(value.second.dwType) + ":";
        for (BYTE b : value.second.data)
            str += "0123456789abcdef"[b >> 4], str += "0123456789abcdef"[b & 15];
        str += "\n";
    }
    for (const auto &subkey : pKey->subkeys)
        str += Dump(subkey.get(), strIndent + "  ");
    return str;
}

bool Same(const CRegTree::Key *pLeft, const CRegTree::Key *pRight)
{
    return pLeft && pRight ? *pLeft == *pRight : pLeft == pRight;
}

// Files for regedit, in a folder of the test's own, imported in batches of
// one process each. A batch ends with a file that sets a value of its own:
// where that is missing regedit gave up part-way (some files end it), and
// the batch is imported again a file at a time.
class CImports
{
public:
    CImports() : m_strFolder(ScratchFolder(L"regedit-cases", {})) {}
    void Add(const std::string &strName, const std::vector<BYTE> &bytes)
    {
        std::ofstream(std::filesystem::path(m_strFolder) / strName, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
        m_files.push_back(std::wstring(strName.begin(), strName.end()));
    }
    void ImportAll()
    {
        const size_t BATCH = 50;
        for (size_t nStart = 0; nStart < m_files.size(); nStart += BATCH)
        {
            std::vector<std::wstring> batch(m_files.begin() + nStart, m_files.begin() + std::min(nStart + BATCH, m_files.size()));
            if (!Import(batch))
                for (const std::wstring &strFile : batch)
                    Import({ strFile });
        }
    }

private:
    bool Import(const std::vector<std::wstring> &files)
    {
        const std::string strSentinel = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\" + ROOT + "]\r\n\"sentinel\"=dword:1\r\n";
        std::ofstream(std::filesystem::path(m_strFolder) / "sentinel.reg", std::ios::binary) << strSentinel;
        std::wstring strRoot(ROOT.begin(), ROOT.end()), strCommand = L"regedit.exe /S";
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, strRoot.c_str(), L"sentinel");
        for (const std::wstring &strFile : files)
            strCommand += L" " + strFile;
        CProgram regedit;
        EXPECT_TRUE(regedit.Run(strCommand + L" sentinel.reg", m_strFolder) && regedit.HasEnded(30000)) << "regedit hangs";
        bool bDone = RegGetValueW(HKEY_LOCAL_MACHINE, strRoot.c_str(), L"sentinel", RRF_RT_ANY, nullptr, nullptr, nullptr) == 0;
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, strRoot.c_str(), L"sentinel");
        return bDone;
    }

    std::wstring m_strFolder;
    std::vector<std::wstring> m_files;
};

struct Item
{
    Item(const RegeditCase *pCase, Variant variant, const std::string &strKey) : pCase(pCase), variant(variant), strKey(strKey) {}
    const RegeditCase *pCase;
    Variant variant;
    std::string strKey;   // under ROOT
    std::unique_ptr<CRegFile> pFile = std::unique_ptr<CRegFile>(new CRegFile);
    bool bRead = false;
    const RegeditCase::Rewrite *pRewrite = nullptr;   // the file is this rewrite's, of the case
    std::vector<BYTE> bytes;
};

TEST(RegeditDiff, MarlinReadsWhatRegeditImportsOrRefusesTheLineItSkips)
{
    const std::vector<RegeditCase> cases = ReadRegeditCases(REGEDIT_CASES);
    ASSERT_GE(cases.size(), 150u);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, std::wstring(ROOT.begin(), ROOT.end()).c_str());
    CImports imports;
    std::vector<Item> items;
    for (size_t i = 0; i < cases.size(); i++)
        for (Variant variant : { ANSI, UTF16 })
        {
            if (!cases[i].bVariant[variant])
                continue;
            const std::string strKey = std::to_string(i + 1) + (variant == ANSI ? "a" : "u");
            items.emplace_back(&cases[i], variant, strKey);
            items.back().bytes = CaseFile(cases[i], variant, ROOT + "\\" + strKey);
            for (const RegeditCase::Rewrite &rewrite : cases[i].rewrites)
            {
                Item item(&cases[i], variant, strKey + "r" + std::to_string(&rewrite - &cases[i].rewrites[0] + 1));
                item.pRewrite = &rewrite;
                RegSetting setting = SettingOf(rewrite.strSetting, WideOf(ROOT + "\\" + item.strKey));
                CRegFile original;
                ASSERT_TRUE(original.Parse(CaseFile(cases[i], variant, ROOT + "\\" + item.strKey))) << cases[i].strName;
                EXPECT_EQ(!rewrite.bFails[variant], original.Rewrite({ setting }, &item.bytes)) << cases[i].strName << " " << item.strKey;
                if (!item.bytes.empty())
                    items.push_back(std::move(item));
            }
        }
    for (Item &item : items)
    {
        item.bRead = item.pFile->Parse(item.bytes);
        if (item.pRewrite || item.pCase->strRegedit[item.variant] != "crashes")
            imports.Add(item.strKey + ".reg", item.bytes);
    }
    imports.ImportAll();
    CRegTree imported;
    imported.ReadFrom(SystemRegistry(), WideOf(ROOT));

    int nAgreed = 0, nRewrites = 0;
    std::map<std::string, int> refusals;
    for (const Item &item : items)
    {
        const RegeditCase &test = *item.pCase;
        const std::string strWhat = test.strName + (item.variant == ANSI ? " (ANSI" : " (UTF-16") + ", key " + item.strKey + ")";
        const WString strPath = WideOf(ROOT + "\\" + item.strKey);
        const CRegTree::Key *pRegedit = imported.Find(strPath);
        const int nRefused = item.pRewrite ? 0 : test.nRefused[item.variant];
        CRegFile expected;
        if (nRefused)
        {
            EXPECT_FALSE(item.bRead) << strWhat;
            EXPECT_EQ(nRefused, item.pFile->GetErrorLine()) << strWhat;
            if (test.strRegedit[item.variant] == "crashes")
            {
                refusals["crashes"]++;
                continue;
            }
            bool bNothing = test.strRegedit[item.variant] == "nothing";
            ASSERT_TRUE(bNothing || expected.Parse(AsRegeditReadsIt(test, item.variant, ROOT + "\\" + item.strKey))) << strWhat;
            const CRegTree::Key *pSkipped = bNothing ? nullptr : expected.Tree().Find(strPath);
            EXPECT_TRUE(Same(pSkipped, pRegedit)) << strWhat << ": regedit does not " << test.strRegedit[item.variant]
                                                  << "\nregedit:\n" << Dump(pRegedit) << "Marlin without it:\n" << Dump(pSkipped);
            refusals[test.strRegedit[item.variant]] += Same(pSkipped, pRegedit);
            continue;
        }
        ASSERT_TRUE(item.bRead) << strWhat << ": refused on line " << item.pFile->GetErrorLine() << ", error "
                                << item.pFile->GetError();
        const CRegTree::Key *pMarlin = item.pFile->Tree().Find(strPath);
        CRegTree changed;
        if (item.pRewrite)
        {
            // The original as Marlin reads it (the same as regedit: checked
            // on its own key), with the one value changed.
            CRegFile original;
            ASSERT_TRUE(original.Parse(CaseFile(test, item.variant, ROOT + "\\" + item.strKey)));
            original.ApplyTo(changed);
            const RegSetting setting = SettingOf(item.pRewrite->strSetting, strPath);
            if (setting.bPresent)
                changed.Create(setting.strPath)->SetValue(setting.strName, setting.value);
            else if (CRegTree::Key *pKey = changed.Find(setting.strPath))
                pKey->DeleteValue(setting.strName);
            pMarlin = changed.Find(strPath);
            nRewrites += Same(pMarlin, pRegedit) && Same(pMarlin, item.pFile->Tree().Find(strPath));
        }
        EXPECT_TRUE(Same(pMarlin, pRegedit)) << strWhat << "\nregedit:\n" << Dump(pRegedit) << "Marlin:\n" << Dump(pMarlin);
        nAgreed += !item.pRewrite && Same(pMarlin, pRegedit);
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
