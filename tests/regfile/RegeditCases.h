// The cases of regedit-cases.txt: files in regedit's dialect, each written
// as ANSI "REGEDIT4" (Windows-1252) and as UTF-16 "Windows Registry Editor
// Version 5.00", with what Marlin must make of them. Natively the verdicts
// are checked; under Wine, regedit itself is the judge (RegeditDiffTest.cpp).
#pragma once

#include "RegFile.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

enum Variant
{
    ANSI,
    UTF16,
};

struct RegeditCase
{
    std::string strName;
    bool bVariant[2] = { true, true };
    bool bRaw = false;                  // the body brings its own header
    std::string strEol = "\r\n";
    std::vector<std::string> body;
    // Refused: on this line; regedit then skips these lines, "stops" there,
    // or reads "nothing". 0: read, as regedit reads it.
    int nRefused[2] = {};
    std::string strRegedit[2];
    std::vector<int> skipped[2];
    struct Rewrite
    {
        RegSetting setting;   // under the case's key
        bool bFails[2] = {};  // the file's encoding cannot hold it
    };
    std::vector<Rewrite> rewrites;
};

inline WString WideOf(const std::string &strUtf8)
{
    WString str;
    DecodeUtf8(ByteString(strUtf8.begin(), strUtf8.end()), &str);
    return str;
}

// "! [ansi: | utf16:] refuse LINE (skips L,L.. | stops | nothing)",
// "! rewrite SUBKEY|. "NAME" (- | sz:"TEXT" | TYPE:BYTES) [fails-ansi] [fails-utf16]",
// "! ansi", "! utf16", "! raw", "! eol LF|CR".
inline void ReadDirective(std::istringstream in, RegeditCase *pCase)
{
    std::string strWord;
    in >> strWord;
    int nFrom = 0, nTo = 2;
    if (strWord == "ansi:" || strWord == "utf16:")
    {
        nFrom = strWord == "utf16:";
        nTo = nFrom + 1;
        in >> strWord;
    }
    if (strWord == "ansi" || strWord == "utf16")
        pCase->bVariant[strWord == "ansi"] = false;
    else if (strWord == "raw")
        pCase->bRaw = true;
    else if (strWord == "eol")
        in >> strWord, pCase->strEol = strWord == "LF" ? "\n" : "\r";
    else if (strWord == "refuse")
        for (int v = nFrom; v < nTo; v++)
        {
            std::istringstream again(in.str().substr(in.str().find("refuse") + 6));
            std::string strLines;
            again >> pCase->nRefused[v] >> pCase->strRegedit[v] >> strLines;
            for (std::istringstream lines(strLines); std::getline(lines, strWord, ',');)
                pCase->skipped[v].push_back(std::stoi(strWord));
        }
    else if (strWord == "rewrite")
    {
        RegeditCase::Rewrite rewrite;
        RegSetting &setting = rewrite.setting;
        std::string strRest;
        in >> strWord;
        std::getline(in, strRest);
        setting.strPath = strWord == "." ? WString() : WideOf(strWord);
        WString strText = WideOf(strRest), strString;
        size_t nAt = strText.find('"');
        ParseQuoted(strText, &nAt, &setting.strName);
        nAt = SkipBlanks(strText, nAt);
        setting.bPresent = strText[nAt] != '-';
        DWORD dwNumber = 0;
        bool bTooBig = false;
        if (StartsWithAscii(strText, nAt, "sz:"))
        {
            nAt += 3;
            ParseQuoted(strText, &nAt, &strString);
            setting.value.dwType = REG_SZ;
            for (WCHAR ch : strString + WCHAR(0))
                setting.value.data.insert(setting.value.data.end(), { BYTE(ch), BYTE(ch >> 8) });
        }
        else if (setting.bPresent && ReadNumber(strText, &nAt, &setting.value.dwType, &bTooBig))
            for (nAt++; nAt < strText.size() && IsHexDigit(strText[nAt]) && ReadNumber(strText, &nAt, &dwNumber, &bTooBig);)
            {
                setting.value.data.push_back(static_cast<BYTE>(dwNumber));
                if (nAt == strText.size() || strText[nAt] != ',')
                    break;
                nAt++;
            }
        rewrite.bFails[ANSI] = strRest.find("fails-ansi") != std::string::npos;
        rewrite.bFails[UTF16] = strRest.find("fails-utf16") != std::string::npos;
        pCase->rewrites.push_back(rewrite);
    }
}

inline std::vector<RegeditCase> ReadCases(const char *pszPath)
{
    std::vector<RegeditCase> cases;
    std::ifstream file(pszPath);
    for (std::string strLine; std::getline(file, strLine);)
    {
        if (strLine.compare(0, 4, "=== ") == 0)
            cases.emplace_back(), cases.back().strName = strLine.substr(4);
        else if (cases.empty())
            continue;
        else if (strLine.compare(0, 2, "! ") == 0 && cases.back().body.empty())
            ReadDirective(std::istringstream(strLine.substr(2)), &cases.back());
        else
            cases.back().body.push_back(strLine);
    }
    return cases;
}

// The file of a variant, its keys under HKEY_LOCAL_MACHINE\strKey ("$K" in
// the body; "$P" without the root). {CR}, {TAB}, {SP} and {^Z} stand for
// those characters, {BOM8} for UTF-8's byte order mark, and {EOF} ends the
// file where it stands.
inline std::vector<BYTE> CaseFile(const RegeditCase &test, Variant variant, const std::string &strKey)
{
    std::string strText = test.bRaw ? "" : std::string(variant == ANSI ? RegFormat::HEADER4 : RegFormat::HEADER5) + test.strEol;
    for (const std::string &strLine : test.body)
        strText += strLine + test.strEol;
    const std::pair<std::string, std::string> TOKENS[] = { { "$K", "HKEY_LOCAL_MACHINE\\" + strKey }, { "$P", strKey },
                                                           { "{CR}", "\r" }, { "{TAB}", "\t" }, { "{SP}", " " },
                                                           { "{^Z}", "\x1a" }, { "{BOM8}", "" } };
    size_t nEof = strText.find("{EOF}");
    if (nEof != std::string::npos)
        strText.erase(nEof);
    bool bBom8 = strText.find("{BOM8}") != std::string::npos;
    for (const auto &token : TOKENS)
        for (size_t nAt; (nAt = strText.find(token.first)) != std::string::npos;)
            strText.replace(nAt, token.first.size(), token.second);
    std::vector<BYTE> bytes = variant == UTF16 ? std::vector<BYTE>{ 0xFF, 0xFE } : bBom8 ? std::vector<BYTE>{ 0xEF, 0xBB, 0xBF }
                                                                                         : std::vector<BYTE>{};
    for (WCHAR ch : WideOf(strText))
    {
        char chAnsi = '?';
        if (variant == UTF16)
            bytes.insert(bytes.end(), { BYTE(ch), BYTE(ch >> 8) });
        else
            ToWindows1252(ch, &chAnsi), bytes.push_back(static_cast<BYTE>(chAnsi));
    }
    return bytes;
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
