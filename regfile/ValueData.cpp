#include "ValueData.h"

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

// The lines of one value, walked as its data goes on.
class CDataReader
{
public:
    CDataReader(const ValueLines &lines, int nFirstLine, const DialectRules &rules, Encoding encoding,
                FileError *pError)
        : m_lines(lines), m_nFirstLine(nFirstLine), m_rules(rules), m_encoding(encoding), m_error(*pError)
    {
    }

    bool Read(size_t nData, ValueData *pData)
    {
        const WString strData = m_lines[0].substr(nData, ContentTail(m_lines[0], nData));
        RegValue &value = pData->value;
        if (!strData.empty() && strData[0] == '-')
        {
            pData->bDelete = true;
            return EndsEntry(strData, 1) || Fail(FILE_NOT_AN_ENTRY);
        }
        if (!strData.empty() && strData[0] == '"')
        {
            size_t nEnd = 0;
            WString strText;
            Unquoted unquoted = ParseQuoted(strData, &nEnd, &strText);
            if (unquoted != UNQUOTED)
                return m_error = UnquotedRefusal(unquoted, Line()), false;
            value.dwType = REG_SZ;
            AppendUtf16(strText + WCHAR(0), &value.data);
            return EndsEntry(strData, nEnd) || Fail(FILE_NOT_AN_ENTRY);
        }
        if (m_rules.bOpaqueData && (strData.compare(0, 4, TEXT("LOC_")) == 0 || strData.compare(0, 7, TEXT("mui_sz:")) == 0))
            return pData->bOpaque = true;
        // The types are written in lower case only.
        if (strData.compare(0, 6, TEXT("dword:")) == 0)
            return ReadDword(strData, 6, &value);
        if (strData.compare(0, 4, TEXT("hex:")) == 0 || strData.compare(0, 4, TEXT("hex(")) == 0)
            return ReadHex(strData, &value);
        if (m_rules.bMultiSz && strData.compare(0, 9, TEXT("multi_sz:")) == 0)
            return ReadMultiSz(strData.substr(9), &value);
        return Fail(FILE_NOT_AN_ENTRY);
    }

private:
    // Data ends before trailing blanks.
    static size_t ContentTail(const WString &strText, size_t nData)
    {
        size_t nEnd = strText.size();
        while (nEnd > nData && IsSpace(strText[nEnd - 1]))
            nEnd--;
        return nEnd - nData;
    }
    int Line() const { return m_nFirstLine + m_nAt + 1; }
    bool Fail(FileErrorCode code) { return m_error = Refusal(code, Line()), false; }
    // The next line the data goes on on; false at the end of the value.
    bool NextLine(WString *pstrText)
    {
        while (++m_nAt < m_lines.size())
            if (!EndsEntry(m_lines[m_nAt], 0))
                return *pstrText = m_lines[m_nAt], true;
        m_nAt--;
        return false;
    }

    // regedit: at most 8 digits (none at all before a comment reads as 0);
    // an image: any number of digits that fits.
    bool ReadDword(const WString &strData, size_t nAt, RegValue *pValue)
    {
        const size_t nStart = nAt = SkipBlanks(strData, nAt);
        unsigned long long nNumber = 0;
        for (; nAt < strData.size() && IsHexDigit(strData[nAt]); nAt++)
            nNumber = std::min(nNumber << 4 | static_cast<unsigned>(HexDigit(strData[nAt])), 0x100000000ULL);
        const size_t nDigits = nAt - nStart;
        bool bFits = m_rules.bAnyDwordDigits ? nDigits > 0 && nNumber <= 0xFFFFFFFF : nDigits <= 8 && nStart < strData.size();
        if (!bFits || !EndsEntry(strData, nAt))
            return Fail(FILE_BAD_NUMBER);
        *pValue = DwordValue(static_cast<DWORD>(nNumber));
        return true;
    }

    bool ReadHex(const WString &strData, RegValue *pValue)
    {
        size_t nAt = 4;
        pValue->dwType = REG_BINARY;
        if (strData[3] == '(')
        {
            DWORD dwType = 0;
            bool bTooBig = false;
            // As regedit: no "0x" in front of the type.
            if (nAt == strData.size() || (nAt + 1 < strData.size() && (strData[nAt + 1] == 'x' || strData[nAt + 1] == 'X')))
                return Fail(FILE_BAD_NUMBER);
            ReadNumber(strData, &nAt, &dwType, &bTooBig);
            if (bTooBig || strData.compare(nAt, 2, TEXT("):")) != 0)
                return Fail(FILE_BAD_NUMBER);
            pValue->dwType = dwType;
            nAt += 2;
        }
        // regedit makes string data whole only when the first line has some.
        const bool bWhole = m_rules.bWholeHexStrings && IsStringType(pValue->dwType) && nAt < strData.size();
        bool bMore = false;
        for (WString strText = strData;;)
        {
            if (!ReadHexLine(strText, nAt, &pValue->data, &bMore))
                return Fail(FILE_BAD_NUMBER);
            if (!bMore || !NextLine(&strText))
                break;
            nAt = SkipBlanks(strText, 0);
            if (!IsHexDigit(strText[nAt]))
                return Fail(FILE_BROKEN_CONTINUATION);
        }
        return !bWhole || MakeWhole(&pValue->data);
    }

    // Whole strings, ended by a zero: ANSI bytes widened as Windows-1252,
    // UTF-16 as it stands. Half a character regedit cannot read.
    bool MakeWhole(std::vector<BYTE> *pData)
    {
        std::vector<BYTE> &data = *pData;
        if (data.empty() || (m_encoding == ENCODING_UTF16 && data.size() % 2))
            return Fail(FILE_BAD_STRING_BYTES);
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
    bool ReadMultiSz(const WString &strData, RegValue *pValue)
    {
        pValue->dwType = REG_MULTI_SZ;
        WString strText = strData, strString;
        for (size_t nAt = SkipBlanks(strText, 0);;)
        {
            if (nAt >= strText.size() || strText[nAt] != '"')
                return Fail(FILE_NOT_AN_ENTRY);
            Unquoted unquoted = ParseQuoted(strText, &nAt, &strString);
            if (unquoted != UNQUOTED)
                return m_error = UnquotedRefusal(unquoted, Line()), false;
            AppendUtf16(strString + WCHAR(0), &pValue->data);
            nAt = SkipBlanks(strText, nAt);
            if (nAt == strText.size() || strText[nAt] != ',')
            {
                if (!EndsEntry(strText, nAt))
                    return Fail(FILE_NOT_AN_ENTRY);
                break;
            }
            nAt = SkipBlanks(strText, nAt + 1);
            if (!EndsEntry(strText, nAt))
                continue;
            if (!NextLine(&strText))
                return Fail(FILE_TRUNCATED_CONTINUATION);
            nAt = SkipBlanks(strText, 0);
        }
        AppendUtf16(WString(1, WCHAR(0)), &pValue->data);
        return true;
    }

    const ValueLines &m_lines;
    const int m_nFirstLine;
    const DialectRules &m_rules;
    const Encoding m_encoding;
    FileError &m_error;
    int m_nAt = 0;   // the line read now, in m_lines
};

} // namespace

bool ReadData(const ValueLines &lines, size_t nData, int nFirstLine, const DialectRules &rules, Encoding encoding,
              ValueData *pData, FileError *pError)
{
    *pData = ValueData();
    return CDataReader(lines, nFirstLine, rules, encoding, pError).Read(nData, pData);
}

bool FormatData(const RegValue &value, const DialectRules &rules, Encoding encoding, WString *pstrData)
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
    if (rules.bWholeHexStrings && IsStringType(value.dwType) && !data.empty())
    {
        if (!bEndsInZero)
            return false;
        if (encoding != ENCODING_UTF16)
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
