#include "FormatText.h"

#include "ResourceString.h"

#include <string>

CString FormatResource(UINT nId, std::initializer_list<CString> arguments)
{
    std::wstring strText = static_cast<const WCHAR *>(LoadResourceString(nId));
    int nArgument = 1;
    for (const CString &strArgument : arguments)
    {
        std::wstring strMarker = L"%" + std::to_wstring(nArgument++);
        size_t nAt = strText.find(strMarker);
        if (nAt != std::wstring::npos)
            strText.replace(nAt, strMarker.size(), static_cast<const WCHAR *>(strArgument));
    }
    return strText.c_str();
}
