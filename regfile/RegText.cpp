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
    return str.size() - nAt >= strlen(psz) && EqualsAscii(str.substr(nAt, strlen(psz)), psz);
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

static int HexDigit(WCHAR ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    ch = Fold(ch);
    return ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : -1;
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

bool ParseQuoted(const WString &str, size_t *pnAt, WString *pstrOut)
{
    pstrOut->clear();
    for (size_t i = *pnAt + 1; i < str.size(); i++)
    {
        if (str[i] == '"')
        {
            *pnAt = i + 1;
            return true;
        }
        if (str[i] == '\\' && i + 1 < str.size())
        {
            WCHAR chNext = str[++i];
            pstrOut->push_back(chNext == 'n' ? WCHAR('\n') : chNext);
        }
        else
            pstrOut->push_back(str[i]);
    }
    return false;
}

WString Quoted(const WString &str)
{
    WString strOut = TEXT("\"");
    for (WCHAR ch : str)
    {
        if (ch == '\\' || ch == '"')
            strOut.push_back('\\');
        strOut.push_back(ch);
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

bool DecodeUtf8(const ByteString &str, WString *pstrOut)
{
    pstrOut->clear();
    for (size_t i = 0; i < str.size();)
    {
        unsigned char ch = static_cast<unsigned char>(str[i]);
        int nMore = ch < 0x80 ? 0 : (ch & 0xE0) == 0xC0 ? 1 : (ch & 0xF0) == 0xE0 ? 2 : (ch & 0xF8) == 0xF0 ? 3 : -1;
        if (nMore < 0 || i + nMore >= str.size() + (nMore ? 0 : 1))
            return false;
        unsigned long code = nMore ? ch & (0x3F >> nMore) : ch;
        for (int k = 1; k <= nMore; k++)
        {
            unsigned char chMore = static_cast<unsigned char>(str[i + k]);
            if ((chMore & 0xC0) != 0x80)
                return false;
            code = code << 6 | (chMore & 0x3F);
        }
        if (code > 0x10FFFF)
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

ByteString EncodeUtf8(const WString &strText)
{
    ByteString str;
    for (size_t i = 0; i < strText.size(); i++)
    {
        unsigned long code = strText[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < strText.size())
            code = 0x10000 + ((code - 0xD800) << 10) + (strText[++i] - 0xDC00);
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
    return str;
}
