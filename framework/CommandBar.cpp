#include "CommandBar.h"

#include <commctrl.h>

#include <vector>

// A button of the menu-bar description: seven words.
struct MenuBarButton
{
    WORD wImage;
    WORD wCommand;
    WORD wState;
    WORD wStyle;
    WORD wLabelID;
    WORD wZero;
    WORD wPopup;
};

CCommandBar::~CCommandBar()
{
    if (m_hMenu && !m_bAttached)
        DestroyMenu(m_hMenu);
}

BOOL CCommandBar::Create(CWnd *pParentWnd, DWORD, UINT)
{
    m_hWndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    return m_hWndParent != nullptr;
}

BOOL CCommandBar::InsertMenuBar(UINT nMenuBarID, int nButton)
{
    if (!m_hWndParent || m_hMenu)
        return FALSE;
    HINSTANCE hInstance = GetModuleHandleW(nullptr);
    HRSRC hResource = FindResourceW(hInstance, MAKEINTRESOURCEW(nMenuBarID), RT_RCDATA);
    if (!hResource)
        return FALSE;
    const WORD *pWords = static_cast<const WORD *>(LockResource(LoadResource(hInstance, hResource)));
    DWORD cbSize = SizeofResource(hInstance, hResource);
    if (!pWords || cbSize < 2 * sizeof(WORD))
        return FALSE;
    WORD wMenuID = pWords[0], nButtons = pWords[1];
    if (cbSize < 2 * sizeof(WORD) + nButtons * sizeof(MenuBarButton))
        return FALSE;

    // The pop-ups move from the loaded menu into the bar, which then owns them.
    HMENU hSource = LoadMenuW(hInstance, MAKEINTRESOURCEW(wMenuID));
    if (!hSource)
        return FALSE;
    m_hMenu = CreateMenu();
    const MenuBarButton *pButtons = reinterpret_cast<const MenuBarButton *>(pWords + 2);
    int nSourceItems = GetMenuItemCount(hSource);
    std::vector<bool> moved(nSourceItems > 0 ? nSourceItems : 0);
    for (int i = 0; i < nButtons; i++)
    {
        int nPopup = pButtons[i].wPopup;
        HMENU hPopup = nPopup < nSourceItems && !moved[nPopup] ? GetSubMenu(hSource, nPopup) : nullptr;
        if (!hPopup)
            continue;
        moved[nPopup] = true;
        WCHAR szLabel[64] = {};
        LoadStringW(hInstance, pButtons[i].wLabelID, szLabel, ARRAYSIZE(szLabel));
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        item.dwTypeData = szLabel;
        item.hSubMenu = hPopup;
        item.fState = (pButtons[i].wState & TBSTATE_ENABLED) ? MFS_ENABLED : MFS_GRAYED;
        int nCount = GetMenuItemCount(m_hMenu);
        int nPosition = nButton >= 0 && nButton + i < nCount ? nButton + i : nCount;
        InsertMenuItemW(m_hMenu, static_cast<UINT>(nPosition), TRUE, &item);
    }
    // The pop-ups now in the bar leave the loaded menu, so that they outlive it.
    for (int nItem = nSourceItems - 1; nItem >= 0; nItem--)
        if (moved[nItem])
            RemoveMenu(hSource, static_cast<UINT>(nItem), MF_BYPOSITION);
    DestroyMenu(hSource);

    // The bar takes its height from the client area; the parent grows by as
    // much, so that nothing in it is cut off. A window not yet shown (a
    // dialog in its WM_INITDIALOG) is not drawn for it: it is drawn whole
    // when it shows, and the start is the quicker.
    RECT rcBefore, rcAfter, rcWindow;
    GetClientRect(m_hWndParent, &rcBefore);
    if (!SetMenu(m_hWndParent, m_hMenu))
        return FALSE;
    m_bAttached = true;
    GetClientRect(m_hWndParent, &rcAfter);
    GetWindowRect(m_hWndParent, &rcWindow);
    SetWindowPos(m_hWndParent, nullptr, 0, 0, rcWindow.right - rcWindow.left,
                 rcWindow.bottom - rcWindow.top + (rcBefore.bottom - rcAfter.bottom),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (IsWindowVisible(m_hWndParent) ? 0 : SWP_NOREDRAW | SWP_NOCOPYBITS));
    return TRUE;
}
