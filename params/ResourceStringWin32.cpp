#include "ResourceString.h"

CString LoadResourceString(UINT nId)
{
    // With no room given, LoadStringW hands back where the text lies in the
    // module; string resources are not terminated.
    const WCHAR *pText = nullptr;
    int cchText = LoadStringW(GetModuleHandleW(nullptr), nId, reinterpret_cast<WCHAR *>(&pText), 0);
    CString text;
    if (cchText > 0)
    {
        std::copy(pText, pText + cchText, text.GetBuffer(cchText));
        text.ReleaseBuffer(cchText);
    }
    return text;
}
