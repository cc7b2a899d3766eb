// A registry file as a lossless document: every line's bytes (FileText),
// and the nodes over them, each a blank line, a comment, a key, a value or a
// directive. A value owns all its lines, the ones it goes on to after a
// trailing backslash (or a multi_sz's comma) included, so no stage can take
// a continuation apart from its value. Nodes say what a line is, not what it
// means: names and data are read under the build's variables later
// (BuildResolver.h, RegEntries.h).
#pragma once

#include "Dialect.h"
#include "FileError.h"
#include "FileText.h"

#include <vector>

enum NodeKind
{
    NODE_HEADER,      // regedit's first line
    NODE_BLANK,
    NODE_COMMENT,     // ";", and in regedit's dialect "#" and Ctrl-Z
    NODE_END_MARK,    // an image's Ctrl-Z, which editors leave at the end, and what follows it
    NODE_KEY,         // "[...]"
    NODE_VALUE,       // "NAME"=DATA or @=DATA, over one line or more
    NODE_IF,          // IF NAME[=TEXT] [!]
    NODE_ELSE,
    NODE_ENDIF,
    NODE_HASH_IF,     // #if EXPRESSION
    NODE_HASH_ELIF,
    NODE_HASH_ELSE,
    NODE_HASH_ENDIF,
    NODE_DEFINE,      // #define NAME [TEXT]
    NODE_UNDEF,
    NODE_INCLUDE,     // kept, never opened
    NODE_ERROR,       // #error TEXT: the build stops where it applies
    NODE_MESSAGE,
    NODE_UNREADABLE,  // no line of the dialect's: refused where it applies
};

struct Node
{
    NodeKind kind;
    int nFirst, nLast;     // its lines, from 0
    WString strArgument;   // a directive's text after its word, trimmed
};

struct RegDocument
{
    Dialect dialect = DIALECT_REGEDIT;
    FileText text;
    std::vector<Node> nodes;
    int nOpenAtEnd = -1;   // the first line of a value the file ends inside; -1 for none

    const DialectRules &Rules() const { return RulesOf(dialect); }
    const WString &Line(int nLine) const { return text.lines[nLine].strText; }
};

// The file's bytes as a document, or why they are none.
bool ReadDocument(const std::vector<BYTE> &bytes, RegDocument *pDocument, FileError *pError);

// Opening and closing directives, for the stages that walk the blocks.
bool OpensBlock(NodeKind kind);
bool ClosesBlock(NodeKind kind);

// Where a value line's data begins, after its name and "="; npos when the
// line has no name and "=" to find it by.
size_t DataStart(const WString &strText);
// Where the line's content ends: before blanks and a ";" comment, quotes
// and their escapes respected.
size_t ContentEnd(const WString &strText, size_t nFrom);
