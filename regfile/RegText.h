// The pieces of text a registry file is made of: names without regard to
// case, blanks, hexadecimal numbers, quoted strings, Windows-1252, UTF-8.
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
// Where the blanks from nAt end.
size_t SkipBlanks(const WString &str, size_t nAt);
// Nothing but blanks from nAt, or blanks and a ";" comment.
bool EndsEntry(const WString &str, size_t nAt);

// The digit's value, -1 for none.
int HexDigit(WCHAR ch);
bool IsHexDigit(WCHAR ch);
// 1 to nMaxDigits hexadecimal digits and nothing else.
bool ParseHex(const WString &str, size_t nMaxDigits, DWORD *pdwValue);
// A number as the C library's wcstoul reads one in base 16 (blanks, a sign,
// "0x", digits), from *pnAt, which then points after it. False without
// digits, *pnAt unmoved; *pbTooBig when it does not fit 32 bits.
bool ReadNumber(const WString &str, size_t *pnAt, DWORD *pdwValue, bool *pbTooBig);
// nDigits lower-case digits, zeros in front.
WString HexText(DWORD dwValue, int nDigits);
// As few digits as the number needs.
WString HexNumber(DWORD dwValue);

// A quoted string from str[*pnAt] (the opening quote) to its closing quote,
// after which *pnAt then points. \n and \r stand for a line feed and a
// carriage return, a backslash before any other character for that
// character; \0 stands for nothing regedit accepts.
enum Unquoted
{
    UNQUOTED,
    UNQUOTED_OPEN,   // no closing quote
    UNQUOTED_NUL,    // \0
};
Unquoted ParseQuoted(const WString &str, size_t *pnAt, WString *pstrOut);
// The string in quotes, with what ParseQuoted reads back escaped.
WString Quoted(const WString &str);

// The keys of a path, without empty ones.
std::vector<WString> Components(const WString &strPath);
// The path with empty keys left out, as the registry reads it.
WString NormalPath(const WString &strPath);

// Windows-1252, as regedit reads an ANSI file: every byte is a character.
WCHAR FromWindows1252(unsigned char ch);
// False for a character the code page does not have.
bool ToWindows1252(WCHAR ch, char *pch);

// False when the bytes are not valid UTF-8 (overlong forms and surrogates
// included).
bool DecodeUtf8(const ByteString &str, WString *pstrOut);
// False for a surrogate without its other half.
bool EncodeUtf8(const WString &str, ByteString *pstrOut);
