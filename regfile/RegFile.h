// Registry files as regedit imports and exports them: "REGEDIT4" (ANSI or
// UTF-8) and "Windows Registry Editor Version 5.00" (UTF-16LE with a byte
// order mark). A file is read into the tree it leaves behind when imported
// (RegFileRead.cpp), and written back by changing only the lines of the
// values asked for, so that every other byte stays (RegFileWrite.cpp).
// Memory is linear in the file's size, and so is time for keys in the order
// regedit writes them (each level's names are kept sorted, so keys in
// another order cost more).
#pragma once

#include "RegTree.h"

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
    enum Error
    {
        ERROR_NONE,
        ERROR_NO_HEADER,            // the first line names no known format
        ERROR_NOT_TEXT,             // binary bytes, or text that does not decode
        ERROR_BAD_KEY,              // a key outside the registry's roots, or malformed
        ERROR_VALUE_OUTSIDE_KEY,    // a value before the first key
        ERROR_NOT_AN_ENTRY,         // a line that is no key, value or comment
        ERROR_UNTERMINATED_STRING,
        ERROR_BAD_NUMBER,           // in dword:, hex: or hex(n):
        ERROR_TRUNCATED_CONTINUATION,
        ERROR_NOT_MACHINE,          // a key outside HKEY_LOCAL_MACHINE where only that will do
        ERROR_COUNT
    };

    // Reads the file's bytes. False on bad input, with the error and the
    // line (from 1) it was found on.
    bool Parse(const std::vector<BYTE> &bytes);
    Error GetError() const { return m_error; }
    int GetErrorLine() const { return m_nErrorLine; }

    // The HKEY_LOCAL_MACHINE tree an import into an empty registry leaves.
    const CRegTree &Tree() const { return m_tree; }
    // Applies the file's keys and values to the tree in file order, as an
    // import into that registry would. Only keys under HKEY_LOCAL_MACHINE.
    void ApplyTo(CRegTree &tree) const;
    // Whether a value line of the file sets or deletes one of these.
    bool Mentions(const std::vector<RegSetting> &settings) const;
    // The first key outside HKEY_LOCAL_MACHINE, as ERROR_NOT_MACHINE; a
    // backup holds no other.
    bool OnlyMachineKeys();

    // The file with these values as given and every other line as it was:
    // lines changed or removed in place, new ones in their key's section or
    // at the end in a section of their own.
    std::vector<BYTE> Rewrite(const std::vector<RegSetting> &settings) const;

    // A new file of these values, "Windows Registry Editor Version 5.00".
    static std::vector<BYTE> Format(const std::vector<RegSetting> &settings);

private:
    enum Encoding
    {
        ENCODING_LATIN1,
        ENCODING_UTF8,
        ENCODING_UTF16,
    };
    struct Line
    {
        ByteString strRaw;   // the bytes, end of line included
        WString strText;     // decoded, without the end of line
    };
    struct Entry   // a key or a value, over one or more lines
    {
        int nFirst, nLast;
        bool bKey, bDelete, bMachine;
        WString strPath;      // under HKEY_LOCAL_MACHINE
        WString strName;      // values: as written
        RegValue value;
    };
    // Where each value asked for stands in the file, and what a rewrite
    // does to the file's lines.
    struct Placement;
    struct Edits;

    // Reading
    bool Fail(Error error, int nLine);
    bool Decode(const std::vector<BYTE> &bytes);
    bool ParseKey(const WString &strText, int nLine);
    bool ParseValue(int *pnLine);
    void Apply(const Entry &entry, CRegTree &tree) const;

    // Writing
    ByteString Encode(const WString &strText) const;
    std::vector<Placement> Locate(const std::vector<RegSetting> &settings) const;
    Edits PlanEdits(const std::vector<RegSetting> &settings) const;
    ByteString Emit(const Edits &edits) const;
    void AppendSections(const std::vector<RegSetting> &settings, ByteString *pstrOut) const;

    Encoding m_encoding = ENCODING_UTF16;
    bool m_bBom = false;
    ByteString m_strEol;   // encoded
    std::vector<Line> m_lines;
    std::vector<Entry> m_entries;
    int m_nSection = -1;   // the key entry values now go under
    CRegTree m_tree;
    Error m_error = ERROR_NONE;
    int m_nErrorLine = 0;
};
