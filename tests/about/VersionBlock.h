// Version blocks for tests: a serializer of the published VS_VERSIONINFO
// format, and files that carry a chosen block as their version resource.
#pragma once

#include "String.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

std::string Narrow(const WCHAR *psz);
inline void PrintTo(const CString &str, std::ostream *os) { *os << '"' << Narrow(str) << '"'; }

// One node of a version block: WORD wLength, WORD wValueLength, WORD wType,
// the key with its terminator, padding to 32 bits, the value, then the
// children, each starting on a 32-bit boundary. wLength counts the node from
// its first byte to the end of its last child (or of its value).
struct VersionNode
{
    std::wstring strKey;
    WORD wValueLength = 0;  // as stored: characters for text, bytes for binary
    WORD wType = 1;         // 1 text, 0 binary
    std::vector<BYTE> value;
    std::vector<VersionNode> children;
};

std::vector<BYTE> Serialize(const VersionNode &node);

// A String: its text with a terminator, wValueLength the characters
// including the terminator.
VersionNode StringValue(const std::wstring &strKey, const std::wstring &strText);
// A String with a value of no characters at all: wValueLength 0, no data.
VersionNode EmptyStringValue(const std::wstring &strKey);
VersionNode StringTable(const std::wstring &strKey, std::vector<VersionNode> values);
VersionNode StringFileInfo(std::vector<VersionNode> tables);
// A Var: the words as stored, wValueLength their length in bytes.
VersionNode Var(const std::wstring &strKey, const std::vector<WORD> &words);
VersionNode VarFileInfo(std::vector<VersionNode> vars);
// The root "VS_VERSION_INFO" with the fixed part the helpers use:
// file version 1.2.3.4, product version 5.6.7.8, mask 0x3F, OS 4, type 2.
VS_FIXEDFILEINFO MadeFixedInfo();
VersionNode VersionRoot(std::vector<VersionNode> children);

// Files in a temporary directory of the test's own, removed afterwards. Each
// file is a copy of the test program with every resource removed and, when
// a block is given, that block as version resource 1 (language 0x0409).
class VersionFileTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // The new file's path; empty, with a failure recorded, if it could not
    // be written.
    std::wstring FileWithBlock(const std::vector<BYTE> &block);
    std::wstring FileWithoutBlock();

private:
    std::wstring WriteFile(const std::vector<BYTE> *pBlock);

    std::wstring m_strDirectory;
    std::vector<std::wstring> m_files;
};
