// The cases of regedit-cases.txt: files in regedit's dialect, each written
// as ANSI "REGEDIT4" (Windows-1252) and as UTF-16 "Windows Registry Editor
// Version 5.00", with what Marlin must make of them (RegeditDiffTest.cpp).
#pragma once

#include "FileCases.h"

#include <sstream>

enum Variant
{
    ANSI,
    UTF16,
};

struct RegeditCase
{
    std::string strName;
    bool bVariant[2] = { true, true };
    bool bRaw = false;   // the body brings its own header
    std::string strEol = "\r\n";
    std::vector<std::string> body;
    // Refused: on this line; regedit then skips these lines, "stops" there,
    // reads "nothing" or "crashes". 0: read, as regedit reads it.
    int nRefused[2] = {};
    std::string strRegedit[2];
    std::vector<int> skipped[2];
    struct Rewrite
    {
        std::string strSetting;   // under the case's key
        bool bFails[2] = {};      // the file's encoding cannot hold it
    };
    std::vector<Rewrite> rewrites;
};

inline std::vector<RegeditCase> ReadRegeditCases(const char *pszPath)
{
    std::vector<RegeditCase> cases;
    for (const FileCase &file : ReadFileCases(pszPath))
    {
        RegeditCase test;
        test.strName = file.strName;
        test.body = file.body;
        for (const std::string &strDirective : file.directives)
        {
            std::istringstream in(strDirective);
            std::string strWord;
            in >> strWord;
            int nFrom = strWord == "utf16:", nTo = strWord == "ansi:" ? 1 : 2;
            if (strWord.back() == ':')
                in >> strWord;
            if (strWord == "ansi" || strWord == "utf16")
                test.bVariant[strWord == "ansi"] = false;
            test.bRaw |= strWord == "raw";
            if (strWord == "eol")
                in >> strWord, test.strEol = strWord == "LF" ? "\n" : "\r";
            for (int v = nFrom; strWord == "refuse" && v < nTo; v++)
            {
                std::istringstream again(strDirective.substr(strDirective.find("refuse") + 6));
                std::string strLines, strLine;
                again >> test.nRefused[v] >> test.strRegedit[v] >> strLines;
                for (std::istringstream lines(strLines); std::getline(lines, strLine, ',');)
                    test.skipped[v].push_back(std::stoi(strLine));
            }
            if (strWord == "rewrite")
                test.rewrites.push_back({ strDirective.substr(8),
                                          { strDirective.find("fails-ansi") != std::string::npos,
                                            strDirective.find("fails-utf16") != std::string::npos } });
        }
        cases.push_back(test);
    }
    return cases;
}

// The file of a variant, its keys under HKEY_LOCAL_MACHINE\strKey ("$K" in
// the body; "$P" without the root).
inline std::vector<BYTE> CaseFile(const RegeditCase &test, Variant variant, const std::string &strKey)
{
    std::vector<std::string> lines = test.body;
    if (!test.bRaw)
        lines.insert(lines.begin(), variant == ANSI ? RegFormat::HEADER4 : RegFormat::HEADER5);
    for (std::string &strLine : lines)
        for (const std::string strToken : { "$K", "$P" })
            for (size_t nAt; (nAt = strLine.find(strToken)) != std::string::npos;)
                strLine.replace(nAt, 2, (strToken == "$K" ? "HKEY_LOCAL_MACHINE\\" : "") + strKey);
    return FileBytes(lines, test.strEol, variant == ANSI ? FILE_ANSI : FILE_UTF16);
}

// The file with the lines regedit skips left blank, or cut where it stops.
inline std::vector<BYTE> AsRegeditReadsIt(const RegeditCase &test, Variant variant, const std::string &strKey)
{
    RegeditCase kept = test;
    int nHeader = test.bRaw ? 0 : 1;
    if (test.strRegedit[variant] == "stops")
        kept.body.resize(test.nRefused[variant] - 1 - nHeader), kept.body.push_back("{EOF}");
    for (int nLine : test.skipped[variant])
        kept.body[nLine - 1 - nHeader] = "";
    return CaseFile(kept, variant, strKey);
}
