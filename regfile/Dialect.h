// What differs between the two dialects of registry file, by name, in one
// place:
// - regedit's: "REGEDIT4" (ANSI, read as Windows-1252) or "Windows Registry
//   Editor Version 5.00" (UTF-16LE with a byte order mark), read into
//   exactly the tree `regedit /S` leaves;
// - a device image's, which the image build merges into a device's first
//   registry: no header, its preprocessor's conditions and names, ANSI,
//   UTF-8 or UTF-16.
// A new rule of either dialect is a member here, asked for by name where it
// applies; no stage tests the dialect itself.
#pragma once

#include "RegText.h"

enum Dialect
{
    DIALECT_REGEDIT,
    DIALECT_IMAGE,
};

struct DialectRules
{
    bool bHeader;            // a header line first, which the file's lines follow
    bool bHashComments;      // "#" and Ctrl-Z begin comments, as ";" does
    bool bDirectives;        // IF/ELSE/ENDIF, the #if family, #define, $(NAME)
    bool bUtf8;              // UTF-8 where the bytes are UTF-8, else ANSI
    bool bMultiSz;           // multi_sz:"a","b"
    bool bOpaqueData;        // LOC_NAME and mui_sz:, which only the build fills in
    bool bAnyDwordDigits;    // dword: of any digits that fit; else 1 to 8, none read as 0
    bool bWholeHexStrings;   // string types in hexadecimal end in a zero, ANSI bytes widened
    bool bEndInsideValue;    // a file may end inside a continued value
    bool bTextAfterKey;      // what follows a key's last "]" is ignored; else only a comment
    bool bWritesDeletions;   // a new file deletes absent values; else leaves them out
};

const DialectRules &RulesOf(Dialect dialect);

namespace RegFormat
{
const char HEADER4[] = "REGEDIT4";
const char HEADER5[] = "Windows Registry Editor Version 5.00";
const WCHAR MACHINE[] = TEXT("HKEY_LOCAL_MACHINE");
} // namespace RegFormat
