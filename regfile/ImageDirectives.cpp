// A device image's registry file: IF, ELSE and ENDIF on build variables,
// #define and $(NAME), and #include, which the build resolves and Marlin
// keeps without opening.
#include "RegFile.h"

#include <algorithm>

namespace
{

// The word the line begins with, when the line begins with one of these.
bool BeginsWithWord(const WString &strText, const char *pszWord)
{
    size_t cchWord = WString(Widen(pszWord)).size();
    return StartsWithAscii(strText, 0, pszWord) && (strText.size() == cchWord || IsSpace(strText[cchWord]));
}

// A name in a condition or a #define: up to a blank, "=" or "!".
WString NameAt(const WString &strText, size_t *pnAt)
{
    size_t nStart = *pnAt;
    while (*pnAt < strText.size() && !IsSpace(strText[*pnAt]) && strText[*pnAt] != '=' && strText[*pnAt] != '!' &&
           strText[*pnAt] != ';')
        ++*pnAt;
    return strText.substr(nStart, *pnAt - nStart);
}

} // namespace

bool CRegFile::IsDirective(const WString &strText)
{
    WString strTrimmed = Trimmed(strText);
    return BeginsWithWord(strTrimmed, "IF") || BeginsWithWord(strTrimmed, "ELSE") || StartsWithAscii(strTrimmed, 0, "ENDIF");
}

// "IF NAME", "IF NAME=VALUE", either with " !" after it, and a comment.
bool CRegFile::ParseCondition(const WString &strText, Branch *pBranch) const
{
    size_t nAt = SkipBlanks(strText, 2);
    pBranch->strName = NameAt(strText, &nAt);
    nAt = SkipBlanks(strText, nAt);
    pBranch->bHasValue = nAt < strText.size() && strText[nAt] == '=';
    if (pBranch->bHasValue)
    {
        nAt = SkipBlanks(strText, nAt + 1);
        pBranch->strValue = NameAt(strText, &nAt);
        nAt = SkipBlanks(strText, nAt);
    }
    pBranch->bNegate = nAt < strText.size() && strText[nAt] == '!';
    return !pBranch->strName.empty() && (!pBranch->bHasValue || !pBranch->strValue.empty()) &&
           EndsEntry(strText, nAt + (pBranch->bNegate ? 1 : 0));
}

bool CRegFile::ParseDirective(int nLine)
{
    Line &line = m_lines[nLine];
    line.bDirective = true;
    const WString strText = Trimmed(line.strText);
    const bool bTaken = Taken();
    if (strText[0] == '#')
    {
        size_t nAt = SkipBlanks(strText, 7);
        if (StartsWithAscii(strText, 0, "#include") && strText.size() > 8 && IsSpace(strText[8]))
            return true;
        if (!StartsWithAscii(strText, 0, "#define") || strText.size() == nAt || !IsSpace(strText[7]))
            return Fail(ERROR_NOT_AN_ENTRY, nLine + 1);
        WString strName = Folded(NameAt(strText, &nAt));
        m_bVaries = false;
        WString strValue = Substituted(strText.substr(SkipBlanks(strText, nAt)));
        if (!m_open.empty() || m_bVaries)
            m_varying.push_back(strName);
        if (bTaken)
            m_defines.emplace_back(strName, strValue);
        return true;
    }
    if (BeginsWithWord(strText, "IF"))
    {
        Branch branch = {};
        branch.nParent = m_open.empty() ? -1 : m_open.back();
        branch.nIfLine = nLine;
        if (!ParseCondition(strText, &branch))
            return Fail(ERROR_NOT_AN_ENTRY, nLine + 1);
        WString strValue;
        bool bSet = Lookup(branch.strName, &strValue);
        bool bHolds = branch.bHasValue ? bSet && Folded(strValue) == Folded(branch.strValue) : bSet;
        branch.bTaken = bTaken && bHolds != branch.bNegate;
        m_open.push_back(static_cast<int>(m_branches.size()));
        m_branches.push_back(branch);
        return true;
    }
    // ELSE and ENDIF belong to the branch their block lies in.
    if (m_open.empty() || (BeginsWithWord(strText, "ELSE") && m_branches[m_open.back()].bElse))
        return Fail(ERROR_UNMATCHED_CONDITION, nLine + 1);
    Branch branch = m_branches[m_open.back()];
    m_open.pop_back();
    line.nBranch = branch.nParent;
    if (BeginsWithWord(strText, "ELSE"))
    {
        if (!EndsEntry(strText, 4))
            return Fail(ERROR_NOT_AN_ENTRY, nLine + 1);
        bool bParentTaken = Taken();
        branch.bElse = true;
        branch.bTaken = bParentTaken && !branch.bTaken;
        m_open.push_back(static_cast<int>(m_branches.size()));
        m_branches.push_back(branch);
    }
    return true;
}

// Every variable looked up is kept, so that a rewrite reads the file again
// under the same answers.
bool CRegFile::Lookup(const WString &strName, WString *pstrValue)
{
    if (!m_pVariables->Lookup(strName, pstrValue))
        return false;
    m_variables.Set(strName, *pstrValue);
    return true;
}

// $(NAME) takes the file's own definition, or else the variable's text; one
// that neither defines stays as it is. A name an IF block may define reads
// otherwise under other variables.
WString CRegFile::Substituted(const WString &strText)
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
        auto it = std::find_if(m_defines.rbegin(), m_defines.rend(),
                               [&](const std::pair<WString, WString> &define) { return define.first == Folded(strName); });
        if (it != m_defines.rend())
            strOut += it->second;
        else if (Lookup(strName, &strValue))
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

std::vector<std::pair<WString, WString>> CRegFile::TestedVariables() const
{
    std::vector<std::pair<WString, WString>> tested;
    for (const Branch &branch : m_branches)
    {
        std::pair<WString, WString> variable(branch.strName, branch.bHasValue ? branch.strValue : WString());
        if (!branch.bElse && std::find(tested.begin(), tested.end(), variable) == tested.end())
            tested.push_back(variable);
    }
    return tested;
}
