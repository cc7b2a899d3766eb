#include "FileText.h"

#include <algorithm>

namespace
{

size_t UnitOf(Encoding encoding)
{
    return encoding == ENCODING_UTF16 ? 2 : 1;
}

ByteString Crlf(Encoding encoding)
{
    return encoding == ENCODING_UTF16 ? ByteString("\r\0\n\0", 4) : ByteString("\r\n");
}

} // namespace

bool HasUtf16Bom(const std::vector<BYTE> &bytes)
{
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
}

bool HasUtf8Bom(const std::vector<BYTE> &bytes)
{
    return bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
}

bool DecodeText(const std::vector<BYTE> &bytes, size_t nStart, Encoding encoding, FileText *pText)
{
    const size_t nUnit = UnitOf(encoding);
    if ((bytes.size() - nStart) % nUnit)
        return false;
    pText->encoding = encoding;
    pText->bytes.assign(bytes.begin(), bytes.end());
    pText->lines.clear();
    pText->lines.reserve(bytes.size() / 32);
    auto unit = [&](size_t i) -> WCHAR { return nUnit == 1 ? bytes[i] : WCHAR(bytes[i] | bytes[i + 1] << 8); };
    for (size_t i = nStart; i + nUnit <= bytes.size();)
    {
        size_t nEnd = i;
        while (nEnd + nUnit <= bytes.size() && unit(nEnd) != '\n' && unit(nEnd) != '\r')
            nEnd += nUnit;
        size_t nNext = std::min(nEnd + nUnit, bytes.size());
        if (nNext + nUnit <= bytes.size() && unit(nEnd) == '\r' && unit(nNext) == '\n')
            nNext += nUnit;
        TextLine line = { i, nNext - i, WString() };
        if (encoding == ENCODING_UTF8)
        {
            if (!DecodeUtf8(ByteString(bytes.begin() + i, bytes.begin() + nEnd), &line.strText))
                return false;
        }
        else
        {
            line.strText.reserve((nEnd - i) / nUnit);
            for (size_t k = i; k < nEnd; k += nUnit)
                line.strText.push_back(nUnit == 1 ? FromWindows1252(bytes[k]) : unit(k));
        }
        pText->lines.push_back(std::move(line));
        i = nNext;
    }
    pText->strEol = Crlf(encoding);
    for (int i = 0; i < pText->LineCount(); i++)
        if (!pText->LineEnd(i).empty())
            return pText->strEol = pText->LineEnd(i), true;
    return true;
}

int LineWithNul(const FileText &text)
{
    for (int i = 0; i < text.LineCount(); i++)
        if (text.lines[i].strText.find(WCHAR(0)) != WString::npos)
            return i + 1;
    return 0;
}

FileText EmptyText(Encoding encoding, bool bBom)
{
    FileText text;
    text.encoding = encoding;
    text.bBom = bBom;
    text.strEol = Crlf(encoding);
    return text;
}

ByteString FileText::LineEnd(int nLine) const
{
    const size_t nUnit = UnitOf(encoding), nStart = lines[nLine].nRaw;
    size_t nEnd = nStart + lines[nLine].cbRaw;
    while (nEnd >= nStart + nUnit && (bytes[nEnd - nUnit] == '\r' || bytes[nEnd - nUnit] == '\n') &&
           (nUnit == 1 || bytes[nEnd - 1] == 0))
        nEnd -= nUnit;
    return bytes.substr(nEnd, nStart + lines[nLine].cbRaw - nEnd);
}

ByteString FileText::ByteOrderMark() const
{
    if (!bBom)
        return ByteString();
    return encoding == ENCODING_UTF16 ? ByteString("\xFF\xFE") : ByteString("\xEF\xBB\xBF");
}

bool FileText::Encode(const WString &strText, ByteString *pstrOut) const
{
    if (encoding == ENCODING_UTF8)
        return EncodeUtf8(strText, pstrOut);
    for (WCHAR ch : strText)
    {
        char chAnsi = 0;
        if (encoding == ENCODING_UTF16)
            pstrOut->append({ char(ch & 0xFF), char(ch >> 8) });
        else if (ToWindows1252(ch, &chAnsi))
            pstrOut->push_back(chAnsi);
        else
            return false;
    }
    return true;
}
