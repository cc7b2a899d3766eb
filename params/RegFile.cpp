#include "RegFile.h"

#include "Names.h"
#include "TcpParams.h"
#include "TcpipKeys.h"

#include <algorithm>
#include <cstring>

namespace
{

const char HEADER4[] = "REGEDIT4";
const char HEADER5[] = "Windows Registry Editor Version 5.00";
const WCHAR MACHINE[] = TEXT("HKEY_LOCAL_MACHINE");
const WCHAR *const ROOTS[] = { TEXT("HKEY_LOCAL_MACHINE"), TEXT("HKEY_CURRENT_USER"), TEXT("HKEY_CLASSES_ROOT"),
                               TEXT("HKEY_USERS"), TEXT("HKEY_CURRENT_CONFIG") };
// The platform's limit; it also bounds the tree's depth.
const size_t MAX_KEY_DEPTH = 512;

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

int HexDigit(WCHAR ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    ch = Fold(ch);
    return ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : -1;
}

// 1 to nMaxDigits hex digits and nothing else.
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

// A quoted string from str[*pnAt] (the opening quote); false when it does
// not close. \\ and \" stand for themselves, \n for a line break.
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

// A string value's text when it is one: UTF-16, ended by its one zero.
bool StringOf(const RegValue &value, WString *pstr)
{
    size_t nChars = value.data.size() / 2;
    if (value.dwType != REG_SZ || value.data.size() % 2 || nChars == 0)
        return false;
    pstr->clear();
    for (size_t i = 0; i < nChars; i++)
    {
        WCHAR ch = static_cast<WCHAR>(value.data[2 * i] | value.data[2 * i + 1] << 8);
        if ((ch == 0) != (i + 1 == nChars))
            return false;
        if (ch)
            pstr->push_back(ch);
    }
    return true;
}

// The line regedit would write for the setting, without its end.
WString SettingLine(const RegSetting &setting)
{
    WString strLine = (setting.strName.empty() ? WString(TEXT("@")) : Quoted(setting.strName)) + TEXT("=");
    const RegValue &value = setting.value;
    WString strText;
    if (!setting.bPresent)
        return strLine + TEXT("-");
    if (value.dwType == REG_DWORD && value.data.size() == 4)
        return strLine + TEXT("dword:") +
               HexText(value.data[0] | value.data[1] << 8 | value.data[2] << 16 | DWORD(value.data[3]) << 24, 8);
    if (StringOf(value, &strText))
        return strLine + Quoted(strText);
    strLine += value.dwType == REG_BINARY ? WString(TEXT("hex:")) : TEXT("hex(") + HexNumber(value.dwType) + TEXT("):");
    for (size_t i = 0; i < value.data.size(); i++)
        strLine += (i ? TEXT(",") : TEXT("")) + HexText(value.data[i], 2);
    return strLine;
}

WString KeyLine(const WString &strPath)
{
    return TEXT("[") + WString(MACHINE) + TEXT("\\") + strPath + TEXT("]");
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

// UTF-8 when the bytes are valid UTF-8, else one byte a character.
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

// The folded path and name of a value, as one string to look up.
WString ValueKey(const WString &strPath, const WString &strName)
{
    return Folded(strPath) + WCHAR(0) + Folded(strName);
}

// Distinct strings, each found by its place among them once all are added.
class CNameIndex
{
public:
    void Add(const WString &str) { m_strings.push_back(str); }
    void Seal()
    {
        std::sort(m_strings.begin(), m_strings.end());
        m_strings.erase(std::unique(m_strings.begin(), m_strings.end()), m_strings.end());
    }
    int Size() const { return static_cast<int>(m_strings.size()); }
    // Its place, or -1 when it was not added.
    int Find(const WString &str) const
    {
        auto it = std::lower_bound(m_strings.begin(), m_strings.end(), str);
        return it != m_strings.end() && *it == str ? static_cast<int>(it - m_strings.begin()) : -1;
    }

private:
    std::vector<WString> m_strings;
};

} // namespace

// ---- The tree ----

namespace
{

const auto SubkeyName = [](const std::unique_ptr<CRegTree::Key> &key) -> const WString & { return key->name; };
const auto ValueName = [](const std::pair<WString, RegValue> &value) -> const WString & { return value.first; };

// A value of any type and size; false when there is none.
bool ReadValue(IRegistry &registry, HKEY hKey, const WCHAR *pszName, RegValue *pValue)
{
    DWORD cbData = 0;
    if (registry.QueryValue(hKey, pszName, &pValue->dwType, nullptr, &cbData) != ERROR_SUCCESS)
        return false;
    pValue->data.resize(cbData);
    if (registry.QueryValue(hKey, pszName, &pValue->dwType, pValue->data.data(), &cbData) != ERROR_SUCCESS)
        return false;
    pValue->data.resize(cbData);
    return true;
}

bool WriteKey(IRegistry &registry, const CRegTree::Key &key, const WString &strPath)
{
    bool bAll = true;
    HKEY hKey = nullptr;
    if (!strPath.empty())
    {
        if (registry.CreateKey(HKEY_LOCAL_MACHINE, strPath.c_str(), &hKey) != ERROR_SUCCESS)
            return false;
        for (const auto &value : key.values)
            bAll &= registry.SetValue(hKey, value.first.c_str(), value.second.dwType, value.second.data.data(),
                                      static_cast<DWORD>(value.second.data.size())) == ERROR_SUCCESS;
        registry.CloseKey(hKey);
    }
    for (const auto &subkey : key.subkeys)
        bAll &= WriteKey(registry, *subkey, (strPath.empty() ? WString() : strPath + TEXT("\\")) + subkey->name);
    return bAll;
}

} // namespace

CRegTree::Key *CRegTree::Key::Subkey(const WString &strName) const
{
    size_t nSlot = FindSlot(subkeys, strName, SubkeyName);
    return Found(subkeys, nSlot, strName, SubkeyName) ? subkeys[nSlot].get() : nullptr;
}

const RegValue *CRegTree::Key::Value(const WString &strName) const
{
    size_t nSlot = FindSlot(values, strName, ValueName);
    return Found(values, nSlot, strName, ValueName) ? &values[nSlot].second : nullptr;
}

// The name is kept as last written, as an import leaves it.
void CRegTree::Key::SetValue(const WString &strName, const RegValue &value)
{
    size_t nSlot = FindSlot(values, strName, ValueName);
    if (Found(values, nSlot, strName, ValueName))
        values[nSlot] = { strName, value };
    else
        values.insert(values.begin() + nSlot, { strName, value });
}

void CRegTree::Key::DeleteValue(const WString &strName)
{
    size_t nSlot = FindSlot(values, strName, ValueName);
    if (Found(values, nSlot, strName, ValueName))
        values.erase(values.begin() + nSlot);
}

CRegTree::Key *CRegTree::Find(const WString &strPath) const
{
    const Key *pKey = &m_root;
    for (const WString &name : Components(strPath))
        if (!(pKey = pKey->Subkey(name)))
            return nullptr;
    return const_cast<Key *>(pKey);
}

CRegTree::Key *CRegTree::Create(const WString &strPath)
{
    Key *pKey = &m_root;
    for (const WString &name : Components(strPath))
    {
        size_t nSlot = FindSlot(pKey->subkeys, name, SubkeyName);
        if (!Found(pKey->subkeys, nSlot, name, SubkeyName))
        {
            pKey->subkeys.insert(pKey->subkeys.begin() + nSlot, std::unique_ptr<Key>(new Key));
            pKey->subkeys[nSlot]->name = name;
        }
        pKey = pKey->subkeys[nSlot].get();
    }
    return pKey;
}

void CRegTree::Delete(const WString &strPath)
{
    std::vector<WString> components = Components(strPath);
    if (components.empty())
        return;
    WString strName = components.back();
    components.pop_back();
    Key *pKey = &m_root;
    for (const WString &name : components)
        if (!(pKey = pKey->Subkey(name)))
            return;
    size_t nSlot = FindSlot(pKey->subkeys, strName, SubkeyName);
    if (Found(pKey->subkeys, nSlot, strName, SubkeyName))
        pKey->subkeys.erase(pKey->subkeys.begin() + nSlot);
}

bool CRegTree::Get(const WString &strPath, const WString &strName, RegValue *pValue) const
{
    const Key *pKey = Find(strPath);
    const RegValue *pFound = pKey ? pKey->Value(strName) : nullptr;
    if (pFound)
        *pValue = *pFound;
    return pFound != nullptr;
}

void CRegTree::ReadFrom(IRegistry &registry, const WString &strPath)
{
    HKEY hKey = nullptr;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, strPath.c_str(), &hKey) != ERROR_SUCCESS)
        return;
    Key *pKey = Create(strPath);
    WCHAR szName[256];
    DWORD cchName = 256, dwType = 0;
    RegValue value;
    for (DWORD i = 0; registry.EnumValue(hKey, i, szName, &cchName, &dwType) == ERROR_SUCCESS; i++, cchName = 256)
        if (ReadValue(registry, hKey, szName, &value))
            pKey->SetValue(szName, value);
    std::vector<WString> children;
    for (DWORD i = 0; cchName = 256, registry.EnumKey(hKey, i, szName, &cchName) == ERROR_SUCCESS; i++)
        children.push_back(szName);
    registry.CloseKey(hKey);
    if (Components(strPath).size() < MAX_KEY_DEPTH)
        for (const WString &child : children)
            ReadFrom(registry, strPath + TEXT("\\") + child);
}

bool CRegTree::WriteTo(IRegistry &registry) const
{
    return WriteKey(registry, m_root, WString());
}

// ---- Reading a file ----

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
    if (components.size() > MAX_KEY_DEPTH || strPath.find(TEXT("\\\\")) != WString::npos)
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
        value.data = { BYTE(dwNumber), BYTE(dwNumber >> 8), BYTE(dwNumber >> 16), BYTE(dwNumber >> 24) };
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

// ---- Writing ----

ByteString CRegFile::Encode(const WString &strText) const
{
    ByteString str;
    for (size_t i = 0; i < strText.size(); i++)
    {
        unsigned long code = strText[i];
        if (m_encoding == ENCODING_UTF16)
            str.append({ char(code & 0xFF), char(code >> 8) });
        else if (m_encoding == ENCODING_LATIN1)
            str.push_back(code < 0x100 ? char(code) : '?');
        else
        {
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
    }
    return str;
}

std::vector<BYTE> CRegFile::Rewrite(const std::vector<RegSetting> &settings) const
{
    // Which lines each setting's value already has, and where its key's
    // last section ends.
    CNameIndex values, keys;
    for (const RegSetting &setting : settings)
    {
        values.Add(ValueKey(setting.strPath, setting.strName));
        keys.Add(Folded(setting.strPath));
    }
    values.Seal();
    keys.Seal();
    std::vector<std::vector<const Entry *>> valueEntries(values.Size());
    std::vector<int> sectionEnds(keys.Size(), -1);   // the last line that is not blank
    for (size_t i = 0; i < m_entries.size(); i++)
    {
        const Entry &entry = m_entries[i];
        if (!entry.bKey)
        {
            int nValue = entry.bMachine ? values.Find(ValueKey(entry.strPath, entry.strName)) : -1;
            if (nValue >= 0)
                valueEntries[nValue].push_back(&entry);
            continue;
        }
        int nKey = keys.Find(Folded(entry.strPath));
        if (nKey < 0)
            continue;
        sectionEnds[nKey] = -1;
        if (!entry.bMachine || entry.bDelete)
            continue;
        int nEnd = static_cast<int>(m_lines.size()) - 1;
        for (size_t k = i + 1; k < m_entries.size(); k++)
            if (m_entries[k].bKey)
            {
                nEnd = m_entries[k].nFirst - 1;
                break;
            }
        while (nEnd > entry.nFirst && Trimmed(m_lines[nEnd].strText).empty())
            nEnd--;
        sectionEnds[nKey] = nEnd;
    }

    std::vector<std::vector<WString>> replacements(m_lines.size());   // for the line; empty: removed
    std::vector<bool> replaced(m_lines.size());
    std::vector<std::vector<WString>> inserts(m_lines.size());        // after the line
    std::vector<RegSetting> appended;
    for (const RegSetting &setting : settings)
    {
        RegValue current;
        bool bPresent = m_tree.Get(setting.strPath, setting.strName, &current);
        if (bPresent == setting.bPresent && (!bPresent || current == setting.value))
            continue;
        const std::vector<const Entry *> &entries = valueEntries[values.Find(ValueKey(setting.strPath, setting.strName))];
        if (!entries.empty())
        {
            // An absent value loses every line that set it; a present one
            // takes the place of the last.
            for (const Entry *pEntry : entries)
                if (!setting.bPresent ? !pEntry->bDelete : pEntry == entries.back())
                    for (int i = pEntry->nFirst; i <= pEntry->nLast; i++)
                    {
                        replaced[i] = true;
                        replacements[i].clear();
                        if (setting.bPresent && i == pEntry->nFirst)
                            replacements[i].push_back(SettingLine(setting));
                    }
            continue;
        }
        if (!setting.bPresent)
            continue;
        int nSectionEnd = sectionEnds[keys.Find(Folded(setting.strPath))];
        if (nSectionEnd >= 0)
            inserts[nSectionEnd].push_back(SettingLine(setting));
        else
            appended.push_back(setting);
    }

    ByteString strOut;
    if (m_bBom)
        strOut = m_encoding == ENCODING_UTF16 ? "\xFF\xFE" : "\xEF\xBB\xBF";
    const ByteString strNewline = Encode(TEXT("\n"));
    for (size_t i = 0; i < m_lines.size(); i++)
    {
        const ByteString &strRaw = m_lines[i].strRaw;
        bool bEnded = strRaw.size() >= strNewline.size() &&
                      strRaw.compare(strRaw.size() - strNewline.size(), strNewline.size(), strNewline) == 0;
        if (!replaced[i])
            strOut += strRaw;
        for (const WString &strLine : replacements[i])
            strOut += Encode(strLine) + m_strEol;
        if (!replaced[i] && !bEnded && (!inserts[i].empty() || (i + 1 == m_lines.size() && !appended.empty())))
            strOut += m_strEol;
        for (const WString &strLine : inserts[i])
            strOut += Encode(strLine) + m_strEol;
    }
    AppendSections(appended, &strOut);
    // A file that deletes keys and sets them again may hide a value from the
    // lines above; one more section at the end then says what it holds.
    CRegFile written;
    std::vector<RegSetting> missed;
    written.Parse(std::vector<BYTE>(strOut.begin(), strOut.end()));
    for (const RegSetting &setting : settings)
    {
        RegValue value;
        bool bPresent = written.m_tree.Get(setting.strPath, setting.strName, &value);
        if (bPresent != setting.bPresent || (bPresent && !(value == setting.value)))
            missed.push_back(setting);
    }
    AppendSections(missed, &strOut);
    return std::vector<BYTE>(strOut.begin(), strOut.end());
}

// A section for each key, in the order the settings first name it.
void CRegFile::AppendSections(const std::vector<RegSetting> &settings, ByteString *pstrOut) const
{
    CNameIndex keys;
    for (const RegSetting &setting : settings)
        keys.Add(Folded(setting.strPath));
    keys.Seal();
    std::vector<std::vector<const RegSetting *>> byKey(keys.Size());
    std::vector<int> order;   // the keys by first mention
    for (const RegSetting &setting : settings)
    {
        int nKey = keys.Find(Folded(setting.strPath));
        if (byKey[nKey].empty())
            order.push_back(nKey);
        byKey[nKey].push_back(&setting);
    }
    for (int nKey : order)
    {
        *pstrOut += m_strEol + Encode(KeyLine(byKey[nKey].front()->strPath)) + m_strEol;
        for (const RegSetting *pSetting : byKey[nKey])
            *pstrOut += Encode(SettingLine(*pSetting)) + m_strEol;
    }
}

std::vector<BYTE> CRegFile::Format(const std::vector<RegSetting> &settings)
{
    CRegFile file;
    file.m_strEol = file.Encode(TEXT("\r\n"));
    ByteString strOut = "\xFF\xFE" + file.Encode(Widen(HEADER5)) + file.m_strEol;
    file.AppendSections(settings, &strOut);
    return std::vector<BYTE>(strOut.begin(), strOut.end());
}

// ---- The program's values ----

std::vector<RegSetting> ManagedSettings(IRegistry &registry, const CTcpParams &params)
{
    using namespace TcpipKeys;
    std::vector<RegSetting> settings;
    auto add = [&](const WString &strPath, const WCHAR *pszName) {
        RegSetting setting;
        setting.strPath = strPath;
        setting.strName = pszName;
        HKEY hKey = nullptr;
        if (registry.OpenKey(HKEY_LOCAL_MACHINE, strPath.c_str(), &hKey) == ERROR_SUCCESS)
        {
            setting.bPresent = ReadValue(registry, hKey, pszName, &setting.value);
            registry.CloseKey(hKey);
        }
        settings.push_back(setting);
    };
    WString strStack = WString(COMM) + STACK_PARMS;
    for (const WCHAR *pszName : { TCP_WINDOW_SIZE, DEFAULT_TTL, ENABLE_PMTU_DISCOVERY, SACK_OPTS, TCP1323_OPTS })
        add(strStack, pszName);
    for (int i = 0; i < params.m_nAdapters; i++)
        add(WString(COMM) + SEPARATOR + static_cast<const WCHAR *>(params.m_pAdapters[i].m_strKeyName) + ADAPTER_PARMS,
            TCP_WINDOW_SIZE);
    return settings;
}
