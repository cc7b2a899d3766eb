#include "RegEntries.h"

#include "NameIndex.h"
#include "ValueData.h"

#include <algorithm>

using namespace RegFormat;

namespace
{

const WCHAR *const ROOTS[] = { TEXT("HKEY_LOCAL_MACHINE"), TEXT("HKEY_CURRENT_USER"), TEXT("HKEY_CLASSES_ROOT"),
                               TEXT("HKEY_USERS"), TEXT("HKEY_CURRENT_CONFIG"), TEXT("HKEY_DYN_DATA") };

// The registry's longest key name; regedit skips a key with a longer one.
const size_t MAX_KEY_NAME = 255;

class CEntryReader
{
public:
    CEntryReader(const RegDocument &document, const Resolution &resolution, std::vector<Entry> *pEntries, FileError *pError)
        : m_document(document), m_resolution(resolution), m_entries(*pEntries), m_error(*pError)
    {
    }

    bool Read()
    {
        m_entries.clear();
        for (size_t i = 0; i < m_document.nodes.size(); i++)
        {
            const Node &node = m_document.nodes[i];
            const NodeResolution &resolved = m_resolution.nodes[i];
            if (node.kind == NODE_UNREADABLE && resolved.bApplies)
                return Fail(FILE_NOT_AN_ENTRY, node.nFirst);
            if (node.kind != NODE_KEY && node.kind != NODE_VALUE)
                continue;
            // A line the build drops under these variables need not read.
            bool bRead = node.kind == NODE_KEY ? ReadKey(node, resolved) : ReadValue(node, resolved);
            if (!bRead && resolved.bApplies)
                return false;
            if (!bRead && node.kind == NODE_KEY)   // its values' key is anyone's guess
            {
                Entry unknown = {};
                unknown.nFirst = unknown.nLast = node.nFirst;
                unknown.bKey = unknown.bVaries = true;
                AddKey(unknown, resolved.nBranch);
            }
        }
        m_error = FileError();
        return true;
    }

private:
    bool Fail(FileErrorCode code, int nLine) { return m_error = Refusal(code, nLine + 1), false; }

    bool ReadKey(const Node &node, const NodeResolution &resolved)
    {
        const WString &strText = LinesOf(m_document, node, resolved)[0];
        const int nLine = node.nFirst;
        Entry entry = {};
        entry.nFirst = entry.nLast = nLine;
        entry.bKey = true;
        entry.bApplies = resolved.bApplies;
        entry.bUndefined = resolved.bUndefined;
        entry.bVaries = resolved.bVaries;
        // regedit takes the key to the last "]" and ignores what follows; an
        // image's file allows only a comment there.
        size_t nOpen = SkipBlanks(strText, 0), nClose = strText.rfind(']');
        if (nClose == WString::npos || (nOpen + 1 < strText.size() && IsSpace(strText[nOpen + 1])) ||
            (!m_document.Rules().bTextAfterKey && !EndsEntry(strText, nClose + 1)))
            return Fail(FILE_BAD_KEY, nLine);
        WString strPath = strText.substr(nOpen + 1, nClose - nOpen - 1);
        entry.bDelete = !strPath.empty() && strPath[0] == '-';
        if (entry.bDelete)
            strPath.erase(0, 1);
        size_t nSlash = std::min(strPath.find('\\'), strPath.size());
        WString strRoot = strPath.substr(0, nSlash);
        bool bRoot = std::any_of(std::begin(ROOTS), std::end(ROOTS), [&](const WCHAR *psz) { return Folded(strRoot) == Folded(psz); });
        std::vector<WString> names = Components(nSlash < strPath.size() ? strPath.substr(nSlash + 1) : WString());
        for (const WString &strName : names)
        {
            entry.strPath += (entry.strPath.empty() ? WString() : TEXT("\\")) + strName;
            entry.bDropped |= strName.size() > MAX_KEY_NAME;
        }
        if (entry.bUndefined)
            entry.strKnown = strPath.substr(0, strPath.find(TEXT("$(")));
        // A key whose root is a name defined nowhere is no key of the tree's.
        if (!bRoot && !(entry.bUndefined && entry.strKnown.size() <= nSlash))
            return Fail(FILE_BAD_KEY, nLine);
        if ((entry.bDelete && entry.strPath.empty()) || names.size() > CRegTree::MAX_KEY_DEPTH)
            return Fail(FILE_BAD_KEY, nLine);
        entry.bMachine = bRoot && Folded(strRoot) == Folded(MACHINE);
        AddKey(entry, resolved.nBranch);
        return true;
    }
    void AddKey(const Entry &entry, int nBranch)
    {
        if (entry.bApplies)
            m_nSection = static_cast<int>(m_entries.size());
        m_nLastKey = static_cast<int>(m_entries.size());
        m_nLastKeyBranch = nBranch;
        m_entries.push_back(entry);
    }

    bool ReadValue(const Node &node, const NodeResolution &resolved)
    {
        const int nFirst = node.nFirst;
        Entry entry = {};
        entry.nFirst = nFirst;
        entry.nLast = node.nLast;
        entry.bApplies = resolved.bApplies;
        int nKey = entry.bApplies ? m_nSection : m_nLastKey;
        if (nKey < 0)
            return Fail(FILE_VALUE_OUTSIDE_KEY, nFirst);
        const Entry &key = m_entries[nKey];
        entry.bMachine = key.bMachine && !key.bDelete;
        entry.bDropped = key.bDropped;
        entry.strPath = key.strPath;
        // The key is certain when its line applies wherever this one does.
        entry.bKeyCertain = nKey == m_nLastKey && m_resolution.Within(resolved.nBranch, m_nLastKeyBranch) && !key.bVaries;
        entry.bUndefined = resolved.bUndefined;
        entry.bVaries = resolved.bVaries;

        const ValueLines lines = LinesOf(m_document, node, resolved);
        const WString &strText = lines[0];
        size_t nAt = SkipBlanks(strText, 0);
        if (strText[nAt] == '@')
            nAt++;
        else
        {
            Unquoted unquoted = ParseQuoted(strText, &nAt, &entry.strName);
            if (unquoted != UNQUOTED)
                return m_error = UnquotedRefusal(unquoted, nFirst + 1), false;
        }
        nAt = SkipBlanks(strText, nAt);
        if (nAt >= strText.size() || strText[nAt] != '=')
            return Fail(FILE_NOT_AN_ENTRY, nFirst);
        ValueData data;
        // A value that would read only with a name defined, or in a branch
        // the build drops, stays as it is and sets nothing; FirstUnknownNeed
        // refuses it where Marlin needs it.
        if (!ReadData(lines, SkipBlanks(strText, nAt + 1), nFirst, m_document.Rules(), m_document.text.encoding,
                      &data, &m_error))
        {
            if (!entry.bUndefined && entry.bApplies)
                return false;
            data.bOpaque = true;
        }
        entry.bDelete = data.bDelete;
        entry.bOpaque = data.bOpaque;
        entry.value = data.value;
        m_entries.push_back(entry);
        return true;
    }

    const RegDocument &m_document;
    const Resolution &m_resolution;
    std::vector<Entry> &m_entries;
    FileError &m_error;
    int m_nSection = -1;        // the key entry values that apply go under
    int m_nLastKey = -1;        // the last key entry, taken or not
    int m_nLastKeyBranch = -1;  // the branch its line lies in
};

void Apply(const Entry &entry, CRegTree *pTree)
{
    if (entry.bKey)
    {
        if (entry.bDelete)
            pTree->Delete(entry.strPath);
        else
            pTree->Create(entry.strPath);
        return;
    }
    CRegTree::Key *pKey = pTree->Create(entry.strPath);
    if (entry.bDelete)
        pKey->DeleteValue(entry.strName);
    else
        pKey->SetValue(entry.strName, entry.value);
}

} // namespace

bool ReadEntries(const RegDocument &document, const Resolution &resolution, std::vector<Entry> *pEntries, FileError *pError)
{
    return CEntryReader(document, resolution, pEntries, pError).Read();
}

void ApplyEntries(const std::vector<Entry> &entries, CRegTree *pTree)
{
    for (const Entry &entry : entries)
        if (entry.bApplies && entry.bMachine && !entry.bOpaque && !entry.bDropped)
            Apply(entry, pTree);
}

bool Decides(const Entry &entry, const RegSetting &setting)
{
    if (!entry.bMachine || entry.bOpaque || entry.bDropped || (entry.bKey && !entry.bDelete))
        return false;
    if (!entry.bKey)
        return ValueKey(entry.strPath, entry.strName) == ValueKey(NormalPath(setting.strPath), setting.strName);
    WString strAbove = Folded(entry.strPath) + TEXT("\\"), strBelow = Folded(NormalPath(setting.strPath)) + TEXT("\\");
    return strBelow.compare(0, strAbove.size(), strAbove) == 0;
}

// A value of its name whose key depends on the variables, or whose text
// does; a deletion of a key named in part by a $(NAME) defined nowhere, or
// one a block may define.
bool MayDecide(const Entry &entry, const RegSetting &setting)
{
    if (Decides(entry, setting) || (entry.bDelete && (entry.bUndefined || entry.bVaries)))
        return true;
    return !entry.bKey && (entry.bVaries || ((!entry.bKeyCertain || entry.bOpaque) && Folded(entry.strName) == Folded(setting.strName)));
}

const Entry *DecidingEntry(const std::vector<Entry> &entries, const RegSetting &setting)
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->bApplies && Decides(*it, setting))
            return &*it;
    return nullptr;
}

bool MentionsAny(const std::vector<Entry> &entries, const std::vector<RegSetting> &settings)
{
    CNameIndex names;
    for (const RegSetting &setting : settings)
        names.Add(ValueKey(setting.strPath, setting.strName));
    names.Seal();
    for (const Entry &entry : entries)
        if (!entry.bKey && entry.bApplies && entry.bMachine && names.Find(ValueKey(entry.strPath, entry.strName)) >= 0)
            return true;
    return false;
}

FileError FirstForeignKey(const std::vector<Entry> &entries)
{
    for (const Entry &entry : entries)
        if (entry.bKey && entry.bApplies && !entry.bMachine)
            return Refusal(FILE_NOT_MACHINE, entry.nFirst + 1);
    return FileError();
}

FileError FirstUnknownNeed(const std::vector<Entry> &entries, const WString &strKey, const std::vector<RegSetting> &values)
{
    const WString strNeeded = Folded(WString(MACHINE) + TEXT("\\") + strKey + TEXT("\\"));
    for (const Entry &entry : entries)
    {
        if (!entry.bApplies || (!entry.bUndefined && !entry.bOpaque))
            continue;
        WString strKnown = Folded(entry.strKnown);
        if (entry.bKey && entry.bUndefined &&
            (strNeeded.compare(0, strKnown.size(), strKnown) == 0 || strKnown.compare(0, strNeeded.size(), strNeeded) == 0))
            return Refusal(FILE_UNDEFINED_NAME, entry.nFirst + 1);
        for (const RegSetting &value : values)
            if (!entry.bKey && entry.bMachine && ValueKey(entry.strPath, entry.strName) == ValueKey(value.strPath, value.strName))
                return Refusal(entry.bUndefined ? FILE_UNDEFINED_NAME : FILE_OPAQUE_VALUE, entry.nFirst + 1);
    }
    return FileError();
}
