// Registry files in two dialects:
// - regedit's: "REGEDIT4" (ANSI, read as Windows-1252) or "Windows Registry
//   Editor Version 5.00" (UTF-16LE with a byte order mark), read into exactly
//   the tree `regedit /S` leaves, or refused naming the line (RegFileRead.cpp);
// - a device image's, which the image build merges into the device's first
//   registry: no header, IF/ELSE/ENDIF on build variables, #define and
//   $(NAME), multi_sz: (ImageDirectives.cpp), ANSI, UTF-8 or UTF-16.
// A value's data is read and written in ValueData.cpp. A rewrite changes only
// the lines of the values asked for, so that every other byte stays
// (RegFileWrite.cpp). Memory is linear in the file's size, and so is time for
// keys in the order regedit writes them (each level's names are kept sorted,
// so keys in another order cost more).
#pragma once

#include "BuildVariables.h"
#include "RegTree.h"

#include <climits>
#include <vector>

namespace RegFormat
{
const char HEADER4[] = "REGEDIT4";
const char HEADER5[] = "Windows Registry Editor Version 5.00";
const WCHAR MACHINE[] = TEXT("HKEY_LOCAL_MACHINE");
} // namespace RegFormat

class CRegFile
{
public:
    enum Dialect
    {
        DIALECT_REGEDIT,
        DIALECT_IMAGE,
    };
    enum Error
    {
        ERROR_NONE,
        ERROR_NO_HEADER,            // neither a regedit header nor an image's first line
        ERROR_NOT_TEXT,             // binary bytes, or text that does not decode
        ERROR_BAD_KEY,              // a key outside the registry's roots, or malformed
        ERROR_VALUE_OUTSIDE_KEY,    // a value before the first key
        ERROR_NOT_AN_ENTRY,         // a line that is no key, value or comment
        ERROR_UNTERMINATED_STRING,
        ERROR_BAD_NUMBER,           // in dword:, hex: or hex(n):
        ERROR_TRUNCATED_CONTINUATION,
        ERROR_NOT_MACHINE,          // a key outside HKEY_LOCAL_MACHINE where only that will do
        ERROR_UTF8_BOM,             // a regedit header after a UTF-8 byte order mark
        ERROR_BAD_ESCAPE,           // \0 in quotes
        ERROR_BROKEN_CONTINUATION,  // the line after a backslash does not go on with bytes
        ERROR_BAD_STRING_BYTES,     // string data in hexadecimal that is not whole characters
        ERROR_UNCLOSED_IF,
        ERROR_UNMATCHED_CONDITION,  // ELSE or ENDIF without its IF, or a second ELSE
        ERROR_UNDEFINED_NAME,       // a $(NAME) defined nowhere, where Marlin needs the line
        ERROR_COUNT
    };

    // Reads the file's bytes; an image's file under these build variables
    // (none set without them). False on bad input, with the error and the
    // line (from 1) it was found on.
    bool Parse(const std::vector<BYTE> &bytes);
    bool Parse(const std::vector<BYTE> &bytes, const IBuildVariables &variables);
    Dialect GetDialect() const { return m_dialect; }
    Error GetError() const { return m_error; }
    int GetErrorLine() const { return m_nErrorLine; }

    // The HKEY_LOCAL_MACHINE tree an import into an empty registry leaves
    // (an image's: what the build makes of it under the variables).
    const CRegTree &Tree() const { return m_tree; }
    // Applies the file's keys and values to the tree in file order, as an
    // import into that registry would. Only keys under HKEY_LOCAL_MACHINE.
    void ApplyTo(CRegTree &tree) const;
    // Whether a value line that applies sets or deletes one of these.
    bool Mentions(const std::vector<RegSetting> &settings) const;
    // The first key outside HKEY_LOCAL_MACHINE, as ERROR_NOT_MACHINE; a
    // backup holds no other.
    bool OnlyMachineKeys();
    // The first line that applies and holds a $(NAME) defined nowhere, as
    // ERROR_UNDEFINED_NAME, when it is a key that may lie under
    // HKEY_LOCAL_MACHINE\strKey or one of these values.
    bool DefinesNeededNames(const WString &strKey, const std::vector<RegSetting> &values);

    // The line (from 1) that decides the value under the variables: the
    // last that sets or deletes it, or deletes its key; 0 when none does.
    int DecidingLine(const WString &strPath, const WString &strName) const;
    // Whether the line lies in branches taken under the variables.
    bool LineApplies(int nLine) const;
    // The variables the IF lines test, with the text each compares them
    // with (empty where it tests only whether it is set).
    std::vector<std::pair<WString, WString>> TestedVariables() const;

    // The file with these values as given and every other line as it was:
    // a value's deciding line changed in place; lines that set it removed
    // when it becomes absent; a new line in its key's section, or a new
    // section, placed so that no branch not taken under the variables loses
    // a value it decides. False when the result would not read back as
    // given with everything else as it was.
    bool Rewrite(const std::vector<RegSetting> &settings, std::vector<BYTE> *pBytes) const;

    // A new file of these values: regedit's "Windows Registry Editor
    // Version 5.00", absent values as deletions; or a device image's, with
    // no header and only the values present (an image starts without the
    // others), in Windows-1252 where every character fits, else in UTF-16.
    // Either has a section for every key the settings name.
    static std::vector<BYTE> Format(const std::vector<RegSetting> &settings, Dialect dialect = DIALECT_REGEDIT);

private:
    enum Encoding
    {
        ENCODING_WINDOWS_1252,
        ENCODING_UTF8,
        ENCODING_UTF16,
    };
    struct Line
    {
        ByteString strRaw;        // the bytes, end of line included
        WString strText;          // decoded, without the end of line
        int nBranch = -1;         // the IF or ELSE branch it lies in; -1: none
        bool bDirective = false;  // IF, ELSE, ENDIF, #define, #include
    };
    struct Entry   // a key or a value, over one or more lines
    {
        int nFirst, nLast;
        bool bKey, bDelete, bMachine;
        bool bApplies;      // in branches taken
        bool bKeyCertain;   // values: under the same key whatever the variables
        bool bUndefined;    // holds a $(NAME) defined nowhere
        bool bVaries;       // holds a $(NAME) that an IF block may define
        bool bOpaque;       // a value that would read only with that name defined
        WString strPath;    // under HKEY_LOCAL_MACHINE
        WString strName;    // values: as written
        RegValue value;
        WString strKnown;   // keys with a name defined nowhere: the text before it
    };
    struct Branch   // of an IF block: its IF part, or its ELSE part
    {
        int nParent;   // the branch the block lies in; -1: none
        int nIfLine;
        bool bElse, bTaken;
        WString strName, strValue;
        bool bHasValue, bNegate;
    };
    struct Edits;

    // Reading (RegFileRead.cpp)
    bool Fail(Error error, int nLine);
    bool Decode(const std::vector<BYTE> &bytes);
    bool DecideDialect(bool bUtf8Bom);
    void DecodeLines(const std::vector<BYTE> &bytes, size_t nStart);
    ByteString LineEnd(int nLine) const;   // encoded, empty for none
    WString LineText(int nLine);
    bool ParseKey(const WString &strText, int nLine);
    bool ParseValue(const WString &strText, int *pnLine);
    bool Taken() const;
    void Apply(const Entry &entry, CRegTree &tree) const;
    static bool Decides(const Entry &entry, const RegSetting &setting);
    static bool MayDecide(const Entry &entry, const RegSetting &setting);

    // A value's data (ValueData.cpp)
    bool ParseData(Entry &entry, const WString &strData, int *pnLine);
    bool ParseDword(const WString &strData, size_t nAt, RegValue *pValue, int nLine);
    bool ParseHexData(const WString &strData, RegValue *pValue, int *pnLine);
    bool ParseMultiSz(const WString &strData, RegValue *pValue, int *pnLine);
    int NextDataLine(int nLine, WString *pstrText);
    bool FormatData(const RegValue &value, WString *pstrData) const;

    // An image's directives (ImageDirectives.cpp)
    static bool IsDirective(const WString &strText);
    bool ParseDirective(int nLine);
    bool ParseCondition(const WString &strText, Branch *pBranch) const;
    bool Lookup(const WString &strName, WString *pstrValue);
    WString Substituted(const WString &strText);

    // Writing (RegFileWrite.cpp)
    bool Encode(const WString &strText, ByteString *pstrOut) const;
    bool PlanEdits(const std::vector<RegSetting> &settings, Edits *pEdits) const;
    bool PlanInsert(const RegSetting &setting, int nAfter, Edits *pEdits) const;
    bool RewrittenLine(const Entry &entry, const RegSetting &setting, WString *pstrLine) const;
    bool SettingLine(const RegSetting &setting, WString *pstrLine) const;
    bool Emit(const Edits &edits, ByteString *pstrOut) const;
    bool AppendSections(const std::vector<const RegSetting *> &settings, bool bBlankBefore, ByteString *pstrOut) const;

    Dialect m_dialect = DIALECT_REGEDIT;
    Encoding m_encoding = ENCODING_UTF16;
    bool m_bBom = false;
    ByteString m_strEol;   // encoded
    std::vector<Line> m_lines;
    std::vector<Entry> m_entries;
    std::vector<Branch> m_branches;
    CRegTree m_tree;
    CVariableTable m_variables;   // as the file was read under them
    Error m_error = ERROR_NONE;
    int m_nErrorLine = 0;

    // While reading
    const IBuildVariables *m_pVariables = nullptr;
    std::vector<int> m_open;   // branches of the blocks open, innermost last
    std::vector<std::pair<WString, WString>> m_defines;   // folded name, text
    std::vector<WString> m_varying;   // folded names an IF block may define
    bool m_bUndefined = false, m_bVaries = false;   // of the lines of the entry read now
    int m_nSection = -1;       // the key entry values now go under
    int m_nLastKey = -1;       // the last key entry, taken or not
    int m_nOpenAtEnd = INT_MAX;   // the first line of a value the file ends inside
};
