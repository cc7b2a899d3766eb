#include "Font.h"

BOOL CFont::CreateFontIndirect(const LOGFONTW *pLogFont)
{
    DeleteObject();
    m_hFont = ::CreateFontIndirectW(pLogFont);
    return m_hFont != nullptr;
}

void CFont::DeleteObject()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = nullptr;
}
