#include "DocumentWriter.h"

#include "NameIndex.h"

#include <algorithm>

using namespace RegFormat;

namespace
{

class CWriter
{
public:
    CWriter(const FileText &text, Dialect dialect, const CRegTree &tree, ByteString *pstrOut)
        : m_text(text), m_rules(RulesOf(dialect)), m_tree(tree), m_strOut(*pstrOut)
    {
    }

    // New sections go where the text ends: before an image's Ctrl-Z, after
    // which the build reads nothing.
    bool Write(const FileText &text, const EditPlan &plan, int nTextEnd)
    {
        m_strOut = text.ByteOrderMark();
        for (int i = 0; i <= text.LineCount(); i++)
        {
            if (i == nTextEnd && !plan.appended.empty() && !(CloseLine() && Sections(plan.appended, true)))
                return false;
            if (i == text.LineCount())
                break;
            const LineEdit &edit = plan.lines[i];
            if (!edit.sectionsBefore.empty() && !Sections(edit.sectionsBefore, false))
                return false;
            if (!edit.bReplaced)
            {
                m_strOut.append(text.bytes, text.lines[i].nRaw, text.lines[i].cbRaw);
                m_bOpen = text.LineEnd(i).empty();
            }
            else if (edit.bHasText)
            {
                if (!text.Encode(edit.strText, &m_strOut))
                    return false;
                m_strOut += edit.strEnd;
                m_bOpen = edit.strEnd.empty();
            }
            for (const WString &strLine : edit.inserts)
                if (!CloseLine() || !Line(strLine))
                    return false;
        }
        return true;
    }

    // A section for each key, in the order the settings first name it; a
    // blank line in front of each, or after each.
    bool Sections(const std::vector<const RegSetting *> &settings, bool bBlankBefore)
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
                m_strOut += BlankLineEnd();
            if (!Line(TEXT("[") + WString(MACHINE) + TEXT("\\") + m_tree.Spelled(byKey[nKey].front()->strPath) + TEXT("]")))
                return false;
            for (const RegSetting *pSetting : byKey[nKey])
                if ((pSetting->bPresent || m_rules.bWritesDeletions) &&
                    (!SettingLine(*pSetting, m_rules, m_text.encoding, &strLine) || !Line(strLine)))
                    return false;
            if (!bBlankBefore)
                m_strOut += m_text.strEol;
        }
        return true;
    }

private:
    // Right after a line that ends in a lone CR, an LF would join that end
    // into one CR LF: the line's end would change and the blank line be
    // lost. CR LF keeps both.
    ByteString BlankLineEnd() const
    {
        ByteString strCr;
        m_text.Encode(TEXT("\r"), &strCr);
        const bool bAfterCr = m_strOut.size() >= strCr.size() && m_strOut.compare(m_strOut.size() - strCr.size(), strCr.size(), strCr) == 0;
        return bAfterCr && m_text.strEol[0] == '\n' ? strCr + m_text.strEol : m_text.strEol;
    }
    bool Line(const WString &strLine)
    {
        if (!m_text.Encode(strLine, &m_strOut))
            return false;
        m_strOut += m_text.strEol;
        return true;
    }
    // A last line without an end gets one before anything follows it.
    bool CloseLine()
    {
        if (m_bOpen)
            m_strOut += m_text.strEol;
        m_bOpen = false;
        return true;
    }

    const FileText &m_text;
    const DialectRules &m_rules;
    const CRegTree &m_tree;
    ByteString &m_strOut;
    bool m_bOpen = false;
};

} // namespace

bool WriteDocument(const FileAsRead &file, const EditPlan &plan, ByteString *pstrOut)
{
    const std::vector<Node> &nodes = file.document.nodes;
    auto endMark = std::find_if(nodes.begin(), nodes.end(), [](const Node &node) { return node.kind == NODE_END_MARK; });
    return CWriter(file.document.text, file.document.dialect, file.tree, pstrOut)
        .Write(file.document.text, plan, endMark != nodes.end() ? endMark->nFirst : file.document.text.LineCount());
}

std::vector<BYTE> FormatNewFile(const std::vector<RegSetting> &settings, Dialect dialect)
{
    std::vector<const RegSetting *> pointers;
    for (const RegSetting &setting : settings)
        pointers.push_back(&setting);
    const CRegTree tree;
    ByteString strOut;
    if (dialect == DIALECT_IMAGE)
    {
        FileText ansi = EmptyText(ENCODING_WINDOWS_1252, false);
        if (CWriter(ansi, dialect, tree, &strOut).Sections(pointers, false))
            return std::vector<BYTE>(strOut.begin(), strOut.end());
        strOut.clear();
    }
    FileText utf16 = EmptyText(ENCODING_UTF16, true);
    strOut = utf16.ByteOrderMark();
    if (dialect == DIALECT_REGEDIT)
        utf16.Encode(Widen(HEADER5), &strOut), strOut += utf16.strEol;
    CWriter(utf16, dialect, tree, &strOut).Sections(pointers, dialect == DIALECT_REGEDIT);
    return std::vector<BYTE>(strOut.begin(), strOut.end());
}
