// What a device image's build makes of a registry file under a set of build
// variables, worked out apart from Marlin's reader and with nothing of it:
// the merge tool's #if/#elif/#else/#endif, #define, #undef and #error, the
// IF/ELSE/ENDIF blocks, $(NAME), then the keys and values the image gets,
// written as a regedit file for regedit to import (ImageOracle.h).
// Also the tests' own UTF-8 and Windows-1252, which the cases are written in.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ImageBuild
{

typedef std::u16string Text;
typedef std::vector<std::pair<Text, Text>> Variables;   // name, text

inline Text Lower(Text str)
{
    std::transform(str.begin(), str.end(), str.begin(), [](char16_t ch) { return ch >= 'A' && ch <= 'Z' ? char16_t(ch + 32) : ch; });
    return str;
}

// 0x80 to 0x9F; the five bytes the code page leaves out stand for themselves.
const char16_t CP1252[32] = { 0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                              0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                              0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178 };
inline char16_t From1252(uint8_t b) { return b >= 0x80 && b < 0xA0 ? CP1252[b - 0x80] : b; }
inline uint8_t To1252(char16_t ch)   // '?' where the code page has no such character
{
    const char16_t *p = std::find(CP1252, CP1252 + 32, ch);
    return p != CP1252 + 32 ? uint8_t(0x80 + (p - CP1252)) : ch < 0x80 || (ch >= 0xA0 && ch < 0x100) ? uint8_t(ch) : '?';
}

// False for bytes that are not UTF-8, overlong forms and surrogates included.
inline bool FromUtf8(const std::string &str, Text *pOut)
{
    pOut->clear();
    for (size_t i = 0; i < str.size();)
    {
        const uint8_t b = str[i];
        const int n = b < 0x80 ? 0 : b < 0xC2 ? -1 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : b < 0xF5 ? 3 : -1;
        if (n < 0 || str.size() - i <= size_t(n))
            return false;
        uint32_t c = b & (n ? 0x3F >> n : 0x7F);
        for (int k = 1; k <= n; k++)
            if ((str[i + k] & 0xC0) != 0x80)
                return false;
            else
                c = c << 6 | (str[i + k] & 0x3F);
        if (c < (n == 0 ? 0u : n == 1 ? 0x80u : n == 2 ? 0x800u : 0x10000u) || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
            return false;
        if (c >= 0x10000)
            pOut->push_back(char16_t(0xD800 + ((c - 0x10000) >> 10))), c = 0xDC00 + (c & 0x3FF);
        pOut->push_back(char16_t(c));
        i += n + 1;
    }
    return true;
}

// UTF-16LE after its byte order mark; else UTF-8 where the bytes are (after
// a byte order mark or none); else Windows-1252. False for half a unit.
inline bool Decode(const std::vector<uint8_t> &bytes, Text *pText)
{
    pText->clear();
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
    {
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            pText->push_back(char16_t(bytes[i] | bytes[i + 1] << 8));
        return bytes.size() % 2 == 0;
    }
    size_t nBom = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    if (FromUtf8(std::string(bytes.begin() + nBom, bytes.end()), pText))
        return true;
    pText->clear();
    for (uint8_t b : bytes)
        pText->push_back(From1252(b));
    return true;
}

// Lines end in CR LF, CR or LF; kept where asked, and then every character
// too, else a Ctrl-Z that ends the file is no text.
inline std::vector<Text> Lines(Text str, bool bEnds = false)
{
    size_t nLast = str.find_last_not_of(u"\r\n");
    if (!bEnds && nLast != Text::npos && str[nLast] == 0x1A)
        str.erase(nLast, 1);
    std::vector<Text> lines;
    for (size_t i = 0; i < str.size();)
    {
        size_t nEnd = std::min(str.find_first_of(u"\r\n", i), str.size()), nNext = nEnd + (str.compare(nEnd, 2, u"\r\n") == 0 ? 2 : 1);
        lines.push_back(str.substr(i, (bEnds ? std::min(nNext, str.size()) : nEnd) - i));
        i = nNext;
    }
    return lines;
}

inline size_t Skip(const Text &str, size_t nAt) { return std::min(str.find_first_not_of(u" \t", nAt), str.size()); }
inline Text Trim(const Text &str)
{
    size_t nStart = Skip(str, 0), nEnd = str.find_last_not_of(u" \t") + 1;
    return nEnd > nStart ? str.substr(nStart, nEnd - nStart) : Text();
}
// Where the quoted text from str[nAt] ends, after its closing quote; npos
// when it does not close. A backslash takes the next character.
inline size_t QuoteEnd(const Text &str, size_t nAt)
{
    for (nAt++; nAt < str.size(); nAt += str[nAt] == '\\' ? 2 : 1)
        if (str[nAt] == '"')
            return nAt + 1;
    return Text::npos;
}
// The line without its ; comment and blanks around.
inline Text Content(const Text &str)
{
    size_t nAt = 0;
    while (nAt < str.size() && str[nAt] != ';')
        nAt = str[nAt] == '"' ? std::min(QuoteEnd(str, nAt), str.size()) : nAt + 1;
    return Trim(str.substr(0, nAt));
}
inline Text Uncommented(const Text &str) { return Trim(str.substr(0, str.find(';'))); }   // a directive's: no quotes
inline Text Keyword(const Text &str) { return Lower(str.substr(0, std::min(str.find_first_of(u" \t;"), str.size()))); }

// IF NAME[=TEXT] [!]; false when it does not read.
inline bool IfParts(const Text &strRest, Text *pstrName, Text *pstrWanted, bool *pbNegate)
{
    Text str = Uncommented(strRest);
    *pbNegate = !str.empty() && str.back() == '!';
    str = Trim(str.substr(0, str.size() - *pbNegate));
    size_t nEquals = std::min(str.find('='), str.size());
    *pstrName = Trim(str.substr(0, nEquals)), *pstrWanted = nEquals < str.size() ? Trim(str.substr(nEquals + 1)) : Text();
    return !pstrName->empty() && (nEquals == str.size() || !pstrWanted->empty()) && (*pstrName + *pstrWanted).find_first_of(u" \t!=") == Text::npos;
}

// An #if condition's parts: ( ) ! && || == != and words, a word holding
// any $(NAME) whole, and a lone = & or | as it stands.
inline std::vector<Text> Tokens(const Text &str)
{
    std::vector<Text> tokens;
    auto pair = [&](size_t k) { const Text strTwo = str.substr(k, 2); return strTwo == u"&&" || strTwo == u"||" || strTwo == u"==" || strTwo == u"!="; };
    for (size_t i = Skip(str, 0), j; i < str.size() && str[i] != ';'; i = Skip(str, j))
    {
        for (j = i; j < str.size() && Text(u" \t()!;").find(str[j]) == Text::npos && !pair(j);)
            j = str.compare(j, 2, u"$(") == 0 && str.find(')', j) != Text::npos ? str.find(')', j) + 1 : j + 1;
        tokens.push_back(str.substr(i, (j > i ? j : pair(i) ? i + 2 : i + 1) - i));
        j = i + tokens.back().size();
    }
    return tokens;
}
inline bool IsWord(const Text &str) { return str.size() > 2 || Text(u"()!=&|").find(str[0]) == Text::npos; }

struct Expansion
{
    std::vector<uint8_t> regedit;   // UTF-16LE with its byte order mark, CR LF
    int nStopLine = 0;              // where the build stops (from 1); 0: it does not
    bool bError = false;            // on an #error there
    std::string strWhy;
    std::vector<bool> taken;        // each line, whether the build reads it
    // Each value, by its key and name in lower case: the line that decides
    // it (from 1) and its data as written.
    std::map<Text, std::pair<int, Text>> decided;
    std::map<size_t, Text> names;   // the lines of each value read (from 0): its name in lower case
};

class CBuild
{
public:
    // The file's HKEY_LOCAL_MACHINE keys go under HKEY_LOCAL_MACHINE\strRoot,
    // which the file makes in any case; those of other roots, which are not
    // the machine's, nowhere.
    CBuild(const Variables &variables, const Text &strRoot) : m_variables(variables), m_strRoot(strRoot) {}

    Expansion Expand(const std::vector<uint8_t> &bytes)
    {
        Expansion result;
        Text strText, strOut = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" + m_strRoot + u"]\r\n";
        Text strWhy = Decode(bytes, &strText) ? u"" : u"half a UTF-16 unit";
        const std::vector<Text> lines = Lines(strText);
        for (size_t i = 0; i < lines.size() && strWhy.empty(); i++)
        {
            const Text strLine = Trim(lines[i]), strWord = Keyword(strLine), strRest = strLine.substr(strWord.size());
            m_nLine = int(i);
            result.taken.resize(i + 1, Taken());
            if (!m_bRegedit && !strLine.empty() && strLine[0] == 0x1A)   // text files end there
                break;
            if (strLine.find(char16_t(0)) != Text::npos)
                strWhy = u"a NUL";
            else if (i == 0 && (strLine == u"REGEDIT4" || strLine == u"Windows Registry Editor Version 5.00"))
                m_bRegedit = true;   // for the checks of a rewrite: # and Ctrl-Z begin comments, a key ends at its last ]
            else if (m_bRegedit && (strLine[0] == '#' || strLine[0] == 0x1A))
                continue;
            else if (strWord == u"if" || strWord == u"else" || strWord == u"endif" || strWord.compare(0, 1, u"#") == 0)
                strWhy = Directive(strWord, strRest, &strOut, &result.bError);
            else if (Content(strLine).empty() || (!Taken() && strLine[0] != '"' && strLine[0] != '@'))
                continue;
            else if (strLine[0] == '[')
                strWhy = Key(Substituted(strLine), &strOut);
            else if (strLine[0] == '"' || strLine[0] == '@')
            {
                strWhy = Value(lines, &i, &strOut, &result);
                if (!Taken())   // its lines passed over, whatever they hold
                    strWhy.clear();
            }
            else
                strWhy = u"not an entry";
        }
        if (strWhy.empty() && !m_blocks.empty())
            m_nLine = m_blocks.back().nLine, strWhy = u"a block never closed";
        if (!strWhy.empty())
            result.nStopLine = m_nLine + 1, result.strWhy.assign(strWhy.begin(), strWhy.end());   // for messages
        result.regedit = { 0xFF, 0xFE };
        for (char16_t ch : strOut)
            result.regedit.insert(result.regedit.end(), { uint8_t(ch), uint8_t(ch >> 8) });
        return result;
    }

private:
    struct Block
    {
        bool bHash, bElse;
        bool bTaken, bDone;   // this branch; one of the block's so far
        int nLine;
    };

    bool Taken() const { return m_blocks.empty() || m_blocks.back().bTaken; }

    // The file's #define first, then the build variable.
    bool Lookup(const Text &strName, Text *pstrText) const
    {
        for (const Variables *pList : { &m_defines, &m_variables })
            for (const auto &variable : *pList)
                if (Lower(variable.first) == Lower(strName))
                    return *pstrText = variable.second, true;
        return false;
    }

    // A name defined nowhere stays as written; a definition's text is
    // substituted in turn, a few levels deep.
    Text Substituted(const Text &str, int nDepth = 0) const
    {
        Text strOut, strValue;
        size_t nAt = 0;
        for (size_t nOpen, nClose; (nOpen = str.find(u"$(", nAt)) != Text::npos && (nClose = str.find(')', nOpen)) != Text::npos;)
        {
            bool bFound = nDepth < 8 && Lookup(str.substr(nOpen + 2, nClose - nOpen - 2), &strValue);
            strOut += str.substr(nAt, nOpen - nAt) + (bFound ? Substituted(strValue, nDepth + 1) : str.substr(nOpen, nClose + 1 - nOpen));
            nAt = nClose + 1;
        }
        return strOut + str.substr(nAt);
    }

    // defined NAME, defined(NAME), ! && || ( ), and == != on words.
    struct CCondition
    {
        const CBuild &build;
        std::vector<Text> tokens;
        size_t i = 0;
        bool bOk = true;

        bool Holds(bool *pbHolds) { return *pbHolds = Or(), bOk && i == tokens.size(); }
        bool Is(const char16_t *psz) { return i < tokens.size() && Lower(tokens[i]) == psz && ++i; }
        Text Operand() { return i < tokens.size() && IsWord(tokens[i]) ? tokens[i++] : (bOk = false, Text()); }
        bool Or()
        {
            bool b = And();
            while (Is(u"||"))
                b = And() || b;
            return b;
        }
        bool And()
        {
            bool b = Unary();
            while (Is(u"&&"))
                b = Unary() && b;
            return b;
        }
        bool Unary() { return Is(u"!") ? !Unary() : Primary(); }
        bool Primary()
        {
            Text strValue;
            bool b = false, bParen = false;
            if (Is(u"("))
                b = Or(), bOk &= Is(u")");
            else if (Is(u"defined"))
                bParen = Is(u"("), b = build.Lookup(Operand(), &strValue), bOk &= !bParen || Is(u")");
            else
            {
                strValue = Lower(Operand());
                bool bEqual = Is(u"==");
                bOk &= bEqual || Is(u"!=");
                b = (strValue == Lower(Operand())) == bEqual;
            }
            return b;
        }
    };

    Text Directive(const Text &strWord, const Text &strRest, Text *pstrOut, bool *pbError)
    {
        const bool bHash = strWord[0] == '#', bTaken = Taken(), bParent = m_blocks.size() < 2 || m_blocks[m_blocks.size() - 2].bTaken;
        CCondition condition{ *this, Tokens(Substituted(strRest)) };
        Text strName, strWanted, strValue;
        bool bHolds = true, bNegate = false;
        if (strWord == u"if" || strWord == u"#if")
        {
            if (bTaken && !(bHash ? condition.Holds(&bHolds) : IfParts(strRest, &strName, &strWanted, &bNegate)))
                return u"a condition that does not read";
            if (!bHash && bTaken)
                bHolds = (Lookup(strName, &strValue) && (strWanted.empty() || Lower(strValue) == Lower(strWanted))) != bNegate;
            return m_blocks.push_back({ bHash, false, bTaken && bHolds, bTaken && bHolds, m_nLine }), Text();
        }
        if (strWord == u"else" || strWord == u"endif" || strWord == u"#else" || strWord == u"#endif" || strWord == u"#elif")
        {
            const bool bEnd = strWord.find(u"endif") != Text::npos;
            if (m_blocks.empty() || m_blocks.back().bHash != bHash || (m_blocks.back().bElse && !bEnd))
                return strWord + u" without its " + (bHash ? u"#if" : u"IF");
            Block &block = m_blocks.back();
            if (strWord == u"#elif" && bParent && !block.bDone && !condition.Holds(&bHolds))
                return u"a condition that does not read";
            if (strWord == u"else" && !Uncommented(strRest).empty())
                return u"text after ELSE";
            if (bEnd)
                return m_blocks.pop_back(), Text();
            block.bElse = strWord != u"#elif";
            block.bTaken = bParent && !block.bDone && bHolds;
            block.bDone |= block.bTaken;
            return Text();
        }
        strName = Trim(strRest).substr(0, std::min(Trim(strRest).find_first_of(u" \t"), Trim(strRest).size()));
        if (!bTaken || strWord == u"#message")
            return Text();
        if (strWord == u"#include")   // kept, not opened
            return *pstrOut += strWord + strRest + u"\r\n", Text();
        if (strWord == u"#error")
            return *pbError = true, u"#error " + Substituted(Trim(strRest));
        if ((strWord != u"#define" && strWord != u"#undef") || strName.empty())
            return u"no such directive";
        // #define NAME [TEXT] as written; #undef NAME, back to the variable.
        m_defines.erase(std::remove_if(m_defines.begin(), m_defines.end(), [&](const auto &d) { return Lower(d.first) == Lower(strName); }),
                        m_defines.end());
        if (strWord == u"#define")
            m_defines.emplace_back(strName, Trim(Trim(strRest).substr(strName.size())));
        return Text();
    }

    // To its last ]: a ; before it is the name's. After it only a comment,
    // or for regedit anything.
    Text Key(Text strLine, Text *pstrOut)
    {
        const size_t nClose = strLine.rfind(']');
        if (nClose != Text::npos && (m_bRegedit || Content(strLine.substr(nClose + 1)).empty()))
            strLine.erase(nClose + 1);
        const bool bDelete = strLine.compare(0, 2, u"[-") == 0;
        const Text strPath = strLine.substr(1 + bDelete, strLine.size() - 2 - bDelete);
        const size_t nSlash = std::min(strPath.find('\\'), strPath.size());
        m_nSection = Lower(strPath.substr(0, nSlash)) == u"hkey_local_machine" ? 1 : -1;
        if (strLine.back() != ']' || (bDelete && strPath.find_first_not_of(u"\\", nSlash) == Text::npos))
            return u"a key that does not read";
        m_strKey = strPath.substr(nSlash) + u"\\";
        if (m_nSection > 0)
            *pstrOut += (bDelete ? u"[-HKEY_LOCAL_MACHINE\\" : u"[HKEY_LOCAL_MACHINE\\") + m_strRoot + strPath.substr(nSlash) + u"]\r\n";
        return Text();
    }

    // The value for regedit, translated only where regedit spells it
    // otherwise: the lines it goes on to joined, a dword of more digits,
    // multi_sz as hex(7). Data regedit cannot read it skips, and Marlin must
    // refuse. Text the build fills in from string files is left out, and
    // data other than a string that a name defined nowhere spoils.
    Text Value(const std::vector<Text> &lines, size_t *pi, Text *pstrOut, Expansion *pResult)
    {
        const Text strLine = Content(Substituted(lines[*pi]));
        const size_t nName = strLine[0] == '@' ? 1 : QuoteEnd(strLine, 0), nEquals = Skip(strLine, nName);
        if (m_nSection == 0)
            return u"a value before any key";
        if (nName == Text::npos || nEquals == strLine.size() || strLine[nEquals] != '=')
            return u"not an entry";
        Text strData = Trim(strLine.substr(nEquals + 1)), strStrings;
        const bool bHex = strData.compare(0, 3, u"hex") == 0, bMulti = strData.compare(0, 9, u"multi_sz:") == 0;
        while (!strData.empty() && strData.back() == (bHex ? '\\' : bMulti ? ',' : 0))
        {
            while (++*pi < lines.size() && Content(lines[*pi]).empty())
                ;
            if (*pi == lines.size() || (!m_bRegedit && Trim(lines[*pi])[0] == 0x1A))   // where the text ends
                return m_nLine = int(--*pi), u"data going on past the end";   // what ends the text is read as such
            strData = Trim(strData.substr(0, strData.size() - bHex)) + Content(Substituted(lines[*pi]));
        }
        if (bHex)
            strData.erase(std::remove_if(strData.begin(), strData.end(), [](char16_t ch) { return ch == ' ' || ch == '\t'; }), strData.end());
        for (size_t nAt = Skip(strData, 6); strData.compare(0, 6, u"dword:") == 0 && strData.size() - nAt > 8 && strData[nAt] == '0';)
            strData.erase(nAt, 1);
        for (size_t nAt = 9, nEnd; bMulti && (nAt = Skip(strData, nAt)) < strData.size() && strData[nAt] == '"' &&
                                   (nEnd = QuoteEnd(strData, nAt)) != Text::npos; nAt = Skip(strData, nEnd) + 1)
        {
            for (size_t k = nAt + 1; k + 1 < nEnd; k++)
                strStrings += strData[k] != '\\' ? strData[k] : strData[++k] == 'n' ? u'\n' : strData[k] == 'r' ? u'\r' : strData[k];
            strStrings += char16_t(0);
            if (Skip(strData, nEnd) == strData.size())
            {
                strData = u"hex(7):";
                for (char16_t ch : strStrings + char16_t(0))
                    strData += Hex(ch & 0xFF) + u"," + Hex(ch >> 8) + u",";
                strData.pop_back();
            }
        }
        Text strName;
        for (size_t k = 1; k + 1 < nName; k++)
            strName += strLine[k += strLine[k] == '\\'];
        for (size_t k = m_nLine; Taken() && k <= *pi; k++)
            pResult->names[k] = Lower(strName);
        if (m_nSection > 0 && Taken())
            pResult->decided[Lower(m_strKey + strLine.substr(0, nName))] = { m_nLine + 1, strData };
        if (m_nSection > 0 && Taken() && strData.compare(0, 4, u"LOC_") != 0 && strData.compare(0, 7, u"mui_sz:") != 0 &&
            (strData[0] == '"' || strData.find(u"$(") == Text::npos))
            *pstrOut += strLine.substr(0, nName) + u"=" + strData + u"\r\n";
        return Text();
    }

    static Text Hex(unsigned n) { return { u"0123456789abcdef"[n >> 4], u"0123456789abcdef"[n & 15] }; }

    const Variables &m_variables;
    const Text m_strRoot;
    Variables m_defines;
    std::vector<Block> m_blocks;
    Text m_strKey;
    bool m_bRegedit = false;
    int m_nSection = 0;   // 1 under HKEY_LOCAL_MACHINE, -1 under another root, 0 before any key
    int m_nLine = 0;
};

// The build variables the file's conditions test, each with the texts it is
// compared with: IF's NAME[=TEXT], #if's defined NAME and $(NAME)==TEXT.
inline std::vector<std::pair<Text, std::vector<Text>>> Tested(const std::vector<uint8_t> &bytes)
{
    std::vector<std::pair<Text, std::vector<Text>>> tested;
    auto add = [&](const Text &strName, const Text &strText) {
        auto it = std::find_if(tested.begin(), tested.end(), [&](const auto &t) { return Lower(t.first) == Lower(strName); });
        if (it == tested.end())
            it = tested.insert(tested.end(), { strName, {} });
        if (!strText.empty() && std::none_of(it->second.begin(), it->second.end(), [&](const Text &s) { return Lower(s) == Lower(strText); }))
            it->second.push_back(strText);
    };
    auto name = [](const Text &str) { return str.size() > 3 && str.compare(0, 2, u"$(") == 0 && str.find(')') + 1 == str.size() ? str.substr(2, str.size() - 3) : Text(); };
    Text strText, strName, strWanted;
    bool bNegate = false;
    Decode(bytes, &strText);
    for (const Text &strLine : Lines(strText))
    {
        const Text strWord = Keyword(Trim(strLine)), strRest = Trim(strLine).substr(strWord.size());
        if (strWord == u"if" && IfParts(strRest, &strName, &strWanted, &bNegate))
            add(strName, strWanted);
        const std::vector<Text> tokens = strWord == u"#if" || strWord == u"#elif" ? Tokens(strRest) : std::vector<Text>();
        for (size_t k = 0; k < tokens.size(); k++)
        {
            const size_t nName = k + 1 + (k + 1 < tokens.size() && tokens[k + 1] == u"(");
            if (Lower(tokens[k]) == u"defined" && nName < tokens.size())
                add(tokens[nName], Text());
            for (size_t nOpen = 0; (nOpen = tokens[k].find(u"$(", nOpen)) != Text::npos; nOpen += 2)
                add(tokens[k].substr(nOpen + 2, tokens[k].find(')', nOpen) - nOpen - 2), Text());
            for (size_t nSide = 0; k > 0 && k + 1 < tokens.size() && (tokens[k] == u"==" || tokens[k] == u"!=") && nSide < 2; nSide++)
                if (!name(tokens[k - 1 + 2 * nSide]).empty() && IsWord(tokens[k + 1 - 2 * nSide]) && tokens[k + 1 - 2 * nSide].find(u"$(") == Text::npos)
                    add(name(tokens[k - 1 + 2 * nSide]), tokens[k + 1 - 2 * nSide]);
        }
    }
    return tested;
}

// Every combination of the tested variables, each unset, set to each text
// it is compared with, or to another; the others as in base. False when
// there would be more than nMost.
inline bool Combinations(const std::vector<uint8_t> &bytes, const Variables &base, size_t nMost, std::vector<Variables> *pCombinations)
{
    auto tested = Tested(bytes);
    size_t nCount = 1;
    for (auto &choice : tested)
        if (choice.second.insert(choice.second.begin(), { Text(), u"other" }), (nCount *= choice.second.size()) > nMost)
            return false;
    pCombinations->assign(nCount, Variables());
    for (size_t n = 0; n < nCount; n++)
    {
        for (const auto &variable : base)
            if (std::none_of(tested.begin(), tested.end(), [&](const auto &t) { return Lower(t.first) == Lower(variable.first); }))
                (*pCombinations)[n].push_back(variable);
        for (size_t m = n, c = 0; c < tested.size(); m /= tested[c].second.size(), c++)
            if (!tested[c].second[m % tested[c].second.size()].empty())
                (*pCombinations)[n].emplace_back(tested[c].first, tested[c].second[m % tested[c].second.size()]);
    }
    return true;
}

} // namespace ImageBuild
