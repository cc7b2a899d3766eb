#include "BuildResolver.h"

#include "Condition.h"

#include <algorithm>

namespace
{

// Names as the file defines them and the build's variables answer them, in
// file order: "variables defined in the active files are checked first,
// followed by environment variables".
class CBuildNames : public IConditionNames
{
public:
    CBuildNames(const IBuildVariables &variables, CVariableTable *pAsked) : m_variables(variables), m_pAsked(pAsked) {}

    void Define(const WString &strName, const WString &strText, bool bInBlock)
    {
        m_defines.push_back({ Folded(strName), strText, true });
        if (bInBlock)
            m_varying.push_back(Folded(strName));
    }
    // Under other variables a block not taken may define or undefine it.
    void MayVary(const WString &strName) { m_varying.push_back(Folded(strName)); }
    void Undefine(const WString &strName, bool bInBlock)
    {
        m_defines.push_back({ Folded(strName), WString(), false });
        if (bInBlock)
            m_varying.push_back(Folded(strName));
    }
    bool Lookup(const WString &strName, WString *pstrValue) override
    {
        if (const Definition *pDefine = Defined(strName))
            return *pstrValue = pDefine->strText, true;
        if (!m_variables.Lookup(strName, pstrValue))
            return false;
        m_pAsked->Set(strName, *pstrValue);
        return true;
    }
    WString Substituted(const WString &strText) override { return Substituted(strText, 0); }

    // Of the text substituted since the last call.
    bool TakeUndefined() { return std::exchange(m_bUndefined, false); }
    bool TakeVaries() { return std::exchange(m_bVaries, false); }

private:
    struct Definition
    {
        WString strName, strText;
        bool bDefined;
    };
    // A #define's text is substituted where it is used, to a depth that ends
    // a name defined by itself.
    static const int MAX_DEPTH = 8;

    const Definition *Defined(const WString &strName) const
    {
        auto it = std::find_if(m_defines.rbegin(), m_defines.rend(), [&](const Definition &d) { return d.strName == Folded(strName); });
        return it != m_defines.rend() && it->bDefined ? &*it : nullptr;
    }
    WString Substituted(const WString &strText, int nDepth)
    {
        WString strOut;
        size_t nAt = 0;
        for (size_t nOpen; (nOpen = strText.find(TEXT("$("), nAt)) != WString::npos;)
        {
            size_t nClose = strText.find(')', nOpen);
            if (nClose == WString::npos)
                break;
            WString strName = strText.substr(nOpen + 2, nClose - nOpen - 2), strValue;
            strOut += strText.substr(nAt, nOpen - nAt);
            m_bVaries |= std::find(m_varying.begin(), m_varying.end(), Folded(strName)) != m_varying.end();
            const Definition *pDefine = Defined(strName);
            if (pDefine && nDepth < MAX_DEPTH)
                strOut += Substituted(pDefine->strText, nDepth + 1);
            else if (!pDefine && Lookup(strName, &strValue))
                strOut += strValue;
            else
            {
                strOut += strText.substr(nOpen, nClose + 1 - nOpen);
                m_bUndefined = true;
            }
            nAt = nClose + 1;
        }
        return strOut + strText.substr(nAt);
    }

    const IBuildVariables &m_variables;
    CVariableTable *m_pAsked;
    std::vector<Definition> m_defines;
    std::vector<WString> m_varying;   // folded names a block may define or undefine
    bool m_bUndefined = false, m_bVaries = false;
};

struct OpenBlock
{
    NodeKind opener;    // NODE_IF or NODE_HASH_IF
    int nBranch;        // its branch now
    bool bElse;         // its ELSE or #else seen
    bool bAnyTaken;     // a branch of it taken so far
};

class CResolver
{
public:
    CResolver(const RegDocument &document, const IBuildVariables &variables, Resolution *pResolution)
        : m_document(document), m_resolution(*pResolution), m_names(variables, &pResolution->variables)
    {
    }

    bool Resolve(FileError *pError)
    {
        m_resolution.nodes.resize(m_document.nodes.size());
        m_resolution.lineBranches.assign(m_document.text.LineCount(), -1);
        for (size_t i = 0; i < m_document.nodes.size(); i++)
        {
            const Node &node = m_document.nodes[i];
            NodeResolution &resolved = m_resolution.nodes[i];
            resolved.nBranch = Current();
            resolved.bApplies = Taken();
            if (!ResolveNode(node, resolved, pError))
                return false;
            for (int nLine = node.nFirst; nLine <= node.nLast; nLine++)
                m_resolution.lineBranches[nLine] = resolved.nBranch;
        }
        if (!m_open.empty())
            return *pError = Refusal(FILE_UNCLOSED_IF, m_resolution.branches[m_open.back().nBranch].nOpenerLine + 1), false;
        return true;
    }

private:
    int Current() const { return m_open.empty() ? -1 : m_open.back().nBranch; }
    bool Taken() const { return m_open.empty() || m_resolution.branches[Current()].bTaken; }

    int AddBranch(int nParent, int nOpenerLine, bool bTaken)
    {
        m_resolution.branches.push_back({ nParent, nOpenerLine, bTaken });
        return static_cast<int>(m_resolution.branches.size()) - 1;
    }

    // A condition that does not read is refused where it is evaluated; a
    // block in a branch not taken is only counted.
    bool Condition(const Node &node, bool bEvaluate, bool *pbHolds, FileError *pError)
    {
        CCondition condition;
        bool bRead = node.kind == NODE_IF ? condition.ParseIf(node.strArgument) : condition.ParseHashIf(node.strArgument);
        if (bRead)
            for (const auto &tested : condition.TestedNames())
                if (std::find(m_resolution.tested.begin(), m_resolution.tested.end(), tested) == m_resolution.tested.end())
                    m_resolution.tested.push_back(tested);
        if (!bEvaluate)
            return *pbHolds = false, true;
        if (!bRead)
            return *pError = Refusal(FILE_NOT_AN_ENTRY, node.nFirst + 1), false;
        *pbHolds = condition.Evaluate(m_names);
        return true;
    }

    bool ResolveNode(const Node &node, NodeResolution &resolved, FileError *pError)
    {
        const bool bTaken = Taken();
        bool bHolds = false;
        switch (node.kind)
        {
        case NODE_IF:
        case NODE_HASH_IF:
            if (!Condition(node, bTaken, &bHolds, pError))
                return false;
            m_open.push_back({ node.kind, AddBranch(Current(), node.nFirst, bTaken && bHolds), false, bHolds });
            return true;
        case NODE_ELSE:
        case NODE_HASH_ELIF:
        case NODE_HASH_ELSE:
        {
            const NodeKind opener = node.kind == NODE_ELSE ? NODE_IF : NODE_HASH_IF;
            if (m_open.empty() || m_open.back().opener != opener || m_open.back().bElse)
                return *pError = Refusal(FILE_UNMATCHED_CONDITION, node.nFirst + 1), false;
            if (node.kind == NODE_ELSE && !EndsEntry(node.strArgument, 0))
                return *pError = Refusal(FILE_NOT_AN_ENTRY, node.nFirst + 1), false;
            OpenBlock &block = m_open.back();
            const Branch &branch = m_resolution.branches[block.nBranch];
            const bool bParentTaken = branch.nParent < 0 || m_resolution.branches[branch.nParent].bTaken;
            resolved.nBranch = branch.nParent;
            resolved.bApplies = bParentTaken;
            if (node.kind == NODE_HASH_ELIF && !Condition(node, bParentTaken && !block.bAnyTaken, &bHolds, pError))
                return false;
            if (node.kind != NODE_HASH_ELIF)
                bHolds = !block.bAnyTaken;
            block.nBranch = AddBranch(branch.nParent, branch.nOpenerLine, bParentTaken && bHolds);
            block.bElse = node.kind != NODE_HASH_ELIF;
            block.bAnyTaken |= bHolds;
            return true;
        }
        case NODE_ENDIF:
        case NODE_HASH_ENDIF:
            if (m_open.empty() || m_open.back().opener != (node.kind == NODE_ENDIF ? NODE_IF : NODE_HASH_IF))
                return *pError = Refusal(FILE_UNMATCHED_CONDITION, node.nFirst + 1), false;
            m_open.pop_back();
            resolved.nBranch = Current();
            resolved.bApplies = Taken();
            return true;
        case NODE_DEFINE:
        case NODE_UNDEF:
        {
            size_t nAt = 0;
            while (nAt < node.strArgument.size() && !IsSpace(node.strArgument[nAt]))
                nAt++;
            WString strName = node.strArgument.substr(0, nAt);
            if (bTaken && node.kind == NODE_DEFINE)
                m_names.Define(strName, Trimmed(node.strArgument.substr(nAt)), !m_open.empty());
            else if (bTaken)
                m_names.Undefine(strName, !m_open.empty());
            else
                m_names.MayVary(strName);
            return true;
        }
        case NODE_ERROR:
            return !bTaken || (*pError = Refusal(FILE_BUILD_ERROR, node.nFirst + 1, m_names.Substituted(node.strArgument)), false);
        case NODE_KEY:
        case NODE_VALUE:
            m_names.TakeUndefined(), m_names.TakeVaries();
            // Copied only where a name stands; LinesOf gives the document's otherwise.
            for (int nLine = node.nFirst; nLine <= node.nLast && m_document.Rules().bDirectives; nLine++)
                if (m_document.Line(nLine).find(TEXT("$(")) != WString::npos)
                {
                    for (int nEach = node.nFirst; nEach <= node.nLast; nEach++)
                    {
                        const WString &strText = m_document.Line(nEach);
                        bool bData = nEach == node.nFirst || !EndsEntry(strText, 0);
                        resolved.lines.push_back(bData ? m_names.Substituted(strText) : strText);
                    }
                    break;
                }
            resolved.bUndefined = m_names.TakeUndefined();
            resolved.bVaries = m_names.TakeVaries();
            return true;
        default:
            return true;
        }
    }

    const RegDocument &m_document;
    Resolution &m_resolution;
    CBuildNames m_names;
    std::vector<OpenBlock> m_open;
};

} // namespace

bool ResolveBuild(const RegDocument &document, const IBuildVariables &variables, Resolution *pResolution,
                  FileError *pError)
{
    *pResolution = Resolution();
    *pError = FileError();
    return CResolver(document, variables, pResolution).Resolve(pError);
}
