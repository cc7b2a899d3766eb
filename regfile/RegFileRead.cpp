#include "RegFile.h"

#include "NameIndex.h"
#include "RegText.h"

#include <algorithm>

using namespace RegFormat;

namespace
{

const WCHAR *const ROOTS[] = { TEXT("HKEY_LOCAL_MACHINE"), TEXT("HKEY_CURRENT_USER"), TEXT("HKEY_CLASSES_ROOT"),
                               TEXT("HKEY_USERS"), TEXT("HKEY_CURRENT_CONFIG") };

} // namespace

bool CRegFile::Fail(Error error, int nLine)
{
    m_error = error;
    m_nErrorLine = nLine;
    return false;
}

bool CRegFile::Decode(const std::vector<BYTE> &bytes)
{
    m_lines.clear();
    size_t nStart = 0;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
    {
        m_encoding = ENCODING_UTF16;
        m_bBom = true;
        if (bytes.size() % 2)
            return Fail(ERROR_NOT_TEXT, 1);
        nStart = 2;
    }
    else if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
    {
        m_encoding = ENCODING_UTF8;
        m_bBom = true;
        nStart = 3;
    }
    else
    {
        m_bBom = false;
        WString strIgnored;
        m_encoding = DecodeUtf8(ByteString(bytes.begin(), bytes.end()), &strIgnored) ? ENCODING_UTF8 : ENCODING_LATIN1;
    }
    const size_t nUnit = m_encoding == ENCODING_UTF16 ? 2 : 1;
    for (size_t i = nStart; i < bytes.size();)
    {
        size_t nEnd = i;
        while (nEnd < bytes.size() && !(bytes[nEnd] == '\n' && (nUnit == 1 || bytes[nEnd + 1] == 0)))
            nEnd += nUnit;
        nEnd = std::min(nEnd + nUnit, bytes.size());
        Line line;
        line.strRaw.assign(bytes.begin() + i, bytes.begin() + nEnd);
        size_t cbText = line.strRaw.size();
        if (cbText >= nUnit && line.strRaw[cbText - nUnit] == '\n' && (nUnit == 1 || line.strRaw[cbText - 1] == 0))
            cbText -= nUnit;
        if (m_encoding == ENCODING_UTF16)
            for (size_t k = 0; k + 1 < cbText; k += 2)
                line.strText.push_back(static_cast<WCHAR>(BYTE(line.strRaw[k]) | BYTE(line.strRaw[k + 1]) << 8));
        else if (m_encoding == ENCODING_UTF8)
            DecodeUtf8(line.strRaw.substr(0, cbText), &line.strText);
        else
            for (size_t k = 0; k < cbText; k++)
                line.strText.push_back(static_cast<WCHAR>(BYTE(line.strRaw[k])));
        if (line.strText.find(WCHAR(0)) != WString::npos)
            return Fail(ERROR_NOT_TEXT, static_cast<int>(m_lines.size()) + 1);
        if (!line.strText.empty() && line.strText.back() == '\r')
            line.strText.pop_back();
        m_lines.push_back(std::move(line));
        i = nEnd;
    }
    if (!m_lines.empty())
    {
        const ByteString &strFirst = m_lines[0].strRaw;
        bool bCrLf = strFirst.size() >= 2 * nUnit && strFirst[strFirst.size() - 2 * nUnit] == '\r';
        m_strEol = Encode(bCrLf ? TEXT("\r\n") : TEXT("\n"));
    }
    return true;
}

bool CRegFile::ParseKey(const WString &strText, int nLine)
{
    size_t nClose = strText.rfind(']');
    if (nClose == WString::npos || !Trimmed(strText.substr(nClose + 1)).empty())
        return Fail(ERROR_BAD_KEY, nLine + 1);
    Entry entry = {};
    entry.nFirst = entry.nLast = nLine;
    entry.bKey = true;
    WString strPath = strText.substr(1, nClose - 1);
    entry.bDelete = !strPath.empty() && strPath[0] == '-';
    if (entry.bDelete)
        strPath.erase(0, 1);
    size_t nSlash = std::min(strPath.find('\\'), strPath.size());
    WString strRoot = strPath.substr(0, nSlash);
    if (std::none_of(std::begin(ROOTS), std::end(ROOTS), [&](const WCHAR *psz) { return Folded(strRoot) == Folded(psz); }))
        return Fail(ERROR_BAD_KEY, nLine + 1);
    entry.strPath = nSlash < strPath.size() ? strPath.substr(nSlash + 1) : WString();
    std::vector<WString> components = Components(entry.strPath);
    if (components.size() > CRegTree::MAX_KEY_DEPTH || strPath.find(TEXT("\\\\")) != WString::npos)
        return Fail(ERROR_BAD_KEY, nLine + 1);
    entry.bMachine = Folded(strRoot) == Folded(MACHINE);
    m_nSection = static_cast<int>(m_entries.size());
    m_entries.push_back(entry);
    return true;
}

bool CRegFile::ParseValue(int *pnLine)
{
    const int nFirst = *pnLine;
    const WString strText = Trimmed(m_lines[nFirst].strText);
    if (m_nSection < 0)
        return Fail(ERROR_VALUE_OUTSIDE_KEY, nFirst + 1);
    const Entry &key = m_entries[m_nSection];
    Entry entry = {};
    entry.nFirst = entry.nLast = nFirst;
    entry.bMachine = key.bMachine && !key.bDelete;
    entry.strPath = key.strPath;
    size_t nAt = 0;
    if (strText[0] == '@')
        nAt = 1;
    else if (!ParseQuoted(strText, &nAt, &entry.strName))
        return Fail(ERROR_UNTERMINATED_STRING, nFirst + 1);
    while (nAt < strText.size() && IsSpace(strText[nAt]))
        nAt++;
    if (nAt >= strText.size() || strText[nAt] != '=')
        return Fail(ERROR_NOT_AN_ENTRY, nFirst + 1);
    WString strData = Trimmed(strText.substr(nAt + 1));
    RegValue &value = entry.value;
    DWORD dwNumber = 0;
    if (strData == TEXT("-"))
        entry.bDelete = true;
    else if (!strData.empty() && strData[0] == '"')
    {
        size_t nEnd = 0;
        WString strValue;
        if (!ParseQuoted(strData, &nEnd, &strValue))
            return Fail(ERROR_UNTERMINATED_STRING, nFirst + 1);
        if (nEnd != strData.size())
            return Fail(ERROR_NOT_AN_ENTRY, nFirst + 1);
        value.dwType = REG_SZ;
        for (WCHAR ch : strValue + WString(1, WCHAR(0)))
            value.data.insert(value.data.end(), { BYTE(ch), BYTE(ch >> 8) });
    }
    else if (StartsWithAscii(strData, 0, "dword:"))
    {
        if (!ParseHex(strData.substr(6), 8, &dwNumber))
            return Fail(ERROR_BAD_NUMBER, nFirst + 1);
        value.dwType = REG_DWORD;
        value.data = DwordBytes(dwNumber);
    }
    else if (StartsWithAscii(strData, 0, "hex"))
    {
        size_t nColon = strData.find(':');
        value.dwType = REG_BINARY;
        if (nColon == WString::npos ||
            (nColon != 3 && (strData[3] != '(' || strData[nColon - 1] != ')' ||
                             !ParseHex(strData.substr(4, nColon - 5), 8, &value.dwType))))
            return Fail(ERROR_BAD_NUMBER, nFirst + 1);
        // The bytes, over as many lines as end in a backslash.
        WString strBytes = strData.substr(nColon + 1);
        while (!strBytes.empty() && strBytes.back() == '\\')
        {
            strBytes.pop_back();
            if (++*pnLine >= static_cast<int>(m_lines.size()))
                return Fail(ERROR_TRUNCATED_CONTINUATION, *pnLine);
            strBytes += Trimmed(m_lines[*pnLine].strText);
        }
        entry.nLast = *pnLine;
        for (size_t nStart = 0; nStart < strBytes.size();)
        {
            size_t nEnd = std::min(strBytes.find(',', nStart), strBytes.size());
            if (!ParseHex(Trimmed(strBytes.substr(nStart, nEnd - nStart)), 2, &dwNumber) ||
                (nEnd + 1 == strBytes.size()))
                return Fail(ERROR_BAD_NUMBER, *pnLine + 1);
            value.data.push_back(static_cast<BYTE>(dwNumber));
            nStart = nEnd + 1;
        }
    }
    else
        return Fail(ERROR_NOT_AN_ENTRY, nFirst + 1);
    m_entries.push_back(entry);
    return true;
}

bool CRegFile::Parse(const std::vector<BYTE> &bytes)
{
    m_entries.clear();
    m_nSection = -1;
    m_tree = CRegTree();
    m_error = ERROR_NONE;
    if (!Decode(bytes))
        return false;
    WString strHeader = m_lines.empty() ? WString() : Trimmed(m_lines[0].strText);
    if (strHeader != Widen(HEADER5) && strHeader != Widen(HEADER4))
        return Fail(ERROR_NO_HEADER, 1);
    for (int i = 1; i < static_cast<int>(m_lines.size()); i++)
    {
        WString strText = Trimmed(m_lines[i].strText);
        if (strText.empty() || strText[0] == ';')
            continue;
        if (!(strText[0] == '[' ? ParseKey(strText, i) : strText[0] == '"' || strText[0] == '@' ? ParseValue(&i)
                                                                                                  : Fail(ERROR_NOT_AN_ENTRY, i + 1)))
            return false;
    }
    ApplyTo(m_tree);
    return true;
}

bool CRegFile::Mentions(const std::vector<RegSetting> &settings) const
{
    CNameIndex names;
    for (const RegSetting &setting : settings)
        names.Add(ValueKey(setting.strPath, setting.strName));
    names.Seal();
    for (const Entry &entry : m_entries)
        if (!entry.bKey && entry.bMachine && names.Find(ValueKey(entry.strPath, entry.strName)) >= 0)
            return true;
    return false;
}

bool CRegFile::OnlyMachineKeys()
{
    for (const Entry &entry : m_entries)
        if (entry.bKey && !entry.bMachine)
            return Fail(ERROR_NOT_MACHINE, entry.nFirst + 1);
    return true;
}

void CRegFile::Apply(const Entry &entry, CRegTree &tree) const
{
    if (entry.bKey)
    {
        if (entry.bDelete)
            tree.Delete(entry.strPath);
        else if (entry.bMachine)
            tree.Create(entry.strPath);
        return;
    }
    if (!entry.bMachine)
        return;
    CRegTree::Key *pKey = tree.Create(entry.strPath);
    if (entry.bDelete)
        pKey->DeleteValue(entry.strName);
    else
        pKey->SetValue(entry.strName, entry.value);
}

void CRegFile::ApplyTo(CRegTree &tree) const
{
    for (const Entry &entry : m_entries)
        if (entry.bMachine)
            Apply(entry, tree);
}
