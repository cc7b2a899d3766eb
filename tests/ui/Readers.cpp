#include "Readers.h"

#include <commctrl.h>

#include <cstdio>

POINT CentreOf(const RECT &rc)
{
    return { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

RECT RectInParent(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, GetParent(hWnd), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

std::wstring WindowText(HWND hWnd)
{
    WCHAR szText[256] = {};
    GetWindowTextW(hWnd, szText, ARRAYSIZE(szText));
    return szText;
}

std::vector<std::wstring> TabTexts(HWND hTabControl)
{
    std::vector<std::wstring> texts;
    int nTabs = static_cast<int>(SendMessageW(hTabControl, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < nTabs; i++)
    {
        WCHAR szText[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = szText;
        item.cchTextMax = ARRAYSIZE(szText);
        SendMessageW(hTabControl, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(item.pszText ? item.pszText : L"(none)");
    }
    return texts;
}

HWND FindMenuWindow()
{
    for (HWND hWnd = nullptr; (hWnd = FindWindowExW(nullptr, hWnd, L"#32768", nullptr));)
        if (IsWindowVisible(hWnd) && GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId())
            return hWnd;
    return nullptr;
}

std::vector<std::wstring> MenuTexts(HMENU hMenu)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(hMenu); i++)
    {
        WCHAR szText[64] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = szText;
        info.cch = ARRAYSIZE(szText);
        GetMenuItemInfoW(hMenu, i, TRUE, &info);
        texts.push_back(info.fType & MFT_SEPARATOR ? L"-" : szText);
    }
    return texts;
}

std::string Narrow(const std::wstring &str)
{
    std::string text;
    for (WCHAR ch : str)
        text += ch < 0x80 ? static_cast<char>(ch) : '?';
    return text;
}

std::string Describe(const RECT &rc)
{
    char sz[80];
    snprintf(sz, sizeof(sz), "(%ld,%ld)-(%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}
