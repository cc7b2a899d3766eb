// Bytes to a document: the encoding and the dialect, then the lines grouped
// into nodes. Nothing here reads a name or a value's data.
#include "RegDocument.h"

using namespace RegFormat;

namespace
{

// The word the line begins with, when it begins with this one.
bool BeginsWithWord(const WString &strText, const char *pszWord)
{
    size_t cchWord = Widen(pszWord).size();
    return StartsWithAscii(strText, 0, pszWord) && (strText.size() == cchWord || IsSpace(strText[cchWord]) || strText[cchWord] == ';');
}

NodeKind ConditionWord(const WString &strTrimmed)
{
    if (BeginsWithWord(strTrimmed, "IF"))
        return NODE_IF;
    if (BeginsWithWord(strTrimmed, "ELSE"))
        return NODE_ELSE;
    return BeginsWithWord(strTrimmed, "ENDIF") ? NODE_ENDIF : NODE_UNREADABLE;
}

const struct
{
    const char *pszWord;
    NodeKind kind;
    bool bNeedsArgument;
} HASH_DIRECTIVES[] = {
    { "#if", NODE_HASH_IF, true },       { "#elif", NODE_HASH_ELIF, true },  { "#else", NODE_HASH_ELSE, false },
    { "#endif", NODE_HASH_ENDIF, false }, { "#define", NODE_DEFINE, true },   { "#undef", NODE_UNDEF, true },
    { "#include", NODE_INCLUDE, true },  { "#error", NODE_ERROR, false },    { "#message", NODE_MESSAGE, false },
};

Node HashDirective(const WString &strTrimmed)
{
    for (const auto &directive : HASH_DIRECTIVES)
        if (BeginsWithWord(strTrimmed, directive.pszWord))
        {
            WString strArgument = Trimmed(strTrimmed.substr(Widen(directive.pszWord).size()));
            // An #if without a condition still opens a block: a branch not
            // taken nests it, one taken refuses it.
            if (directive.bNeedsArgument && strArgument.empty() && directive.kind != NODE_HASH_IF && directive.kind != NODE_HASH_ELIF)
                break;
            return { directive.kind, 0, 0, strArgument };
        }
    return { NODE_UNREADABLE, 0, 0, WString() };
}

bool IsHeader(const WString &strText)
{
    WString strHeader = strText.substr(SkipBlanks(strText, 0));
    return strHeader == Widen(HEADER4) || strHeader == Widen(HEADER5);
}

// A regedit header on the first line makes regedit's dialect; else an
// image's file begins, after blank lines and comments, with a key or a
// directive, or holds nothing but comments.
bool DecideDialect(const FileText &text, Dialect *pDialect)
{
    *pDialect = DIALECT_REGEDIT;
    if (!text.lines.empty() && IsHeader(text.lines[0].strText))
        return true;
    *pDialect = DIALECT_IMAGE;
    bool bComment = false;
    for (const TextLine &line : text.lines)
    {
        WString strText = Trimmed(line.strText);
        if (strText.empty() || strText[0] == 0x1A)
            continue;
        if (strText[0] == ';')
        {
            bComment = true;
            continue;
        }
        return strText[0] == '[' || strText[0] == '#' || ConditionWord(strText) != NODE_UNREADABLE;
    }
    return bComment;
}

// An image's file is read as UTF-8 when it is (or says so with a byte order
// mark), else as Windows-1252; regedit reads every file without a UTF-16
// byte order mark as ANSI.
bool Decode(const std::vector<BYTE> &bytes, RegDocument *pDocument, FileError *pError)
{
    FileText &text = pDocument->text;
    const bool bUtf16 = HasUtf16Bom(bytes), bUtf8Bom = HasUtf8Bom(bytes);
    const size_t nStart = bUtf16 ? 2 : bUtf8Bom ? 3 : 0;
    if (!DecodeText(bytes, nStart, bUtf16 ? ENCODING_UTF16 : ENCODING_WINDOWS_1252, &text))
        return *pError = Refusal(FILE_NOT_TEXT, 1), false;
    text.bBom = bUtf16 || bUtf8Bom;
    if (!DecideDialect(text, &pDocument->dialect))
        return *pError = Refusal(FILE_NO_HEADER, 1), false;
    if (pDocument->Rules().bHeader && bUtf8Bom)
        return *pError = Refusal(FILE_UTF8_BOM, 1), false;
    if (pDocument->Rules().bUtf8 && !bUtf16)
    {
        FileText utf8;
        if (DecodeText(bytes, nStart, ENCODING_UTF8, &utf8))
            text = std::move(utf8), text.bBom = bUtf8Bom;
        else if (bUtf8Bom)
            return *pError = Refusal(FILE_NOT_TEXT, 1), false;
    }
    if (int nLine = LineWithNul(text))
        return *pError = Refusal(FILE_NOT_TEXT, nLine), false;
    return true;
}

// An image's Ctrl-Z, which ends its text; regedit takes it for a comment.
bool IsEndMark(const WString &strText, const DialectRules &rules)
{
    const size_t nAt = SkipBlanks(strText, 0);
    return !rules.bHashComments && nAt < strText.size() && strText[nAt] == 0x1A;
}

// What the line is, by how it begins; values and their continuations are
// grouped later.
Node Classify(const WString &strText, const DialectRules &rules)
{
    const size_t nAt = SkipBlanks(strText, 0);
    const WCHAR ch = nAt < strText.size() ? strText[nAt] : WCHAR(0);
    const WString strTrimmed = Trimmed(strText);
    if (ch == 0)
        return { NODE_BLANK, 0, 0, WString() };
    if (ch == ';' || (rules.bHashComments && (ch == '#' || ch == 0x1A)))
        return { NODE_COMMENT, 0, 0, WString() };
    if (IsEndMark(strText, rules))
        return { NODE_END_MARK, 0, 0, WString() };
    if (rules.bDirectives && ch == '#')
        return HashDirective(strTrimmed);
    const NodeKind condition = rules.bDirectives ? ConditionWord(strTrimmed) : NODE_UNREADABLE;
    if (condition != NODE_UNREADABLE)
    {
        size_t cchWord = condition == NODE_IF ? 2 : condition == NODE_ELSE ? 4 : 5;
        return { condition, 0, 0, Trimmed(strTrimmed.substr(cchWord)) };
    }
    if (ch == '[')
        return { NODE_KEY, 0, 0, WString() };
    if (ch == '"' || ch == '@')
        return { NODE_VALUE, 0, 0, WString() };
    return { NODE_UNREADABLE, 0, 0, WString() };
}

// Whether the value's line, its data from nData, goes on on the next line:
// bytes that end in a backslash, or a multi_sz's strings that end in a comma.
bool GoesOn(const WString &strText, size_t nData, bool bHex, const DialectRules &rules)
{
    size_t nEnd = ContentEnd(strText, nData);
    if (nEnd == nData)
        return false;
    return bHex ? strText[nEnd - 1] == '\\' : rules.bMultiSz && strText[nEnd - 1] == ',';
}

// The line a value goes on on, past blank lines and comments; -1 at the end
// of the text, which an image's Ctrl-Z ends.
int NextDataLine(const RegDocument &document, int nLine)
{
    while (++nLine < document.text.LineCount())
        if (IsEndMark(document.Line(nLine), document.Rules()))
            return -1;
        else if (!EndsEntry(document.Line(nLine), 0))
            return nLine;
    return -1;
}

} // namespace

bool OpensBlock(NodeKind kind)
{
    return kind == NODE_IF || kind == NODE_HASH_IF;
}

bool ClosesBlock(NodeKind kind)
{
    return kind == NODE_ENDIF || kind == NODE_HASH_ENDIF;
}

size_t DataStart(const WString &strText)
{
    size_t nAt = SkipBlanks(strText, 0);
    WString strName;
    if (nAt < strText.size() && strText[nAt] == '@')
        nAt++;
    else if (ParseQuoted(strText, &nAt, &strName) != UNQUOTED)
        return WString::npos;
    nAt = SkipBlanks(strText, nAt);
    return nAt < strText.size() && strText[nAt] == '=' ? SkipBlanks(strText, nAt + 1) : WString::npos;
}

size_t ContentEnd(const WString &strText, size_t nFrom)
{
    size_t nAt = nFrom;
    bool bQuoted = false;
    for (; nAt < strText.size() && (bQuoted || strText[nAt] != ';'); nAt++)
        if (strText[nAt] == '\\' && bQuoted)
            nAt++;
        else if (strText[nAt] == '"')
            bQuoted = !bQuoted;
    nAt = std::min(nAt, strText.size());
    while (nAt > nFrom && IsSpace(strText[nAt - 1]))
        nAt--;
    return nAt;
}

bool ReadDocument(const std::vector<BYTE> &bytes, RegDocument *pDocument, FileError *pError)
{
    *pDocument = RegDocument();
    *pError = FileError();
    if (!Decode(bytes, pDocument, pError))
        return false;
    const DialectRules &rules = pDocument->Rules();
    const int nLines = pDocument->text.LineCount();
    for (int i = 0; i < nLines; i++)
    {
        Node node = i == 0 && rules.bHeader ? Node{ NODE_HEADER, 0, 0, WString() } : Classify(pDocument->Line(i), rules);
        // The build reads the file as text, which an image's Ctrl-Z ends.
        if (!pDocument->nodes.empty() && pDocument->nodes.back().kind == NODE_END_MARK)
            node.kind = NODE_END_MARK;
        node.nFirst = node.nLast = i;
        size_t nData = node.kind == NODE_VALUE ? DataStart(pDocument->Line(i)) : WString::npos;
        if (nData != WString::npos)
        {
            const WString &strFirst = pDocument->Line(i);
            const bool bHex = strFirst.compare(nData, 4, TEXT("hex:")) == 0 || strFirst.compare(nData, 4, TEXT("hex(")) == 0;
            const bool bMultiSz = rules.bMultiSz && strFirst.compare(nData, 9, TEXT("multi_sz:")) == 0;
            for (size_t nFrom = nData; (bHex || bMultiSz) && GoesOn(pDocument->Line(node.nLast), nFrom, bHex, rules);
                 nFrom = 0)
            {
                int nNext = NextDataLine(*pDocument, node.nLast);
                if (nNext < 0 && !rules.bEndInsideValue)
                    return *pError = Refusal(FILE_TRUNCATED_CONTINUATION, nLines), false;
                if (nNext < 0)
                {
                    pDocument->nOpenAtEnd = node.nFirst;
                    break;
                }
                node.nLast = nNext;
            }
        }
        pDocument->nodes.push_back(node);
        i = node.nLast;
    }
    return true;
}
