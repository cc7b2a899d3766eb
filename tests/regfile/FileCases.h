// Registry files written as cases in a text file (regedit-cases.txt,
// rewrite-cases.txt): "=== name", then "! " directives, the file's lines,
// and perhaps "--- after" and the lines a rewrite must give.
#pragma once

#include "ImageBuild.h"
#include "RegFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
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
    ImageBuild::Text str;
    ImageBuild::FromUtf8(strUtf8, &str);
    return WString(str.begin(), str.end());
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
            if (encoding == FILE_UTF16)
                bytes.insert(bytes.end(), { BYTE(ch), BYTE(ch >> 8) });
            else
                bytes.push_back(ImageBuild::To1252(ch));
        if (nByte == std::string::npos)
            return bytes;
        bytes.push_back(static_cast<BYTE>(std::stoi(strText.substr(nByte + 2, 2), nullptr, 16)));
        nAt = nByte;
    }
}

// "PATH "NAME" VALUE": the path under HKEY_LOCAL_MACHINE ("." for none, a
// prefix before it), the value "-" (absent), sz:"TEXT", or TYPE:BYTES in
// hexadecimal. In quotes \n and \r stand for a line feed and a carriage
// return, \uXXXX for that UTF-16 unit, a backslash before any other
// character for that character.
inline RegSetting SettingOf(const std::string &strText, const WString &strPrefix = WString())
{
    RegSetting setting;
    auto quoted = [&](size_t *pnAt) {
        std::string str;
        WString strUnits;
        for (char ch; (ch = strText[++*pnAt]) != '"';)
            if (ch == '\\' && strText[*pnAt + 1] == 'u')
                strUnits += WideOf(str) + WCHAR(std::stoi(strText.substr(*pnAt + 2, 4), nullptr, 16)), str.clear(), *pnAt += 5;
            else
                str += ch != '\\' ? ch : (ch = strText[++*pnAt]) == 'n' ? '\n' : ch == 'r' ? '\r' : ch;
        return strUnits + WideOf(str);
    };
    size_t nAt = strText.find('"');
    WString strPath = WideOf(strText.substr(0, strText.find_last_not_of(' ', nAt - 1) + 1));
    setting.strPath = strPrefix + (strPath == TEXT(".") ? WString() : (strPrefix.empty() ? WString() : TEXT("\\")) + strPath);
    setting.strName = quoted(&nAt);
    nAt = strText.find_first_not_of(' ', nAt + 1);
    setting.bPresent = strText[nAt] != '-';
    if (strText.compare(nAt, 4, "sz:\"") == 0)
    {
        nAt += 3;
        setting.value.dwType = REG_SZ;
        for (WCHAR ch : quoted(&nAt) + WCHAR(0))
            setting.value.data.insert(setting.value.data.end(), { BYTE(ch), BYTE(ch >> 8) });
    }
    else if (setting.bPresent)
    {
        std::istringstream in(strText.substr(nAt));
        in >> std::hex >> setting.value.dwType;
        in.ignore(1);
        for (std::string strByte; std::getline(in, strByte, ',');)
            setting.value.data.push_back(static_cast<BYTE>(std::stoul(strByte, nullptr, 16)));
    }
    return setting;
}

// The "! " directives of rewrite-cases.txt (which says what each means).
struct CaseDirectives
{
    ImageBuild::Variables variables;
    std::vector<RegSetting> settings, expected;
    std::string strEol = "\r\n", strRefused = "0 none", strHolds, strFormat, strFailure;
    FileEncoding encoding = FILE_UTF8;
    bool bFails = false;

    explicit CaseDirectives(const FileCase &test)
    {
        for (const std::string &strDirective : test.directives)
        {
            std::istringstream in(strDirective);
            std::string strWord, strRest;
            in >> strWord >> std::ws;
            std::getline(in, strRest);
            ImageBuild::Text strName, strValue;
            if (strWord == "set" || strWord == "expect")
                (strWord == "set" ? settings : expected).push_back(SettingOf(strRest));
            else if (strWord == "vars")
                for (std::istringstream names(strRest); names >> strWord;)
                    ImageBuild::FromUtf8(strWord.substr(0, strWord.find('=')), &strName),
                        ImageBuild::FromUtf8(strWord.find('=') == std::string::npos ? "1" : strWord.substr(strWord.find('=') + 1), &strValue),
                        variables.emplace_back(strName, strValue);
            else if (strWord == "encoding")
                encoding = strRest == "ansi" ? FILE_ANSI : strRest == "utf16" ? FILE_UTF16 : FILE_UTF8;
            else if (strWord == "eol")
                strEol = strRest == "LF" ? "\n" : "\r";
            else if (strWord == "refuse")
                strRefused = strRest;
            else if (strWord == "holds" || strWord == "format" || strWord == "fails")
                (strWord == "holds" ? strHolds : strWord == "format" ? strFormat : strFailure) = strRest;
            bFails |= strWord == "fails";
        }
    }
};
