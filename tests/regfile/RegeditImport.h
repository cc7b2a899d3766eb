// The platform's regedit as the oracle of RegeditDiffTest.cpp and
// ImageOracle.h: files imported with "regedit /S", each under a key of its
// own below a root of the test's, and read back with the registry calls.
#pragma once

#include "FileCases.h"
#include "Program.h"
#include "Win32Registry.h"

#include <gtest/gtest.h>

// What the key holds, a sorted line each: \a\b\ for a key, \a\b\"name"=
// type:bytes for a value; "(none)" when there is no key.
inline std::string TreeText(const CRegTree::Key *pKey, const std::string &strPath = "")
{
    if (!pKey)
        return "(none)\n";
    std::vector<std::string> lines;
    for (const auto &value : pKey->values)
    {
        lines.push_back(strPath + "\\\"" + Narrow(value.first.c_str()) + "\"=" + std::to_string(value.second.dwType) + ":");
        for (BYTE b : value.second.data)
            lines.back() += "0123456789abcdef"[b >> 4], lines.back() += "0123456789abcdef"[b & 15];
        lines.back() += "\n";
    }
    for (const auto &subkey : pKey->subkeys)
        lines.push_back(strPath + "\\" + Narrow(subkey->name.c_str()) + "\\\n" + TreeText(subkey.get(), strPath + "\\" + Narrow(subkey->name.c_str())));
    std::sort(lines.begin(), lines.end());
    std::string str;
    for (const std::string &strLine : lines)
        str += strLine;
    return str;
}

struct Imported
{
    std::string strKey;                 // below the root
    std::vector<BYTE> file;             // for regedit
    std::string strMarlin, strWhat;     // what Marlin reads there (TreeText); for messages
    bool bAlone = false, bLeft = false; // regedit stops at its end; crashes on it
};

// For each file, whether regedit leaves what Marlin reads; each that it
// does not is a failure.
inline std::vector<bool> ImportAndCompare(const std::string &strRoot, const std::vector<Imported> &items)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, WideOf(strRoot).c_str());
    const std::wstring strFolder = ScratchFolder(L"regedit-import", {});
    std::vector<std::vector<std::wstring>> batches(1);
    for (const Imported &item : items)
    {
        std::ofstream(std::filesystem::path(strFolder) / (item.strKey + ".reg"), std::ios::binary)
            .write(reinterpret_cast<const char *>(item.file.data()), item.file.size());
        const std::wstring strFile(item.strKey.begin(), item.strKey.end());
        if (!item.bLeft)
            item.bAlone ? batches.push_back({ strFile + L".reg" }) : batches[0].push_back(strFile + L".reg");
    }
    for (const auto &batch : batches)
        EXPECT_TRUE(ImportRegFiles(batch, strFolder)) << "regedit hangs";
    CRegTree imported;
    EXPECT_TRUE(imported.ReadFrom(SystemRegistry(), WideOf(strRoot)));
    std::vector<bool> alike;
    for (const Imported &item : items)
    {
        const std::string strRegedit = TreeText(imported.Find(WideOf(strRoot + "\\" + item.strKey)));
        EXPECT_EQ(item.strMarlin, strRegedit) << item.strWhat << ": Marlin reads (left), regedit leaves (right)";
        alike.push_back(item.strMarlin == strRegedit);
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, WideOf(strRoot).c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, WideOf(strRoot).c_str());   // where some cases put keys of that root
    return alike;
}
