#include "RegFile.h"

#include "NameIndex.h"
#include "RegText.h"

using namespace RegFormat;

namespace
{

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
        return strLine + TEXT("dword:") + HexText(DwordOf(value.data.data()), 8);
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

bool Holds(const CRegTree &tree, const RegSetting &setting)
{
    RegValue value;
    bool bPresent = tree.Get(setting.strPath, setting.strName, &value);
    return bPresent == setting.bPresent && (!bPresent || value == setting.value);
}

} // namespace

// Where a setting stands in the file.
struct CRegFile::Placement
{
    std::vector<const Entry *> entries;   // the value's lines that set or delete it, in order
    int nSectionEnd = -1;                 // the last line, not blank, of its key's last section; -1: none
};

struct CRegFile::Edits
{
    std::vector<bool> replaced;                       // the line gives way to its replacements
    std::vector<std::vector<WString>> replacements;   // none: the line is removed
    std::vector<std::vector<WString>> inserts;        // after the line
    std::vector<RegSetting> appended;                 // in sections of their own at the end
};

ByteString CRegFile::Encode(const WString &strText) const
{
    if (m_encoding == ENCODING_UTF8)
        return EncodeUtf8(strText);
    ByteString str;
    for (WCHAR ch : strText)
    {
        if (m_encoding == ENCODING_UTF16)
            str.append({ char(ch & 0xFF), char(ch >> 8) });
        else
            str.push_back(ch < 0x100 ? char(ch) : '?');
    }
    return str;
}

std::vector<CRegFile::Placement> CRegFile::Locate(const std::vector<RegSetting> &settings) const
{
    CNameIndex values, keys;
    for (const RegSetting &setting : settings)
    {
        values.Add(ValueKey(setting.strPath, setting.strName));
        keys.Add(Folded(setting.strPath));
    }
    values.Seal();
    keys.Seal();
    std::vector<std::vector<const Entry *>> valueEntries(values.Size());
    std::vector<int> sectionEnds(keys.Size(), -1);
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
    std::vector<Placement> placements;
    for (const RegSetting &setting : settings)
        placements.push_back({ valueEntries[values.Find(ValueKey(setting.strPath, setting.strName))],
                               sectionEnds[keys.Find(Folded(setting.strPath))] });
    return placements;
}

CRegFile::Edits CRegFile::PlanEdits(const std::vector<RegSetting> &settings) const
{
    Edits edits;
    edits.replaced.resize(m_lines.size());
    edits.replacements.resize(m_lines.size());
    edits.inserts.resize(m_lines.size());
    std::vector<Placement> placements = Locate(settings);
    for (size_t n = 0; n < settings.size(); n++)
    {
        const RegSetting &setting = settings[n];
        const Placement &at = placements[n];
        if (Holds(m_tree, setting))
            continue;
        if (!at.entries.empty())
        {
            // An absent value loses every line that set it; a present one
            // takes the place of the last, which decides it.
            for (const Entry *pEntry : at.entries)
                if (!setting.bPresent ? !pEntry->bDelete : pEntry == at.entries.back())
                    for (int i = pEntry->nFirst; i <= pEntry->nLast; i++)
                    {
                        edits.replaced[i] = true;
                        edits.replacements[i].clear();
                        if (setting.bPresent && i == pEntry->nFirst)
                            edits.replacements[i].push_back(SettingLine(setting));
                    }
        }
        else if (setting.bPresent && at.nSectionEnd >= 0)
            edits.inserts[at.nSectionEnd].push_back(SettingLine(setting));
        else if (setting.bPresent)
            edits.appended.push_back(setting);
    }
    return edits;
}

ByteString CRegFile::Emit(const Edits &edits) const
{
    ByteString strOut;
    if (m_bBom)
        strOut = m_encoding == ENCODING_UTF16 ? "\xFF\xFE" : "\xEF\xBB\xBF";
    const ByteString strNewline = Encode(TEXT("\n"));
    for (size_t i = 0; i < m_lines.size(); i++)
    {
        const ByteString &strRaw = m_lines[i].strRaw;
        bool bEnded = strRaw.size() >= strNewline.size() &&
                      strRaw.compare(strRaw.size() - strNewline.size(), strNewline.size(), strNewline) == 0;
        if (!edits.replaced[i])
            strOut += strRaw;
        for (const WString &strLine : edits.replacements[i])
            strOut += Encode(strLine) + m_strEol;
        // A last line without an end gets one before anything follows it.
        if (!edits.replaced[i] && !bEnded &&
            (!edits.inserts[i].empty() || (i + 1 == m_lines.size() && !edits.appended.empty())))
            strOut += m_strEol;
        for (const WString &strLine : edits.inserts[i])
            strOut += Encode(strLine) + m_strEol;
    }
    return strOut;
}

std::vector<BYTE> CRegFile::Rewrite(const std::vector<RegSetting> &settings) const
{
    Edits edits = PlanEdits(settings);
    ByteString strOut = Emit(edits);
    AppendSections(edits.appended, &strOut);
    // A file that deletes keys and sets them again may hide a value from the
    // lines above; one more section at the end then says what it holds.
    CRegFile written;
    std::vector<RegSetting> missed;
    written.Parse(std::vector<BYTE>(strOut.begin(), strOut.end()));
    for (const RegSetting &setting : settings)
        if (!Holds(written.m_tree, setting))
            missed.push_back(setting);
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
