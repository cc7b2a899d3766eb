#include "FormatText.h"

#include "ResourceString.h"

CString FormatResource(UINT nId, std::initializer_list<CString> arguments)
{
    WString strText = static_cast<const WCHAR *>(LoadResourceString(nId));
    int nArgument = 1;
    for (const CString &strArgument : arguments)
    {
        WString strMarker = L"%" + WString(DecimalText(nArgument++));
        size_t nAt = strText.find(strMarker);
        if (nAt != WString::npos)
            strText.replace(nAt, strMarker.size(), static_cast<const WCHAR *>(strArgument));
    }
    return strText.c_str();
}

CString SystemMessage(DWORD dwError)
{
    WCHAR szText[512] = {};
    DWORD cchText = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0,
                                   szText, 512, nullptr);
    while (cchText > 0 && (szText[cchText - 1] == L'\r' || szText[cchText - 1] == L'\n' || szText[cchText - 1] == L'.'))
        szText[--cchText] = 0;
    return cchText ? CString(szText) : L"error " + DecimalText(dwError);
}

CString DecimalText(long long nValue)
{
    WCHAR szText[24];
    wsprintfW(szText, L"%I64d", nValue);
    return szText;
}
