#include "Condition.h"

#include <algorithm>

namespace
{

// A name in an IF line: up to a blank, "=", "!" or a comment.
WString NameAt(const WString &strText, size_t *pnAt)
{
    size_t nStart = *pnAt;
    while (*pnAt < strText.size() && !IsSpace(strText[*pnAt]) && strText[*pnAt] != '=' && strText[*pnAt] != '!' &&
           strText[*pnAt] != ';')
        ++*pnAt;
    return strText.substr(nStart, *pnAt - nStart);
}

bool IsOperatorStart(const WString &strText, size_t nAt)
{
    WCHAR ch = strText[nAt];
    return ch == '(' || ch == ')' || ch == '!' || ch == ';' || (ch == '=' && strText.compare(nAt, 2, TEXT("==")) == 0) ||
           (ch == '&' && strText.compare(nAt, 2, TEXT("&&")) == 0) || (ch == '|' && strText.compare(nAt, 2, TEXT("||")) == 0);
}

// The names of $(NAME)s in the text.
std::vector<WString> NamesIn(const WString &strText)
{
    std::vector<WString> names;
    for (size_t nOpen = 0; (nOpen = strText.find(TEXT("$("), nOpen)) != WString::npos; nOpen += 2)
    {
        size_t nClose = strText.find(')', nOpen);
        if (nClose == WString::npos)
            break;
        names.push_back(strText.substr(nOpen + 2, nClose - nOpen - 2));
    }
    return names;
}

} // namespace

// Recursive descent over #if's grammar:
//   or := and ("||" and)*   and := unary ("&&" unary)*
//   unary := "!" unary | "(" or ")" | "defined" NAME | "defined" "(" NAME ")" | text ("==" | "!=") text
class CCondition::CParser
{
public:
    CParser(CCondition &condition, const WString &strText) : m_condition(condition), m_strText(strText) {}

    bool ParseAll(int *pnRoot)
    {
        return ParseOr(pnRoot) && EndsEntry(m_strText, m_nAt);
    }

private:
    bool Skip(const char *pszToken)
    {
        m_nAt = SkipBlanks(m_strText, m_nAt);
        if (!StartsWithAscii(m_strText, m_nAt, pszToken))
            return false;
        m_nAt += Widen(pszToken).size();
        return true;
    }
    // Text up to a blank or an operator; $(NAME) whole, whatever it holds.
    WString Word()
    {
        m_nAt = SkipBlanks(m_strText, m_nAt);
        size_t nStart = m_nAt;
        while (m_nAt < m_strText.size() && !IsSpace(m_strText[m_nAt]) && !IsOperatorStart(m_strText, m_nAt))
        {
            size_t nClose = m_strText.compare(m_nAt, 2, TEXT("$(")) == 0 ? m_strText.find(')', m_nAt) : WString::npos;
            m_nAt = nClose != WString::npos ? nClose + 1 : m_nAt + 1;
        }
        return m_strText.substr(nStart, m_nAt - nStart);
    }
    bool ParseOr(int *pnTerm) { return ParseChain("||", OP_OR, &CParser::ParseAnd, pnTerm); }
    bool ParseAnd(int *pnTerm) { return ParseChain("&&", OP_AND, &CParser::ParseUnary, pnTerm); }
    // Operands joined by the operator, grouped from the left.
    bool ParseChain(const char *pszJoin, Op op, bool (CParser::*pfnOperand)(int *), int *pnTerm)
    {
        int nRight = -1;
        if (!(this->*pfnOperand)(pnTerm))
            return false;
        while (Skip(pszJoin))
            if (!(this->*pfnOperand)(&nRight))
                return false;
            else
                *pnTerm = m_condition.Add(op, WString(), WString(), *pnTerm, nRight);
        return true;
    }
    bool ParseUnary(int *pnTerm)
    {
        const size_t nStart = m_nAt;
        if (Skip("!"))
            return ParseUnary(pnTerm) && (*pnTerm = m_condition.Add(OP_NOT, WString(), WString(), *pnTerm), true);
        if (Skip("("))
            return ParseOr(pnTerm) && Skip(")");
        WString strLeft = Word();
        if (EqualsAscii(strLeft, "defined"))
        {
            bool bParenthesis = Skip("(");
            WString strName = Word();
            if (strName.empty() || (bParenthesis && !Skip(")")))
                return false;
            *pnTerm = m_condition.Add(OP_DEFINED, strName, WString());
            return true;
        }
        m_nAt = nStart;
        strLeft = Word();
        bool bEqual = Skip("==");
        if (strLeft.empty() || (!bEqual && !Skip("!=")))
            return false;
        WString strRight = Word();
        if (strRight.empty())
            return false;
        *pnTerm = m_condition.Add(bEqual ? OP_EQUAL : OP_NOT_EQUAL, strLeft, strRight);
        return true;
    }

    CCondition &m_condition;
    const WString &m_strText;
    size_t m_nAt = 0;
};

int CCondition::Add(Op op, const WString &strLeft, const WString &strRight, int nLeft, int nRight)
{
    m_terms.push_back({ op, strLeft, strRight, nLeft, nRight });
    return static_cast<int>(m_terms.size()) - 1;
}

bool CCondition::ParseIf(const WString &strArgument)
{
    m_terms.clear();
    size_t nAt = SkipBlanks(strArgument, 0);
    WString strName = NameAt(strArgument, &nAt), strValue;
    nAt = SkipBlanks(strArgument, nAt);
    bool bHasValue = nAt < strArgument.size() && strArgument[nAt] == '=';
    if (bHasValue)
    {
        nAt = SkipBlanks(strArgument, nAt + 1);
        strValue = NameAt(strArgument, &nAt);
        nAt = SkipBlanks(strArgument, nAt);
    }
    bool bNegate = nAt < strArgument.size() && strArgument[nAt] == '!';
    if (strName.empty() || (bHasValue && strValue.empty()) || !EndsEntry(strArgument, nAt + (bNegate ? 1 : 0)))
        return false;
    m_nRoot = Add(bHasValue ? OP_IS : OP_DEFINED, strName, strValue);
    if (bNegate)
        m_nRoot = Add(OP_NOT, WString(), WString(), m_nRoot);
    return true;
}

bool CCondition::ParseHashIf(const WString &strArgument)
{
    m_terms.clear();
    return CParser(*this, strArgument).ParseAll(&m_nRoot);
}

bool CCondition::Evaluate(IConditionNames &names) const
{
    return m_nRoot >= 0 && Evaluate(m_nRoot, names);
}

bool CCondition::Evaluate(int nTerm, IConditionNames &names) const
{
    const Term &term = m_terms[nTerm];
    WString strValue;
    switch (term.op)
    {
    case OP_DEFINED:
        return names.Lookup(term.strLeft, &strValue);
    case OP_IS:
        return names.Lookup(term.strLeft, &strValue) && Folded(strValue) == Folded(term.strRight);
    case OP_EQUAL:
    case OP_NOT_EQUAL:
        return (Folded(names.Substituted(term.strLeft)) == Folded(names.Substituted(term.strRight))) == (term.op == OP_EQUAL);
    case OP_NOT:
        return !Evaluate(term.nLeft, names);
    case OP_AND:
        return Evaluate(term.nLeft, names) && Evaluate(term.nRight, names);
    case OP_OR:
        return Evaluate(term.nLeft, names) || Evaluate(term.nRight, names);
    }
    return false;
}

std::vector<std::pair<WString, WString>> CCondition::TestedNames() const
{
    std::vector<std::pair<WString, WString>> tested;
    auto add = [&](const WString &strName, const WString &strText) {
        std::pair<WString, WString> name(strName, strText);
        if (std::find(tested.begin(), tested.end(), name) == tested.end())
            tested.push_back(name);
    };
    for (const Term &term : m_terms)
        if (term.op == OP_DEFINED || term.op == OP_IS)
            add(term.strLeft, term.strRight);
        else if (term.op == OP_EQUAL || term.op == OP_NOT_EQUAL)
            for (int nSide = 0; nSide < 2; nSide++)
            {
                const WString &strSide = nSide ? term.strRight : term.strLeft, &strOther = nSide ? term.strLeft : term.strRight;
                for (const WString &strName : NamesIn(strSide))
                    add(strName, NamesIn(strOther).empty() ? strOther : WString());
            }
    return tested;
}
