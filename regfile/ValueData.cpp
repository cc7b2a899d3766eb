// A value's data, after its "=": read as regedit reads it (every quirk that
// decides what an import leaves), or as a device image's build does, and
// written so that both read it back as it was.
#include "RegFile.h"

#include <algorithm>

namespace
{

bool IsStringType(DWORD dwType)
{
    return dwType == REG_SZ || dwType == REG_EXPAND_SZ || dwType == REG_MULTI_SZ;
}

WString Utf16Of(const std::vector<BYTE> &data)
{
    WString str;
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        str.push_back(static_cast<WCHAR>(data[i] | data[i + 1] << 8));
    return str;
}

// Bytes separated by commas, perhaps ending in a comma and a backslash
// (*pbMore: the bytes go on on the next line), perhaps with a comment.
bool ReadHexLine(const WString &str, size_t nAt, std::vector<BYTE> *pData, bool *pbMore)
{
    *pbMore = false;
    while (nAt < str.size())
    {
        DWORD dwByte = 0;
        bool bTooBig = false;
        if (!ReadNumber(str, &nAt, &dwByte, &bTooBig))
        {
            nAt = SkipBlanks(str, nAt);
            if (nAt < str.size() && str[nAt] == '\\')
                return *pbMore = true, EndsEntry(str, nAt + 1);
            return nAt < str.size() && str[nAt] == ';';
        }
        if (bTooBig || dwByte > 0xFF)
            return false;
        pData->push_back(static_cast<BYTE>(dwByte));
        if (nAt < str.size() && str[nAt] != ',')
            return EndsEntry(str, nAt);
        nAt++;
    }
    return true;
}

} // namespace

bool CRegFile::ParseData(Entry &entry, const WString &strData, int *pnLine)
{
    const int nLine = *pnLine + 1;
    RegValue &value = entry.value;
    WString strText;
    size_t nEnd = 0;
    if (!strData.empty() && strData[0] == '-')
    {
        entry.bDelete = true;
        return EndsEntry(strData, 1) || Fail(ERROR_NOT_AN_ENTRY, nLine);
    }
    if (!strData.empty() && strData[0] == '"')
    {
        switch (ParseQuoted(strData, &nEnd, &strText))
        {
        case UNQUOTED_OPEN:
            return Fail(ERROR_UNTERMINATED_STRING, nLine);
        case UNQUOTED_NUL:
            return Fail(ERROR_BAD_ESCAPE, nLine);
        case UNQUOTED:
            break;
        }
        value.dwType = REG_SZ;
        AppendUtf16(strText + WCHAR(0), &value.data);
        return EndsEntry(strData, nEnd) || Fail(ERROR_NOT_AN_ENTRY, nLine);
    }
    // The types are written in lower case only.
    if (strData.compare(0, 6, TEXT("dword:")) == 0)
        return ParseDword(strData, 6, &value, nLine);
    if (strData.compare(0, 4, TEXT("hex:")) == 0 || strData.compare(0, 4, TEXT("hex(")) == 0)
        return ParseHexData(strData, &value, pnLine);
    if (m_dialect == DIALECT_IMAGE && strData.compare(0, 9, TEXT("multi_sz:")) == 0)
        return ParseMultiSz(strData.substr(9), &value, pnLine);
    return Fail(ERROR_NOT_AN_ENTRY, nLine);
}

// regedit: at most 8 digits (none at all before a comment reads as 0); an
// image: any number of digits that fits.
bool CRegFile::ParseDword(const WString &strData, size_t nAt, RegValue *pValue, int nLine)
{
    const size_t nStart = nAt = SkipBlanks(strData, nAt);
    unsigned long long nNumber = 0;
    for (; nAt < strData.size() && IsHexDigit(strData[nAt]); nAt++)
        nNumber = std::min(nNumber << 4 | static_cast<unsigned>(HexDigit(strData[nAt])), 0x100000000ULL);
    const size_t nDigits = nAt - nStart;
    bool bFits = m_dialect == DIALECT_REGEDIT ? nDigits <= 8 && nStart < strData.size() : nDigits > 0 && nNumber <= 0xFFFFFFFF;
    if (!bFits || !EndsEntry(strData, nAt))
        return Fail(ERROR_BAD_NUMBER, nLine);
    *pValue = DwordValue(static_cast<DWORD>(nNumber));
    return true;
}

// The next line a value's data goes on on, past blank lines and comments;
// -1 at the end of the file.
int CRegFile::NextDataLine(int nLine, WString *pstrText)
{
    while (++nLine < static_cast<int>(m_lines.size()))
    {
        *pstrText = LineText(nLine);
        if (!EndsEntry(*pstrText, 0))
            return nLine;
    }
    return -1;
}

bool CRegFile::ParseHexData(const WString &strData, RegValue *pValue, int *pnLine)
{
    size_t nAt = 4;
    pValue->dwType = REG_BINARY;
    if (strData[3] == '(')
    {
        DWORD dwType = 0;
        bool bTooBig = false;
        // As regedit: no "0x" in front of the type.
        if (nAt == strData.size() || (nAt + 1 < strData.size() && (strData[nAt + 1] == 'x' || strData[nAt + 1] == 'X')))
            return Fail(ERROR_BAD_NUMBER, *pnLine + 1);
        ReadNumber(strData, &nAt, &dwType, &bTooBig);
        if (bTooBig || strData.compare(nAt, 2, TEXT("):")) != 0)
            return Fail(ERROR_BAD_NUMBER, *pnLine + 1);
        pValue->dwType = dwType;
        nAt += 2;
    }
    // regedit makes string data whole only when the first line has some.
    const bool bWhole = m_dialect == DIALECT_REGEDIT && IsStringType(pValue->dwType) && nAt < strData.size();
    bool bMore = false;
    WString strText = strData;
    const int nFirst = *pnLine;
    for (;;)
    {
        if (!ReadHexLine(strText, nAt, &pValue->data, &bMore))
            return Fail(ERROR_BAD_NUMBER, *pnLine + 1);
        if (!bMore)
            break;
        int nNext = NextDataLine(*pnLine, &strText);
        if (nNext < 0 && m_dialect == DIALECT_IMAGE)
            return Fail(ERROR_TRUNCATED_CONTINUATION, static_cast<int>(m_lines.size()));
        if (nNext < 0)
        {
            m_nOpenAtEnd = nFirst;
            break;
        }
        nAt = SkipBlanks(strText, 0);
        if (!IsHexDigit(strText[nAt]))
            return Fail(ERROR_BROKEN_CONTINUATION, nNext + 1);
        *pnLine = nNext;
    }
    if (!bWhole)
        return true;
    // Whole strings, ended by a zero: ANSI bytes widened as Windows-1252,
    // UTF-16 as it stands. Half a character regedit cannot read.
    std::vector<BYTE> &data = pValue->data;
    if (data.empty() || (m_encoding == ENCODING_UTF16 && data.size() % 2))
        return Fail(ERROR_BAD_STRING_BYTES, *pnLine + 1);
    if (m_encoding == ENCODING_UTF16)
    {
        if (data[data.size() - 2] || data.back())
            data.insert(data.end(), { 0, 0 });
        return true;
    }
    if (data.back())
        data.push_back(0);
    WString strWide;
    for (BYTE b : data)
        strWide.push_back(FromWindows1252(b));
    data.clear();
    AppendUtf16(strWide, &data);
    return true;
}

// "a","b", going on on the next line after a comma that ends one.
bool CRegFile::ParseMultiSz(const WString &strData, RegValue *pValue, int *pnLine)
{
    pValue->dwType = REG_MULTI_SZ;
    WString strText = strData, strString;
    for (size_t nAt = SkipBlanks(strText, 0);;)
    {
        if (nAt >= strText.size() || strText[nAt] != '"')
            return Fail(ERROR_NOT_AN_ENTRY, *pnLine + 1);
        switch (ParseQuoted(strText, &nAt, &strString))
        {
        case UNQUOTED_OPEN:
            return Fail(ERROR_UNTERMINATED_STRING, *pnLine + 1);
        case UNQUOTED_NUL:
            return Fail(ERROR_BAD_ESCAPE, *pnLine + 1);
        case UNQUOTED:
            break;
        }
        AppendUtf16(strString + WCHAR(0), &pValue->data);
        nAt = SkipBlanks(strText, nAt);
        if (nAt == strText.size() || strText[nAt] != ',')
        {
            if (!EndsEntry(strText, nAt))
                return Fail(ERROR_NOT_AN_ENTRY, *pnLine + 1);
            break;
        }
        nAt = SkipBlanks(strText, nAt + 1);
        if (!EndsEntry(strText, nAt))
            continue;
        int nNext = NextDataLine(*pnLine, &strText);
        if (nNext < 0)
            return Fail(ERROR_TRUNCATED_CONTINUATION, static_cast<int>(m_lines.size()));
        *pnLine = nNext;
        nAt = SkipBlanks(strText, 0);
    }
    AppendUtf16(WString(1, WCHAR(0)), &pValue->data);
    return true;
}

// The data as the file's dialect and encoding let it read back exactly;
// false when they cannot hold it.
bool CRegFile::FormatData(const RegValue &value, WString *pstrData) const
{
    const std::vector<BYTE> &data = value.data;
    const size_t nChars = data.size() / 2;
    WString strText = Utf16Of(data);
    bool bEndsInZero = data.size() % 2 == 0 && nChars > 0 && strText.back() == 0;
    if (value.dwType == REG_DWORD && data.size() == 4)
        return *pstrData = TEXT("dword:") + HexText(DwordOf(data.data()), 8), true;
    if (value.dwType == REG_SZ && bEndsInZero && strText.find(WCHAR(0)) == nChars - 1)
        return *pstrData = Quoted(strText.substr(0, nChars - 1)), true;
    std::vector<BYTE> bytes = data;
    // regedit widens an ANSI file's string bytes, and ends them in a zero.
    if (m_dialect == DIALECT_REGEDIT && IsStringType(value.dwType) && !data.empty())
    {
        if (!bEndsInZero)
            return false;
        if (m_encoding != ENCODING_UTF16)
        {
            bytes.clear();
            for (WCHAR ch : strText)
            {
                char chAnsi = 0;
                if (!ToWindows1252(ch, &chAnsi))
                    return false;
                bytes.push_back(static_cast<BYTE>(chAnsi));
            }
        }
    }
    *pstrData = value.dwType == REG_BINARY ? WString(TEXT("hex:")) : TEXT("hex(") + HexNumber(value.dwType) + TEXT("):");
    for (size_t i = 0; i < bytes.size(); i++)
        *pstrData += (i ? TEXT(",") : TEXT("")) + HexText(bytes[i], 2);
    return true;
}
