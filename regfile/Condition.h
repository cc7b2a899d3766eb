// The conditions of an image's file, read once and evaluated under the
// build's names:
// - IF NAME, IF NAME=TEXT, either with " !" after it to negate;
// - #if and #elif: defined NAME, !, &&, ||, == and != on text (a $(NAME)
//   in it takes the name's text), and parentheses.
// Text compares without regard to case, as IF=TEXT does. Forms the image
// build does not document are refused.
#pragma once

#include "RegText.h"

#include <utility>
#include <vector>

class IConditionNames
{
public:
    virtual ~IConditionNames() = default;
    // False when neither the file nor the build defines the name.
    virtual bool Lookup(const WString &strName, WString *pstrValue) = 0;
    // The text with its $(NAME)s in place.
    virtual WString Substituted(const WString &strText) = 0;
};

class CCondition
{
public:
    bool ParseIf(const WString &strArgument);
    bool ParseHashIf(const WString &strArgument);
    bool Evaluate(IConditionNames &names) const;
    // The names it tests, each with the text it compares it with (empty
    // where it asks only whether it is defined).
    std::vector<std::pair<WString, WString>> TestedNames() const;

private:
    enum Op
    {
        OP_DEFINED,     // strLeft: a name
        OP_IS,          // IF NAME=TEXT
        OP_EQUAL,       // two texts
        OP_NOT_EQUAL,
        OP_NOT,         // nLeft
        OP_AND,         // nLeft, nRight
        OP_OR,
    };
    struct Term
    {
        Op op;
        WString strLeft, strRight;
        int nLeft, nRight;
    };
    class CParser;

    int Add(Op op, const WString &strLeft, const WString &strRight, int nLeft = -1, int nRight = -1);
    bool Evaluate(int nTerm, IConditionNames &names) const;

    std::vector<Term> m_terms;
    int m_nRoot = -1;
};
