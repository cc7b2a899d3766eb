// A registry file as text: its bytes split into lines as regedit splits them
// (CR LF, CR or LF), each line's bytes kept so that a rewrite can give back
// every byte it does not change, and text turned back into the file's bytes.
#pragma once

#include "RegText.h"

#include <vector>

enum Encoding
{
    ENCODING_WINDOWS_1252,
    ENCODING_UTF8,
    ENCODING_UTF16,   // little-endian, after its byte order mark
};

struct TextLine
{
    size_t nRaw, cbRaw;   // where its bytes lie in the file's, end of line included
    WString strText;      // decoded, without the end of line
};

struct FileText
{
    Encoding encoding = ENCODING_UTF16;
    bool bBom = false;
    ByteString strEol;   // encoded: the file's first line end, else CR LF
    ByteString bytes;    // the file's, which the lines lie in
    std::vector<TextLine> lines;

    int LineCount() const { return static_cast<int>(lines.size()); }
    // The line's end, encoded; empty for a last line without one.
    ByteString LineEnd(int nLine) const;
    ByteString ByteOrderMark() const;
    // False for a character the encoding cannot hold.
    bool Encode(const WString &strText, ByteString *pstrOut) const;
};

// The bytes' byte order mark, as the encoding it names and its length.
bool HasUtf16Bom(const std::vector<BYTE> &bytes);
bool HasUtf8Bom(const std::vector<BYTE> &bytes);

// The bytes from nStart as lines of this encoding; false when they are not
// (UTF-8 that does not decode, an odd number of UTF-16 bytes).
bool DecodeText(const std::vector<BYTE> &bytes, size_t nStart, Encoding encoding, FileText *pText);
// The first line (from 1) holding a NUL, which no registry file does; 0 for none.
int LineWithNul(const FileText &text);
// A new file's text in this encoding, with CR LF line ends.
FileText EmptyText(Encoding encoding, bool bBom);
