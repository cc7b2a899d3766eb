#include "RegFile.h"

#include "NameIndex.h"

#include <algorithm>

using namespace RegFormat;

namespace
{

const WCHAR *const ROOTS[] = { TEXT("HKEY_LOCAL_MACHINE"), TEXT("HKEY_CURRENT_USER"), TEXT("HKEY_CLASSES_ROOT"),
                               TEXT("HKEY_USERS"), TEXT("HKEY_CURRENT_CONFIG"), TEXT("HKEY_DYN_DATA") };

// A regedit header exactly, blanks allowed in front only.
bool IsHeader(const WString &strText)
{
    WString strHeader = strText.substr(SkipBlanks(strText, 0));
    return strHeader == Widen(HEADER4) || strHeader == Widen(HEADER5);
}

// What regedit skips without a word, besides blank lines: comments, and the
// end-of-file mark some editors leave.
bool IsRegeditComment(WCHAR ch)
{
    return ch == ';' || ch == '#' || ch == 0x1A;
}

class CNoVariables : public IBuildVariables
{
public:
    bool Lookup(const WString &, WString *) const override { return false; }
};

} // namespace

bool CRegFile::Fail(Error error, int nLine)
{
    m_error = error;
    m_nErrorLine = nLine;
    return false;
}

// Lines end in CR LF, CR or LF, as regedit splits them.
void CRegFile::DecodeLines(const std::vector<BYTE> &bytes, size_t nStart)
{
    m_lines.clear();
    const size_t nUnit = m_encoding == ENCODING_UTF16 ? 2 : 1;
    auto unit = [&](size_t i) -> WCHAR { return nUnit == 1 ? bytes[i] : WCHAR(bytes[i] | bytes[i + 1] << 8); };
    for (size_t i = nStart; i + nUnit <= bytes.size();)
    {
        size_t nEnd = i;
        while (nEnd + nUnit <= bytes.size() && unit(nEnd) != '\n' && unit(nEnd) != '\r')
            nEnd += nUnit;
        size_t nNext = std::min(nEnd + nUnit, bytes.size());
        if (nNext + nUnit <= bytes.size() && unit(nEnd) == '\r' && unit(nNext) == '\n')
            nNext += nUnit;
        Line line;
        line.strRaw.assign(bytes.begin() + i, bytes.begin() + nNext);
        if (m_encoding == ENCODING_UTF8)
            DecodeUtf8(line.strRaw.substr(0, nEnd - i), &line.strText);
        else
            for (size_t k = i; k < nEnd; k += nUnit)
                line.strText.push_back(nUnit == 1 ? FromWindows1252(bytes[k]) : unit(k));
        m_lines.push_back(std::move(line));
        i = nNext;
    }
}

// An image's file is read as UTF-8 when it is (or says so with a byte order
// mark), else as Windows-1252; regedit reads every file without a UTF-16
// byte order mark as ANSI.
bool CRegFile::Decode(const std::vector<BYTE> &bytes)
{
    bool bUtf16 = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    bool bUtf8Bom = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    if (bUtf16 && bytes.size() % 2)
        return Fail(ERROR_NOT_TEXT, 1);
    m_encoding = bUtf16 ? ENCODING_UTF16 : ENCODING_WINDOWS_1252;
    m_bBom = bUtf16 || bUtf8Bom;
    size_t nStart = bUtf16 ? 2 : bUtf8Bom ? 3 : 0;
    DecodeLines(bytes, nStart);
    if (!DecideDialect(bUtf8Bom))
        return false;
    WString strIgnored;
    if (m_dialect == DIALECT_IMAGE && !bUtf16 &&
        DecodeUtf8(ByteString(bytes.begin() + nStart, bytes.end()), &strIgnored))
    {
        m_encoding = ENCODING_UTF8;
        DecodeLines(bytes, nStart);
    }
    else if (bUtf8Bom)
        return Fail(ERROR_NOT_TEXT, 1);
    for (size_t i = 0; i < m_lines.size(); i++)
        if (m_lines[i].strText.find(WCHAR(0)) != WString::npos)
            return Fail(ERROR_NOT_TEXT, static_cast<int>(i) + 1);
    m_strEol = m_encoding == ENCODING_UTF16 ? ByteString("\r\0\n\0", 4) : ByteString("\r\n");
    for (int i = 0; i < static_cast<int>(m_lines.size()); i++)
        if (!LineEnd(i).empty())
        {
            m_strEol = LineEnd(i);
            break;
        }
    return true;
}

// A regedit header on the first line; else an image's file begins (after
// blank lines and comments) with a key, an IF or a # line.
bool CRegFile::DecideDialect(bool bUtf8Bom)
{
    if (!m_lines.empty() && IsHeader(m_lines[0].strText))
    {
        m_dialect = DIALECT_REGEDIT;
        return !bUtf8Bom || Fail(ERROR_UTF8_BOM, 1);
    }
    m_dialect = DIALECT_IMAGE;
    for (const Line &line : m_lines)
    {
        WString strText = Trimmed(line.strText);
        if (strText.empty() || strText[0] == ';')
            continue;
        if (strText[0] == '[' || strText[0] == '#' || IsDirective(strText))
            return true;
        break;
    }
    return Fail(ERROR_NO_HEADER, 1);
}

ByteString CRegFile::LineEnd(int nLine) const
{
    const ByteString &strRaw = m_lines[nLine].strRaw;
    const size_t nUnit = m_encoding == ENCODING_UTF16 ? 2 : 1;
    size_t nEnd = strRaw.size();
    while (nEnd >= nUnit && (strRaw[nEnd - nUnit] == '\r' || strRaw[nEnd - nUnit] == '\n') && (nUnit == 1 || strRaw[nEnd - 1] == 0))
        nEnd -= nUnit;
    return strRaw.substr(nEnd);
}

bool CRegFile::Taken() const
{
    return m_open.empty() || m_branches[m_open.back()].bTaken;
}

// An image's line with its $(NAME)s replaced; regedit's as it stands.
WString CRegFile::LineText(int nLine)
{
    const WString &strText = m_lines[nLine].strText;
    return m_dialect == DIALECT_IMAGE ? Substituted(strText) : strText;
}

bool CRegFile::ParseKey(const WString &strText, int nLine)
{
    const bool bUndefined = m_bUndefined;
    // regedit takes the key to the last "]" and ignores what follows; an
    // image's file allows only a comment there.
    size_t nOpen = SkipBlanks(strText, 0), nClose = strText.rfind(']');
    if (nClose == WString::npos || (nOpen + 1 < strText.size() && IsSpace(strText[nOpen + 1])) ||
        (m_dialect == DIALECT_IMAGE && !EndsEntry(strText, nClose + 1)))
        return Fail(ERROR_BAD_KEY, nLine + 1);
    Entry entry = {};
    entry.nFirst = entry.nLast = nLine;
    entry.bKey = true;
    entry.bApplies = Taken();
    entry.bUndefined = bUndefined;
    entry.bVaries = m_bVaries;
    WString strPath = strText.substr(nOpen + 1, nClose - nOpen - 1);
    entry.bDelete = !strPath.empty() && strPath[0] == '-';
    if (entry.bDelete)
        strPath.erase(0, 1);
    size_t nSlash = std::min(strPath.find('\\'), strPath.size());
    WString strRoot = strPath.substr(0, nSlash);
    bool bRoot = std::any_of(std::begin(ROOTS), std::end(ROOTS), [&](const WCHAR *psz) { return Folded(strRoot) == Folded(psz); });
    std::vector<WString> names = Components(nSlash < strPath.size() ? strPath.substr(nSlash + 1) : WString());
    for (const WString &strName : names)
        entry.strPath += (entry.strPath.empty() ? WString() : TEXT("\\")) + strName;
    if (bUndefined)
        entry.strKnown = strPath.substr(0, strPath.find(TEXT("$(")));
    // A key whose root is a name defined nowhere is no key of the tree's.
    if (!bRoot && !(bUndefined && entry.strKnown.size() <= nSlash))
        return Fail(ERROR_BAD_KEY, nLine + 1);
    if ((entry.bDelete && entry.strPath.empty()) || names.size() > CRegTree::MAX_KEY_DEPTH)
        return Fail(ERROR_BAD_KEY, nLine + 1);
    entry.bMachine = bRoot && Folded(strRoot) == Folded(MACHINE);
    if (entry.bApplies)
        m_nSection = static_cast<int>(m_entries.size());
    m_nLastKey = static_cast<int>(m_entries.size());
    m_entries.push_back(entry);
    return true;
}

bool CRegFile::ParseValue(const WString &strText, int *pnLine)
{
    const int nFirst = *pnLine;
    Entry entry = {};
    entry.nFirst = entry.nLast = nFirst;
    entry.bApplies = Taken();
    int nKey = entry.bApplies ? m_nSection : m_nLastKey;
    if (nKey < 0)
        return Fail(ERROR_VALUE_OUTSIDE_KEY, nFirst + 1);
    const Entry &key = m_entries[nKey];
    entry.bMachine = key.bMachine && !key.bDelete;
    entry.strPath = key.strPath;
    // The key is certain when its line applies wherever this one does.
    int nKeyBranch = m_lines[m_entries[m_nLastKey].nFirst].nBranch, nBranch = m_open.empty() ? -1 : m_open.back();
    while (nBranch != nKeyBranch && nBranch >= 0)
        nBranch = m_branches[nBranch].nParent;
    entry.bKeyCertain = nKey == m_nLastKey && nBranch == nKeyBranch && !m_entries[nKey].bVaries;

    size_t nAt = SkipBlanks(strText, 0);
    if (strText[nAt] == '@')
        nAt++;
    else
        switch (ParseQuoted(strText, &nAt, &entry.strName))
        {
        case UNQUOTED_OPEN:
            return Fail(ERROR_UNTERMINATED_STRING, nFirst + 1);
        case UNQUOTED_NUL:
            return Fail(ERROR_BAD_ESCAPE, nFirst + 1);
        case UNQUOTED:
            break;
        }
    nAt = SkipBlanks(strText, nAt);
    if (nAt >= strText.size() || strText[nAt] != '=')
        return Fail(ERROR_NOT_AN_ENTRY, nFirst + 1);
    WString strData = strText.substr(SkipBlanks(strText, nAt + 1));
    while (!strData.empty() && IsSpace(strData.back()))
        strData.pop_back();
    // A value that would read only with a name defined stays as it is, and
    // sets nothing; DefinesNeededNames refuses it where Marlin needs it.
    if (!ParseData(entry, strData, pnLine))
    {
        if (!m_bUndefined)
            return false;
        m_error = ERROR_NONE;
        entry.bOpaque = true;
    }
    entry.bUndefined = m_bUndefined;
    entry.bVaries = m_bVaries;
    entry.nLast = *pnLine;
    m_entries.push_back(entry);
    return true;
}

bool CRegFile::Parse(const std::vector<BYTE> &bytes)
{
    return Parse(bytes, CNoVariables());
}

bool CRegFile::Parse(const std::vector<BYTE> &bytes, const IBuildVariables &variables)
{
    m_entries.clear();
    m_branches.clear();
    m_open.clear();
    m_defines.clear();
    m_varying.clear();
    m_variables = CVariableTable();
    m_pVariables = &variables;
    m_nSection = m_nLastKey = -1;
    m_nOpenAtEnd = INT_MAX;
    m_tree = CRegTree();
    m_error = ERROR_NONE;
    if (!Decode(bytes))
        return false;
    for (int i = m_dialect == DIALECT_REGEDIT ? 1 : 0; i < static_cast<int>(m_lines.size()); i++)
    {
        m_lines[i].nBranch = m_open.empty() ? -1 : m_open.back();
        const WString &strRaw = m_lines[i].strText;
        size_t nAt = SkipBlanks(strRaw, 0);
        WCHAR ch = nAt < strRaw.size() ? strRaw[nAt] : WCHAR(0);
        if (m_dialect == DIALECT_IMAGE && (ch == '#' || IsDirective(strRaw.substr(nAt))))
        {
            if (!ParseDirective(i))
                return false;
            continue;
        }
        if (ch == 0 || ch == ';' || (m_dialect == DIALECT_REGEDIT && IsRegeditComment(ch)))
            continue;
        m_bUndefined = m_bVaries = false;
        WString strText = LineText(i);
        if (!(ch == '[' ? ParseKey(strText, i)
              : ch == '"' || ch == '@' ? ParseValue(strText, &i)
                                       : Fail(ERROR_NOT_AN_ENTRY, i + 1)))
            return false;
    }
    if (!m_open.empty())
        return Fail(ERROR_UNCLOSED_IF, m_branches[m_open.back()].nIfLine + 1);
    m_pVariables = nullptr;
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
        if (!entry.bKey && entry.bApplies && entry.bMachine && names.Find(ValueKey(entry.strPath, entry.strName)) >= 0)
            return true;
    return false;
}

bool CRegFile::OnlyMachineKeys()
{
    for (const Entry &entry : m_entries)
        if (entry.bKey && entry.bApplies && !entry.bMachine)
            return Fail(ERROR_NOT_MACHINE, entry.nFirst + 1);
    return true;
}

bool CRegFile::DefinesNeededNames(const WString &strKey, const std::vector<RegSetting> &values)
{
    const WString strNeeded = Folded(WString(MACHINE) + TEXT("\\") + strKey + TEXT("\\"));
    for (const Entry &entry : m_entries)
    {
        if (!entry.bApplies || !entry.bUndefined)
            continue;
        WString strKnown = Folded(entry.strKnown);
        if (entry.bKey && (strNeeded.compare(0, strKnown.size(), strKnown) == 0 || strKnown.compare(0, strNeeded.size(), strNeeded) == 0))
            return Fail(ERROR_UNDEFINED_NAME, entry.nFirst + 1);
        for (const RegSetting &value : values)
            if (!entry.bKey && entry.bMachine && ValueKey(entry.strPath, entry.strName) == ValueKey(value.strPath, value.strName))
                return Fail(ERROR_UNDEFINED_NAME, entry.nFirst + 1);
    }
    return true;
}

// The entry decides the value when it sets or deletes it, or deletes its key.
bool CRegFile::Decides(const Entry &entry, const RegSetting &setting)
{
    if (!entry.bMachine || entry.bOpaque || (entry.bKey && !entry.bDelete))
        return false;
    if (!entry.bKey)
        return ValueKey(entry.strPath, entry.strName) == ValueKey(NormalPath(setting.strPath), setting.strName);
    WString strAbove = Folded(entry.strPath) + TEXT("\\"), strBelow = Folded(NormalPath(setting.strPath)) + TEXT("\\");
    return strBelow.compare(0, strAbove.size(), strAbove) == 0;
}

// Under other variables the entry may decide it too: a value of its name
// whose key depends on them, or whose text does; a deletion of a key named
// in part by a $(NAME) defined nowhere, or one an IF block may define.
bool CRegFile::MayDecide(const Entry &entry, const RegSetting &setting)
{
    if (Decides(entry, setting) || (entry.bDelete && (entry.bUndefined || entry.bVaries)))
        return true;
    return !entry.bKey && (entry.bVaries || ((!entry.bKeyCertain || entry.bOpaque) && Folded(entry.strName) == Folded(setting.strName)));
}

int CRegFile::DecidingLine(const WString &strPath, const WString &strName) const
{
    RegSetting setting;
    setting.strPath = strPath;
    setting.strName = strName;
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
        if (it->bApplies && Decides(*it, setting))
            return it->nFirst + 1;
    return 0;
}

bool CRegFile::LineApplies(int nLine) const
{
    int nBranch = m_lines[nLine - 1].nBranch;
    return nBranch < 0 || m_branches[nBranch].bTaken;
}

void CRegFile::Apply(const Entry &entry, CRegTree &tree) const
{
    if (entry.bKey)
    {
        if (entry.bDelete)
            tree.Delete(entry.strPath);
        else
            tree.Create(entry.strPath);
        return;
    }
    CRegTree::Key *pKey = tree.Create(entry.strPath);
    if (entry.bDelete)
        pKey->DeleteValue(entry.strName);
    else
        pKey->SetValue(entry.strName, entry.value);
}

void CRegFile::ApplyTo(CRegTree &tree) const
{
    for (const Entry &entry : m_entries)
        if (entry.bApplies && entry.bMachine && !entry.bOpaque)
            Apply(entry, tree);
}
