#include "EditPlanner.h"

#include "ValueData.h"

#include <algorithm>
#include <climits>

namespace
{

bool Holds(const CRegTree &tree, const RegSetting &setting)
{
    RegValue value;
    bool bPresent = tree.Get(setting.strPath, setting.strName, &value);
    return bPresent == setting.bPresent && (!bPresent || value == setting.value);
}

class CPlanner
{
public:
    CPlanner(const FileAsRead &file, EditPlan *pPlan) : m_file(file), m_document(file.document), m_plan(*pPlan) {}

    // An absent value loses the lines that set it under the variables; a
    // present one takes the place of the line that decides it, or a new line.
    RewriteFailure Plan(const std::vector<RegSetting> &settings)
    {
        m_plan.lines.assign(m_document.text.LineCount(), LineEdit());
        for (const RegSetting &setting : settings)
        {
            if (Holds(m_file.tree, setting))
                continue;
            const Entry *pDeciding = DecidingEntry(m_file.entries, setting);
            RewriteFailure failure = REWRITE_DONE;
            if (!setting.bPresent)
                RemoveLines(setting);
            else if (pDeciding && !pDeciding->bKey)
                failure = Replace(*pDeciding, setting);
            else
                failure = Insert(setting, pDeciding ? pDeciding->nFirst : -1);
            if (failure != REWRITE_DONE)
                return failure;
        }
        return REWRITE_DONE;
    }

private:
    void RemoveLines(const RegSetting &setting)
    {
        for (const Entry &entry : m_file.entries)
            if (entry.bApplies && !entry.bKey && !entry.bDelete && Decides(entry, setting))
                for (int i = entry.nFirst; i <= entry.nLast; i++)
                    m_plan.lines[i].bReplaced = true;
    }

    RewriteFailure Replace(const Entry &deciding, const RegSetting &setting)
    {
        LineEdit &edit = m_plan.lines[deciding.nFirst];
        if (!RewrittenLine(deciding, setting, &edit.strText))
            return REWRITE_ENCODING;
        for (int i = deciding.nFirst; i <= deciding.nLast; i++)
            m_plan.lines[i].bReplaced = true;
        edit.bHasText = true;
        edit.strEnd = m_document.text.LineEnd(deciding.nLast);
        return REWRITE_DONE;
    }

    // The value's deciding line with the new data in place of the old: the
    // indentation, the name as written, the comment and a number's digits
    // (how many, which case) stay.
    bool RewrittenLine(const Entry &entry, const RegSetting &setting, WString *pstrLine) const
    {
        const WString &strText = m_document.Line(entry.nFirst);
        size_t nStart = DataStart(strText), nEnd = ContentEnd(strText, nStart);
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
        else if (!FormatData(value, m_document.Rules(), m_document.text.encoding, &strData))
            return false;
        WString strFront = strText.substr(0, nStart);
        // A line that deleted the value under another spelling sets it now,
        // spelled as asked, as the registry will hold it.
        if (entry.bDelete && entry.strName != setting.strName)
            strFront = strText.substr(0, SkipBlanks(strText, 0)) + Quoted(setting.strName) + TEXT("=");
        *pstrLine = strFront + strData + strText.substr(nEnd);
        return true;
    }

    // What the node a line belongs to is.
    NodeKind KindOf(int nLine) const
    {
        if (m_lineKinds.empty())
            for (const Node &node : m_document.nodes)
                m_lineKinds.insert(m_lineKinds.end(), node.nLast - node.nFirst + 1, node.kind);
        return m_lineKinds[nLine];
    }
    bool IsDirectiveLine(int nLine) const { return KindOf(nLine) >= NODE_IF && KindOf(nLine) <= NODE_MESSAGE; }

    // Where a value absent under the variables gets its new line:
    // 1. at the end of the last section of its key that applies, lies after
    //    the line that decides it now, and before every line that may decide
    //    it under other variables;
    // 2. failing that, when such a line exists, in a section of its own in
    //    front of a key that no block holds, between those lines;
    // 3. else in a section of its own at the end.
    // Lines that may decide the value elsewhere come later, so they still do.
    // A value the file ends inside would take what follows it as its own.
    RewriteFailure Insert(const RegSetting &setting, int nAfter)
    {
        int nElsewhere = INT_MAX;
        for (const Entry &entry : m_file.entries)
            if (!entry.bApplies && MayDecide(entry, setting))
            {
                nElsewhere = entry.nFirst;
                break;
            }
        const int nBefore = std::min(nElsewhere, m_document.nOpenAtEnd < 0 ? INT_MAX : m_document.nOpenAtEnd);
        const std::vector<int> &branches = m_file.resolution.lineBranches;
        const Entry *pKey = nullptr, *pTop = nullptr;
        for (const Entry &entry : m_file.entries)
            if (entry.bKey && entry.nFirst > nAfter && entry.nFirst < nBefore)
            {
                if (!entry.bDelete && entry.bMachine && !entry.bDropped && entry.bApplies &&
                    Folded(entry.strPath) == Folded(NormalPath(setting.strPath)))
                    pKey = &entry;
                if (branches[entry.nFirst] < 0)
                    pTop = &entry;
            }
        if (pKey)
        {
            int nEnd = pKey->nFirst;
            for (int i = nEnd + 1; i < m_document.text.LineCount() && i < nBefore; i++)
            {
                if (IsDirectiveLine(i) || branches[i] != branches[pKey->nFirst] || KindOf(i) == NODE_KEY)
                    break;
                if (!Trimmed(m_document.Line(i)).empty())
                    nEnd = i;
            }
            // Indented as the value it follows.
            WString strIndent, strLine;
            for (const Entry &entry : m_file.entries)
                if (!entry.bKey && entry.nFirst <= nEnd && nEnd <= entry.nLast)
                    strIndent = m_document.Line(entry.nFirst).substr(0, SkipBlanks(m_document.Line(entry.nFirst), 0));
            if (!SettingLine(setting, m_document.Rules(), m_document.text.encoding, &strLine))
                return REWRITE_ENCODING;
            m_plan.lines[nEnd].inserts.push_back(strIndent + strLine);
        }
        else if (nBefore == INT_MAX)
            m_plan.appended.push_back(&setting);
        else if (pTop)
            m_plan.lines[pTop->nFirst].sectionsBefore.push_back(&setting);
        else
            return REWRITE_NO_LINE;
        return REWRITE_DONE;
    }

    const FileAsRead &m_file;
    const RegDocument &m_document;
    EditPlan &m_plan;
    mutable std::vector<NodeKind> m_lineKinds;
};

} // namespace

RewriteFailure PlanEdits(const FileAsRead &file, const std::vector<RegSetting> &settings, EditPlan *pPlan)
{
    *pPlan = EditPlan();
    return CPlanner(file, pPlan).Plan(settings);
}

bool SettingLine(const RegSetting &setting, const DialectRules &rules, Encoding encoding, WString *pstrLine)
{
    WString strData = TEXT("-");
    if (setting.bPresent && !FormatData(setting.value, rules, encoding, &strData))
        return false;
    *pstrLine = (setting.strName.empty() ? WString(TEXT("@")) : Quoted(setting.strName)) + TEXT("=") + strData;
    return true;
}
