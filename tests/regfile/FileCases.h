// Registry files written as cases in a text file (regedit-cases.txt,
// rewrite-cases.txt): "=== name", then "! " directives, the file's lines,
// and perhaps "--- after" and the lines a rewrite must give.
#pragma once

#include "RegFile.h"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

struct FileCase
{
    std::string strName;
    std::vector<std::string> directives;
    std::vector<std::string> body, after;
    bool bAfter = false;
};

inline std::vector<FileCase> ReadFileCases(const char *pszPath)
{
    std::vector<FileCase> cases;
    std::ifstream file(pszPath);
    for (std::string strLine; std::getline(file, strLine);)
        if (strLine.compare(0, 4, "=== ") == 0)
            cases.emplace_back(), cases.back().strName = strLine.substr(4);
        else if (cases.empty())
            continue;
        else if (strLine.compare(0, 2, "! ") == 0 && cases.back().body.empty())
            cases.back().directives.push_back(strLine.substr(2));
        else if (strLine == "--- after")
            cases.back().bAfter = true;
        else
            (cases.back().bAfter ? cases.back().after : cases.back().body).push_back(strLine);
    // Blank lines part the cases; a file's own last blank line is written as
    // one with a blank in it.
    for (FileCase &test : cases)
        for (std::vector<std::string> *pLines : { &test.body, &test.after })
            while (!pLines->empty() && pLines->back().empty())
                pLines->pop_back();
    return cases;
}

inline WString WideOf(const std::string &strUtf8)
{
    WString str;
    DecodeUtf8(ByteString(strUtf8.begin(), strUtf8.end()), &str);
    return str;
}

enum FileEncoding
{
    FILE_ANSI,    // Windows-1252
    FILE_UTF16,   // with its byte order mark
    FILE_UTF8,
};

// The lines joined by the line end. {CR}, {TAB}, {SP} and {^Z} stand for
// those characters, {xNN} for that byte as it stands; {EOF} ends the file
// where it stands.
inline std::vector<BYTE> FileBytes(const std::vector<std::string> &lines, const std::string &strEol, FileEncoding encoding)
{
    std::string strText;
    for (const std::string &strLine : lines)
        strText += strLine + strEol;
    strText.erase(std::min(strText.find("{EOF}"), strText.size()));
    const std::pair<const char *, const char *> TOKENS[] = { { "{CR}", "\r" }, { "{TAB}", "\t" }, { "{SP}", " " }, { "{^Z}", "\x1a" } };
    for (const auto &token : TOKENS)
        for (size_t nAt; (nAt = strText.find(token.first)) != std::string::npos;)
            strText.replace(nAt, strlen(token.first), token.second);
    std::vector<BYTE> bytes = encoding == FILE_UTF16 ? std::vector<BYTE>{ 0xFF, 0xFE } : std::vector<BYTE>{};
    for (size_t nAt = 0;; nAt += 5)
    {
        size_t nByte = strText.find("{x", nAt);
        std::string strPart = strText.substr(nAt, nByte - nAt);
        if (encoding == FILE_UTF8)
            bytes.insert(bytes.end(), strPart.begin(), strPart.end());
        for (WCHAR ch : encoding == FILE_UTF8 ? WString() : WideOf(strPart))
        {
            char chAnsi = '?';
            if (encoding == FILE_UTF16)
                bytes.insert(bytes.end(), { BYTE(ch), BYTE(ch >> 8) });
            else
                ToWindows1252(ch, &chAnsi), bytes.push_back(static_cast<BYTE>(chAnsi));
        }
        if (nByte == std::string::npos)
            return bytes;
        bytes.push_back(static_cast<BYTE>(std::stoi(strText.substr(nByte + 2, 2), nullptr, 16)));
        nAt = nByte;
    }
}

// "PATH "NAME" VALUE": the path under HKEY_LOCAL_MACHINE ("." for none, a
// prefix before it), the value "-" (absent), sz:"TEXT", or TYPE:BYTES in
// hexadecimal.
inline RegSetting SettingOf(const std::string &strText, const WString &strPrefix = WString())
{
    RegSetting setting;
    WString strWide = WideOf(strText), strString;
    size_t nAt = strWide.find('"');
    WString strPath = Trimmed(strWide.substr(0, nAt));
    setting.strPath = strPrefix + (strPath == TEXT(".") ? WString() : (strPrefix.empty() ? WString() : TEXT("\\")) + strPath);
    ParseQuoted(strWide, &nAt, &setting.strName);
    nAt = SkipBlanks(strWide, nAt);
    setting.bPresent = strWide[nAt] != '-';
    DWORD dwNumber = 0;
    bool bTooBig = false;
    if (StartsWithAscii(strWide, nAt, "sz:"))
    {
        nAt += 3;
        ParseQuoted(strWide, &nAt, &strString);
        setting.value.dwType = REG_SZ;
        AppendUtf16(strString + WCHAR(0), &setting.value.data);
    }
    else if (setting.bPresent && ReadNumber(strWide, &nAt, &setting.value.dwType, &bTooBig))
        for (nAt++; nAt < strWide.size() && IsHexDigit(strWide[nAt]) && ReadNumber(strWide, &nAt, &dwNumber, &bTooBig);)
        {
            setting.value.data.push_back(static_cast<BYTE>(dwNumber));
            if (nAt == strWide.size() || strWide[nAt] != ',')
                break;
            nAt++;
        }
    return setting;
}
