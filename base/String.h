// CString: the program's UTF-16 string. Besides copying, joining and
// comparing, it lends out a writable buffer for platform calls that fill in
// text; ReleaseBuffer then takes the length from the terminator.
#pragma once

#include "Platform.h"

#include <string>

// The standard string with character traits of the program's own. The
// runtime's prebuilt std::string and std::wstring would each bring all their
// members (and the runtime's exceptions) into the program; these bring only
// the members it uses.
struct WideTraits : std::char_traits<WCHAR>
{
};
struct ByteTraits : std::char_traits<char>
{
};
typedef std::basic_string<WCHAR, WideTraits> WString;
typedef std::basic_string<char, ByteTraits> ByteString;

class CString
{
public:
    CString() = default;
    CString(const WCHAR *psz) : m_str(psz ? psz : TEXT("")) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    operator const WCHAR *() const { return m_str.c_str(); }

    CString &operator+=(const CString &other);
    friend CString operator+(const CString &left, const CString &right);
    friend bool operator==(const CString &left, const CString &right) { return left.m_str == right.m_str; }
    friend bool operator==(const CString &left, const WCHAR *right) { return left.m_str == right; }
    friend bool operator!=(const CString &left, const CString &right) { return !(left == right); }
    friend bool operator!=(const CString &left, const WCHAR *right) { return !(left == right); }

    // Room for nMinLength characters plus a terminator; the caller writes into
    // it and calls ReleaseBuffer before using the string again.
    WCHAR *GetBuffer(int nMinLength);
    // With -1, the length is that of the text up to the first zero, but never
    // more than the buffer lent out: a callee that filled it to the brim
    // leaves no terminator of its own.
    void ReleaseBuffer(int nNewLength = -1);

private:
    WString m_str;
};
