#include "RegText.h"

#include "Names.h"

#include <algorithm>
#include <cstring>

WString Folded(WString str)
{
    std::transform(str.begin(), str.end(), str.begin(), Fold);
    return str;
}

bool EqualsAscii(const WString &str, const char *psz)
{
    return str.size() == strlen(psz) && std::equal(str.begin(), str.end(), psz, [](WCHAR a, char b) { return Fold(a) == Fold(b); });
}

bool StartsWithAscii(const WString &str, size_t nAt, const char *psz)
{
    return nAt <= str.size() && str.size() - nAt >= strlen(psz) && EqualsAscii(str.substr(nAt, strlen(psz)), psz);
}

WString Widen(const char *psz)
{
    return WString(psz, psz + strlen(psz));
}

bool IsSpace(WCHAR ch)
{
    return ch == ' ' || ch == '\t';
}

WString Trimmed(const WString &str)
{
    size_t nStart = 0, nEnd = str.size();
    while (nStart < nEnd && IsSpace(str[nStart]))
        nStart++;
    while (nEnd > nStart && (IsSpace(str[nEnd - 1]) || str[nEnd - 1] == '\r'))
        nEnd--;
    return str.substr(nStart, nEnd - nStart);
}

size_t SkipBlanks(const WString &str, size_t nAt)
{
    while (nAt < str.size() && IsSpace(str[nAt]))
        nAt++;
    return nAt;
}

bool EndsEntry(const WString &str, size_t nAt)
{
    nAt = SkipBlanks(str, nAt);
    return nAt == str.size() || str[nAt] == ';';
}

int HexDigit(WCHAR ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    ch = Fold(ch);
    return ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : -1;
}

bool IsHexDigit(WCHAR ch)
{
    return HexDigit(ch) >= 0;
}

bool ParseHex(const WString &str, size_t nMaxDigits, DWORD *pdwValue)
{
    if (str.empty() || str.size() > nMaxDigits)
        return false;
    *pdwValue = 0;
    for (WCHAR ch : str)
    {
        if (HexDigit(ch) < 0)
            return false;
        *pdwValue = *pdwValue << 4 | static_cast<DWORD>(HexDigit(ch));
    }
    return true;
}

bool ReadNumber(const WString &str, size_t *pnAt, DWORD *pdwValue, bool *pbTooBig)
{
    size_t nAt = SkipBlanks(str, *pnAt);
    bool bNegative = nAt < str.size() && str[nAt] == '-';
    if (nAt < str.size() && (str[nAt] == '-' || str[nAt] == '+'))
        nAt++;
    if (nAt + 2 < str.size() && str[nAt] == '0' && Fold(str[nAt + 1]) == 'x' && IsHexDigit(str[nAt + 2]))
        nAt += 2;
    unsigned long long nValue = 0;
    size_t nDigits = nAt;
    for (; nAt < str.size() && IsHexDigit(str[nAt]); nAt++)
        nValue = std::min(nValue << 4 | static_cast<unsigned>(HexDigit(str[nAt])), 0x100000000ULL);
    *pdwValue = 0;
    *pbTooBig = false;
    if (nAt == nDigits)
        return false;
    *pbTooBig = nValue > 0xFFFFFFFF;
    *pdwValue = bNegative ? 0u - static_cast<DWORD>(nValue) : static_cast<DWORD>(nValue);
    *pnAt = nAt;
    return true;
}

WString HexText(DWORD dwValue, int nDigits)
{
    static const char DIGITS[] = "0123456789abcdef";
    WString str;
    for (int i = nDigits - 1; i >= 0; i--)
        str.push_back(static_cast<WCHAR>(DIGITS[(dwValue >> (4 * i)) & 0xF]));
    return str;
}

WString HexNumber(DWORD dwValue)
{
    int nDigits = 1;
    while (nDigits < 8 && dwValue >> (4 * nDigits))
        nDigits++;
    return HexText(dwValue, nDigits);
}

Unquoted ParseQuoted(const WString &str, size_t *pnAt, WString *pstrOut)
{
    pstrOut->clear();
    for (size_t i = *pnAt + 1; i < str.size(); i++)
    {
        if (str[i] == '"')
        {
            *pnAt = i + 1;
            return UNQUOTED;
        }
        if (str[i] != '\\')
            pstrOut->push_back(str[i]);
        else if (++i == str.size())
            break;
        else if (str[i] == '0')
            return UNQUOTED_NUL;
        else
            pstrOut->push_back(str[i] == 'n' ? WCHAR('\n') : str[i] == 'r' ? WCHAR('\r') : str[i]);
    }
    return UNQUOTED_OPEN;
}

WString Quoted(const WString &str)
{
    WString strOut = TEXT("\"");
    for (WCHAR ch : str)
    {
        if (ch == '\\' || ch == '"' || ch == '\n' || ch == '\r')
            strOut.push_back('\\');
        strOut.push_back(ch == '\n' ? WCHAR('n') : ch == '\r' ? WCHAR('r') : ch);
    }
    return strOut + TEXT("\"");
}

std::vector<WString> Components(const WString &strPath)
{
    std::vector<WString> components;
    for (size_t nStart = 0; nStart <= strPath.size();)
    {
        size_t nEnd = std::min(strPath.find('\\', nStart), strPath.size());
        if (nEnd > nStart)
            components.push_back(strPath.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return components;
}

WString NormalPath(const WString &strPath)
{
    WString strNormal;
    for (const WString &strName : Components(strPath))
        strNormal += (strNormal.empty() ? WString() : TEXT("\\")) + strName;
    return strNormal;
}

// What 0x80 to 0x9F stand for; the rest of the code page is Latin-1.
static const WCHAR WINDOWS_1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

WCHAR FromWindows1252(unsigned char ch)
{
    return ch >= 0x80 && ch < 0xA0 ? WINDOWS_1252[ch - 0x80] : ch;
}

bool ToWindows1252(WCHAR ch, char *pch)
{
    const WCHAR *pFound = std::find(std::begin(WINDOWS_1252), std::end(WINDOWS_1252), ch);
    if (pFound != std::end(WINDOWS_1252))
        *pch = static_cast<char>(0x80 + (pFound - WINDOWS_1252));
    else if (ch < 0x100 && (ch < 0x80 || ch >= 0xA0))
        *pch = static_cast<char>(ch);
    else
        return false;
    return true;
}

bool DecodeUtf8(const ByteString &str, WString *pstrOut)
{
    static const unsigned long SMALLEST[] = { 0, 0x80, 0x800, 0x10000 };
    pstrOut->clear();
    for (size_t i = 0; i < str.size();)
    {
        unsigned char ch = static_cast<unsigned char>(str[i]);
        int nMore = ch < 0x80 ? 0 : (ch & 0xE0) == 0xC0 ? 1 : (ch & 0xF0) == 0xE0 ? 2 : (ch & 0xF8) == 0xF0 ? 3 : -1;
        if (nMore < 0 || str.size() - i <= static_cast<size_t>(nMore))
            return false;
        unsigned long code = nMore ? ch & (0x3F >> nMore) : ch;
        for (int k = 1; k <= nMore; k++)
        {
            unsigned char chMore = static_cast<unsigned char>(str[i + k]);
            if ((chMore & 0xC0) != 0x80)
                return false;
            code = code << 6 | (chMore & 0x3F);
        }
        if (code < SMALLEST[nMore] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        if (code >= 0x10000)
        {
            code -= 0x10000;
            pstrOut->push_back(static_cast<WCHAR>(0xD800 + (code >> 10)));
            pstrOut->push_back(static_cast<WCHAR>(0xDC00 + (code & 0x3FF)));
        }
        else
            pstrOut->push_back(static_cast<WCHAR>(code));
        i += nMore + 1;
    }
    return true;
}

bool EncodeUtf8(const WString &strText, ByteString *pstrOut)
{
    ByteString &str = *pstrOut;
    for (size_t i = 0; i < strText.size(); i++)
    {
        unsigned long code = strText[i];
        bool bHigh = code >= 0xD800 && code < 0xDC00;
        if (bHigh && i + 1 < strText.size() && strText[i + 1] >= 0xDC00 && strText[i + 1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (strText[++i] - 0xDC00);
        else if (code >= 0xD800 && code < 0xE000)
            return false;
        if (code < 0x80)
            str.push_back(char(code));
        else if (code < 0x800)
            str.append({ char(0xC0 | code >> 6), char(0x80 | (code & 0x3F)) });
        else if (code < 0x10000)
            str.append({ char(0xE0 | code >> 12), char(0x80 | (code >> 6 & 0x3F)), char(0x80 | (code & 0x3F)) });
        else
            str.append({ char(0xF0 | code >> 18), char(0x80 | (code >> 12 & 0x3F)), char(0x80 | (code >> 6 & 0x3F)),
                         char(0x80 | (code & 0x3F)) });
    }
    return true;
}
