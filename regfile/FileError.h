// Why a registry file was refused, and where: what each stage of reading
// hands back in place of its result.
#pragma once

#include "RegText.h"

enum FileErrorCode
{
    FILE_OK,
    FILE_NO_HEADER,            // neither a regedit header nor an image's first line
    FILE_NOT_TEXT,             // binary bytes, or text that does not decode
    FILE_BAD_KEY,              // a key outside the registry's roots, or malformed
    FILE_VALUE_OUTSIDE_KEY,    // a value before the first key
    FILE_NOT_AN_ENTRY,         // a line that is no key, value, comment or directive
    FILE_UNTERMINATED_STRING,
    FILE_BAD_NUMBER,           // in dword:, hex: or hex(n):
    FILE_TRUNCATED_CONTINUATION,
    FILE_NOT_MACHINE,          // a key outside HKEY_LOCAL_MACHINE where only that will do
    FILE_UTF8_BOM,             // a regedit header after a UTF-8 byte order mark
    FILE_BAD_ESCAPE,           // \0 in quotes
    FILE_BROKEN_CONTINUATION,  // the line after a backslash does not go on with bytes
    FILE_BAD_STRING_BYTES,     // string data in hexadecimal that is not whole characters
    FILE_UNCLOSED_IF,
    FILE_UNMATCHED_CONDITION,  // ELSE or ENDIF without its IF, or a second ELSE
    FILE_UNDEFINED_NAME,       // a $(NAME) defined nowhere, where Marlin needs the line
    FILE_BUILD_ERROR,          // an #error the build stops at; the text is its own
    FILE_OPAQUE_VALUE,         // a value Marlin needs that only the build fills in
    FILE_ERROR_COUNT
};

struct FileError
{
    FileErrorCode code = FILE_OK;
    int nLine = 0;       // from 1
    WString strText;     // FILE_BUILD_ERROR: what the build would say
};

inline FileError Refusal(FileErrorCode code, int nLine, const WString &strText = WString())
{
    FileError error;
    error.code = code;
    error.nLine = nLine;
    error.strText = strText;
    return error;
}

// A quoted name or string that does not read.
inline FileError UnquotedRefusal(Unquoted unquoted, int nLine)
{
    return Refusal(unquoted == UNQUOTED_NUL ? FILE_BAD_ESCAPE : FILE_UNTERMINATED_STRING, nLine);
}
