// The pieces of text a registry file is made of: names without regard to
// case, blanks, hexadecimal numbers, quoted strings, UTF-8.
#pragma once

#include "String.h"

#include <vector>

WString Folded(WString str);
bool EqualsAscii(const WString &str, const char *psz);
bool StartsWithAscii(const WString &str, size_t nAt, const char *psz);
WString Widen(const char *psz);

bool IsSpace(WCHAR ch);
// Without blanks at either end (nor a carriage return at the end).
WString Trimmed(const WString &str);

// 1 to nMaxDigits hexadecimal digits and nothing else.
bool ParseHex(const WString &str, size_t nMaxDigits, DWORD *pdwValue);
// nDigits lower-case digits, zeros in front.
WString HexText(DWORD dwValue, int nDigits);
// As few digits as the number needs.
WString HexNumber(DWORD dwValue);

// A quoted string from str[*pnAt] (the opening quote) to its closing quote,
// after which *pnAt then points; false when it does not close. \\ and \"
// stand for themselves, \n for a line break.
bool ParseQuoted(const WString &str, size_t *pnAt, WString *pstrOut);
// The string in quotes, with what ParseQuoted reads back escaped.
WString Quoted(const WString &str);

// The keys of a path, without empty ones.
std::vector<WString> Components(const WString &strPath);

// False when the bytes are not valid UTF-8.
bool DecodeUtf8(const ByteString &str, WString *pstrOut);
ByteString EncodeUtf8(const WString &str);
