// What the image build makes of a document under a set of build variables:
// which nodes apply (IF and the #if family, in file order with #define and
// #undef), and the text of key and value lines with their $(NAME)s in place.
// regedit's dialect has no directives: every node applies as written.
#pragma once

#include "BuildVariables.h"
#include "RegDocument.h"
#include "ValueLines.h"

#include <utility>
#include <vector>

struct Branch   // of a block: its IF part, its ELSE part, an #elif's or #else's
{
    int nParent;       // the branch the block lies in; -1: none
    int nOpenerLine;   // the block's IF or #if, from 0
    bool bTaken;
};

struct NodeResolution
{
    int nBranch = -1;         // the innermost branch it lies in; -1: none
    bool bApplies = true;     // in branches taken
    bool bUndefined = false;  // its text holds a $(NAME) defined nowhere
    bool bVaries = false;     // its text holds a name a block may define
    std::vector<WString> lines;   // keys and values: each line's text with names in place; none where none stood
};

// A key's or value's lines as the build reads them.
inline ValueLines LinesOf(const RegDocument &document, const Node &node, const NodeResolution &resolved)
{
    return { &document.text.lines[node.nFirst], &resolved.lines, node.nLast - node.nFirst + 1 };
}

struct Resolution
{
    std::vector<NodeResolution> nodes;
    std::vector<Branch> branches;
    std::vector<int> lineBranches;   // each line's innermost branch; -1: none
    CVariableTable variables;        // each build variable looked up, as it answered
    std::vector<std::pair<WString, WString>> tested;   // names the conditions test, with their texts

    // Whether the line (from 1) lies in branches taken.
    bool LineApplies(int nLine) const
    {
        int nBranch = lineBranches[nLine - 1];
        return nBranch < 0 || branches[nBranch].bTaken;
    }
    // Whether the block of branch nInner lies, at any depth, in branch nOuter.
    bool Within(int nInner, int nOuter) const
    {
        while (nInner != nOuter && nInner >= 0)
            nInner = branches[nInner].nParent;
        return nInner == nOuter;
    }
};

bool ResolveBuild(const RegDocument &document, const IBuildVariables &variables, Resolution *pResolution,
                  FileError *pError);
