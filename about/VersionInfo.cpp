#include "VersionInfo.h"

#include "ProgramPath.h"

#include <new>

namespace
{

// Four upper-case hexadecimal digits, as "%04X" gives them.
CString Hex4(unsigned nValue)
{
    static const char szDigits[] = "0123456789ABCDEF";
    WCHAR szHex[5];
    for (int i = 0; i < 4; ++i)
        szHex[i] = static_cast<WCHAR>(szDigits[(nValue >> (12 - 4 * i)) & 0xF]);
    szHex[4] = 0;
    return CString(szHex);
}

// How well a language suits the user's interface language: 2 it is the
// same, 1 the same language of another country, 0 another language.
int Suitability(LANGID wLanguage, LANGID wUserLanguage)
{
    if (wLanguage == wUserLanguage)
        return 2;
    return PRIMARYLANGID(wLanguage) == PRIMARYLANGID(wUserLanguage) ? 1 : 0;
}

} // namespace

CVersionInfo::CVersionInfo()
{
    CString strFile = ProgramPath();
    DWORD dwHandle = 0;
    DWORD dwSize = strFile.IsEmpty() ? 0 : GetFileVersionInfoSizeW(strFile, &dwHandle);
    if (dwSize == 0)
        return;

    // Zero-filled; an allocation that fails leaves the reader empty.
    m_pData.reset(new (std::nothrow) BYTE[dwSize]());
    if (!m_pData || !GetFileVersionInfoW(strFile, 0, dwSize, m_pData.get()))
        return;

    void *pValue = nullptr;
    UINT nLength = 0;
    // A root value too short for the fixed record is no fixed record.
    if (VerQueryValueW(m_pData.get(), TEXT("\\"), &pValue, &nLength) && nLength >= sizeof(VS_FIXEDFILEINFO))
        m_pFixedInfo = static_cast<const VS_FIXEDFILEINFO *>(pValue);

    pValue = nullptr;
    nLength = 0;
    if (VerQueryValueW(m_pData.get(), TEXT("\\VarFileInfo\\Translation"), &pValue, &nLength) && pValue)
    {
        m_pTranslations = static_cast<const DWORD *>(pValue);
        m_nTranslations = static_cast<int>(nLength / 4);
    }
}

CVersionInfo::~CVersionInfo() = default;

CString CVersionInfo::QueryValue(const WCHAR *pszName) const
{
    if (!pszName)
        return CString();
    LANGID wUserLanguage = GetUserDefaultUILanguage();
    for (int nSuitability = 2; nSuitability >= 0; --nSuitability)
    {
        for (int i = 0; i < m_nTranslations; ++i)
        {
            DWORD dwEntry = m_pTranslations[i];
            if (Suitability(LOWORD(dwEntry), wUserLanguage) != nSuitability)
                continue;
            // "\StringFileInfo\%04X%04X\%s": language (low word), code page (high word), name.
            CString strPath = CString(TEXT("\\StringFileInfo\\")) + Hex4(dwEntry & 0xFFFF) + Hex4(dwEntry >> 16) +
                              CString(TEXT("\\")) + CString(pszName);
            void *pValue = nullptr;
            UINT nLength = 0;
            if (VerQueryValueW(m_pData.get(), strPath, &pValue, &nLength))
            {
                // This entry wins. The length counts characters (with the
                // terminator); the copy stops at the first zero and never reads
                // past the value, and a value of length 0 has no characters.
                if (!pValue || nLength == 0)
                    return CString();
                const WCHAR *pszValue = static_cast<const WCHAR *>(pValue);
                UINT nChars = 0;
                while (nChars < nLength && pszValue[nChars])
                    ++nChars;
                CString strValue;
                WCHAR *pszBuffer = strValue.GetBuffer(static_cast<int>(nChars));
                for (UINT j = 0; j < nChars; ++j)
                    pszBuffer[j] = pszValue[j];
                strValue.ReleaseBuffer(static_cast<int>(nChars));
                return strValue;
            }
        }
    }
    return CString();
}
