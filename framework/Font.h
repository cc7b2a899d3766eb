// A font that the object owns: the handle is deleted with the object.
#pragma once

#include <windows.h>

class CFont
{
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont &) = delete;
    CFont &operator=(const CFont &) = delete;

    // Replaces any font held before.
    BOOL CreateFontIndirect(const LOGFONTW *pLogFont);
    void DeleteObject();
    HFONT GetSafeHandle() const { return m_hFont; }

private:
    HFONT m_hFont = nullptr;
};
