#include "RegFile.h"

#include "NameIndex.h"

#include <algorithm>
#include <climits>

using namespace RegFormat;

namespace
{

bool Holds(const CRegTree &tree, const RegSetting &setting)
{
    RegValue value;
    bool bPresent = tree.Get(setting.strPath, setting.strName, &value);
    return bPresent == setting.bPresent && (!bPresent || value == setting.value);
}

bool IsKeyLine(const WString &strText)
{
    size_t nAt = SkipBlanks(strText, 0);
    return nAt < strText.size() && strText[nAt] == '[';
}

// Where the data of a value line starts, after its name and "=", and where
// it ends, before blanks and a comment.
void FindData(const WString &strText, size_t *pnStart, size_t *pnEnd)
{
    size_t nAt = SkipBlanks(strText, 0);
    WString strName;
    if (strText[nAt] == '@')
        nAt++;
    else
        ParseQuoted(strText, &nAt, &strName);
    nAt = SkipBlanks(strText, SkipBlanks(strText, nAt) + 1);
    *pnStart = nAt;
    bool bQuoted = false;
    for (; nAt < strText.size() && (bQuoted || strText[nAt] != ';'); nAt++)
        if (strText[nAt] == '\\' && bQuoted)
            nAt++;
        else if (strText[nAt] == '"')
            bQuoted = !bQuoted;
    nAt = std::min(nAt, strText.size());
    while (nAt > *pnStart && IsSpace(strText[nAt - 1]))
        nAt--;
    *pnEnd = nAt;
}

} // namespace

// The lines a rewrite emits in place of the file's.
struct CRegFile::Edits
{
    struct LineEdit
    {
        bool bReplaced = false;   // by its text below, or by nothing
        bool bHasText = false;
        WString strText;
        ByteString strEnd;
        std::vector<WString> inserts;                   // after the line
        std::vector<const RegSetting *> sectionsBefore;   // new sections in front of it
    };
    std::vector<LineEdit> lines;
    std::vector<const RegSetting *> appended;   // in sections of their own at the end
};

bool CRegFile::Encode(const WString &strText, ByteString *pstrOut) const
{
    if (m_encoding == ENCODING_UTF8)
        return EncodeUtf8(strText, pstrOut);
    for (WCHAR ch : strText)
    {
        char chAnsi = 0;
        if (m_encoding == ENCODING_UTF16)
            pstrOut->append({ char(ch & 0xFF), char(ch >> 8) });
        else if (ToWindows1252(ch, &chAnsi))
            pstrOut->push_back(chAnsi);
        else
            return false;
    }
    return true;
}

// The value's deciding line with the new data in place of the old: the
// indentation, the name as written, the comment and a number's digits
// (how many, which case) stay.
bool CRegFile::RewrittenLine(const Entry &entry, const RegSetting &setting, WString *pstrLine) const
{
    const WString &strText = m_lines[entry.nFirst].strText;
    size_t nStart = 0, nEnd = 0;
    FindData(strText, &nStart, &nEnd);
    WString strData;
    const RegValue &value = setting.value;
    size_t nDigits = SkipBlanks(strText, nStart + 6), nDigitsEnd = nDigits;
    while (nDigitsEnd < nEnd && IsHexDigit(strText[nDigitsEnd]))
        nDigitsEnd++;
    // Digits as they stand (not a $(NAME) that gives them).
    if (!entry.bDelete && entry.value.dwType == REG_DWORD && nDigitsEnd == nEnd && value.dwType == REG_DWORD &&
        value.data.size() == 4)
    {
        WString strOld = strText.substr(nDigits, nDigitsEnd - nDigits);
        nStart = nDigits;
        strData = HexNumber(DwordOf(value.data.data()));
        if (strData.size() < strOld.size())
            strData.insert(0, strOld.size() - strData.size(), '0');
        if (strOld != Folded(strOld))
            for (WCHAR &ch : strData)
                ch = ch >= 'a' && ch <= 'f' ? WCHAR(ch - 'a' + 'A') : ch;
    }
    else if (!FormatData(value, &strData))
        return false;
    *pstrLine = strText.substr(0, nStart) + strData + strText.substr(nEnd);
    return true;
}

// Where a value absent under the variables gets its new line:
// 1. at the end of the last section of its key that applies, lies after
//    the line that decides it now, and before every line that may decide
//    it under other variables;
// 2. failing that, when such a line exists, in a section of its own in front
//    of a key that no IF holds, between those lines;
// 3. else in a section of its own at the end.
// Lines that may decide the value elsewhere come later, so they still do.
// A value the file ends inside would take what follows it as its own.
bool CRegFile::PlanInsert(const RegSetting &setting, int nAfter, Edits *pEdits) const
{
    int nElsewhere = INT_MAX;
    for (const Entry &entry : m_entries)
        if (!entry.bApplies && MayDecide(entry, setting))
        {
            nElsewhere = entry.nFirst;
            break;
        }
    const int nBefore = std::min(nElsewhere, m_nOpenAtEnd);
    const Entry *pKey = nullptr, *pTop = nullptr;
    for (const Entry &entry : m_entries)
        if (entry.bKey && entry.nFirst > nAfter && entry.nFirst < nBefore)
        {
            if (!entry.bDelete && entry.bMachine && entry.bApplies && Folded(entry.strPath) == Folded(NormalPath(setting.strPath)))
                pKey = &entry;
            if (m_lines[entry.nFirst].nBranch < 0)
                pTop = &entry;
        }
    if (pKey)
    {
        int nEnd = pKey->nFirst;
        for (int i = nEnd + 1; i < static_cast<int>(m_lines.size()) && i < nBefore; i++)
        {
            const Line &line = m_lines[i];
            if (line.bDirective || line.nBranch != m_lines[pKey->nFirst].nBranch || IsKeyLine(line.strText))
                break;
            if (!Trimmed(line.strText).empty())
                nEnd = i;
        }
        // Indented as the value it follows.
        WString strIndent, strLine;
        for (const Entry &entry : m_entries)
            if (!entry.bKey && entry.nFirst <= nEnd && nEnd <= entry.nLast)
                strIndent = m_lines[entry.nFirst].strText.substr(0, SkipBlanks(m_lines[entry.nFirst].strText, 0));
        if (!SettingLine(setting, &strLine))
            return false;
        pEdits->lines[nEnd].inserts.push_back(strIndent + strLine);
    }
    else if (nBefore == INT_MAX)
        pEdits->appended.push_back(&setting);
    else if (pTop)
        pEdits->lines[pTop->nFirst].sectionsBefore.push_back(&setting);
    else
        return false;
    return true;
}

// An absent value loses the lines that set it under the variables; a present
// one takes the place of the line that decides it, or a new line.
bool CRegFile::PlanEdits(const std::vector<RegSetting> &settings, Edits *pEdits) const
{
    pEdits->lines.resize(m_lines.size());
    for (const RegSetting &setting : settings)
    {
        if (Holds(m_tree, setting))
            continue;
        const Entry *pDeciding = nullptr;
        for (const Entry &entry : m_entries)
            if (entry.bApplies && Decides(entry, setting))
                pDeciding = &entry;
        if (!setting.bPresent)
        {
            for (const Entry &entry : m_entries)
                if (entry.bApplies && !entry.bKey && !entry.bDelete && Decides(entry, setting))
                    for (int i = entry.nFirst; i <= entry.nLast; i++)
                        pEdits->lines[i].bReplaced = true;
            continue;
        }
        if (pDeciding && !pDeciding->bKey)
        {
            Edits::LineEdit &edit = pEdits->lines[pDeciding->nFirst];
            if (!RewrittenLine(*pDeciding, setting, &edit.strText))
                return false;
            for (int i = pDeciding->nFirst; i <= pDeciding->nLast; i++)
                pEdits->lines[i].bReplaced = true;
            edit.bHasText = true;
            edit.strEnd = LineEnd(pDeciding->nLast);
        }
        else if (!PlanInsert(setting, pDeciding ? pDeciding->nFirst : -1, pEdits))
            return false;
    }
    return true;
}

bool CRegFile::SettingLine(const RegSetting &setting, WString *pstrLine) const
{
    WString strData = TEXT("-");
    if (setting.bPresent && !FormatData(setting.value, &strData))
        return false;
    *pstrLine = (setting.strName.empty() ? WString(TEXT("@")) : Quoted(setting.strName)) + TEXT("=") + strData;
    return true;
}

// A section for each key, in the order the settings first name it; a blank
// line in front of each, or after each.
bool CRegFile::AppendSections(const std::vector<const RegSetting *> &settings, bool bBlankBefore, ByteString *pstrOut) const
{
    CNameIndex keys;
    for (const RegSetting *pSetting : settings)
        keys.Add(Folded(NormalPath(pSetting->strPath)));
    keys.Seal();
    std::vector<std::vector<const RegSetting *>> byKey(keys.Size());
    std::vector<int> order;   // the keys by first mention
    for (const RegSetting *pSetting : settings)
    {
        int nKey = keys.Find(Folded(NormalPath(pSetting->strPath)));
        if (byKey[nKey].empty())
            order.push_back(nKey);
        byKey[nKey].push_back(pSetting);
    }
    for (int nKey : order)
    {
        WString strLine;
        if (bBlankBefore)
            *pstrOut += m_strEol;
        if (!Encode(TEXT("[") + WString(MACHINE) + TEXT("\\") + m_tree.Spelled(byKey[nKey].front()->strPath) + TEXT("]"), pstrOut))
            return false;
        *pstrOut += m_strEol;
        for (const RegSetting *pSetting : byKey[nKey])
        {
            // An image has no line that deletes a value.
            if (!pSetting->bPresent && m_dialect == DIALECT_IMAGE)
                continue;
            if (!SettingLine(*pSetting, &strLine) || !Encode(strLine, pstrOut))
                return false;
            *pstrOut += m_strEol;
        }
        if (!bBlankBefore)
            *pstrOut += m_strEol;
    }
    return true;
}

bool CRegFile::Emit(const Edits &edits, ByteString *pstrOut) const
{
    ByteString &strOut = *pstrOut;
    if (m_bBom)
        strOut = m_encoding == ENCODING_UTF16 ? "\xFF\xFE" : "\xEF\xBB\xBF";
    // A last line without an end gets one before anything follows it.
    bool bOpen = false;
    auto close = [&] {
        if (bOpen)
            strOut += m_strEol;
        bOpen = false;
    };
    for (size_t i = 0; i < m_lines.size(); i++)
    {
        const Edits::LineEdit &edit = edits.lines[i];
        if (!edit.sectionsBefore.empty() && !AppendSections(edit.sectionsBefore, false, &strOut))
            return false;
        if (!edit.bReplaced)
        {
            strOut += m_lines[i].strRaw;
            bOpen = LineEnd(static_cast<int>(i)).empty();
        }
        else if (edit.bHasText)
        {
            if (!Encode(edit.strText, &strOut))
                return false;
            strOut += edit.strEnd;
            bOpen = edit.strEnd.empty();
        }
        for (const WString &strLine : edit.inserts)
        {
            close();
            if (!Encode(strLine, &strOut))
                return false;
            strOut += m_strEol;
        }
    }
    if (!edits.appended.empty())
        close();
    return AppendSections(edits.appended, true, &strOut);
}

bool CRegFile::Rewrite(const std::vector<RegSetting> &settings, std::vector<BYTE> *pBytes) const
{
    Edits edits;
    ByteString strOut;
    if (!PlanEdits(settings, &edits) || !Emit(edits, &strOut))
        return false;
    // Checked before anyone writes it: the file must read back as this one
    // with the settings applied, and nothing else.
    CRegTree expected(m_tree);
    for (const RegSetting &setting : settings)
        if (setting.bPresent)
            expected.Create(setting.strPath)->SetValue(setting.strName, setting.value);
        else if (CRegTree::Key *pKey = expected.Find(setting.strPath))
            pKey->DeleteValue(setting.strName);
    std::vector<BYTE> bytes(strOut.begin(), strOut.end());
    CRegFile written;
    if (!written.Parse(bytes, m_variables) || !(written.m_tree == expected))
        return false;
    *pBytes = std::move(bytes);
    return true;
}

std::vector<BYTE> CRegFile::Format(const std::vector<RegSetting> &settings, Dialect dialect)
{
    CRegFile file;
    file.m_dialect = dialect;
    std::vector<const RegSetting *> pointers;
    for (const RegSetting &setting : settings)
        pointers.push_back(&setting);
    ByteString strOut;
    if (dialect == DIALECT_IMAGE)
    {
        file.m_encoding = ENCODING_WINDOWS_1252;
        file.m_strEol = "\r\n";
        if (file.AppendSections(pointers, false, &strOut))
            return std::vector<BYTE>(strOut.begin(), strOut.end());
        strOut.clear();
    }
    file.m_encoding = ENCODING_UTF16;
    file.m_strEol = ByteString("\r\0\n\0", 4);
    strOut = "\xFF\xFE";
    if (dialect == DIALECT_REGEDIT)
    {
        file.Encode(Widen(HEADER5), &strOut);
        strOut += file.m_strEol;
    }
    file.AppendSections(pointers, dialect == DIALECT_REGEDIT, &strOut);
    return std::vector<BYTE>(strOut.begin(), strOut.end());
}
