#include "String.h"

CString &CString::operator+=(const CString &other)
{
    m_str += other.m_str;
    return *this;
}

CString operator+(const CString &left, const CString &right)
{
    CString result(left);
    result += right;
    return result;
}

WCHAR *CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength())
        m_str.resize(nMinLength);
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
    {
        const WCHAR *pEnd = WideTraits::find(m_str.data(), m_str.size(), 0);
        nNewLength = pEnd ? static_cast<int>(pEnd - m_str.data()) : GetLength();
    }
    if (nNewLength < GetLength())
        m_str.resize(nNewLength);
}
