// The menu bar at the top of the sheet. Handhelds have a command bar for it;
// on the desktop the window's own menu bar stands in, so that the keyboard
// reaches it as it reaches any menu bar (F10 or Alt, the arrows, Enter and
// Escape). Its pop-ups come from the menu that a menu-bar description names.
#pragma once

#include "Wnd.h"

class CCommandBar
{
public:
    CCommandBar() = default;
    ~CCommandBar();
    CCommandBar(const CCommandBar &) = delete;
    CCommandBar &operator=(const CCommandBar &) = delete;

    // The handheld's style and id describe a child window; the desktop's
    // menu bar belongs to the parent's frame, so only the parent counts.
    BOOL Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID);
    // Adds one pop-up for each button of a menu-bar description (an RCDATA
    // resource of 16-bit words), labelled with the button's string, before
    // position nButton or at the end for a position past the last. The
    // parent grows by the height the bar takes from its client area.
    BOOL InsertMenuBar(UINT nMenuBarID, int nButton);

private:
    HWND m_hWndParent = nullptr;
    HMENU m_hMenu = nullptr;
    bool m_bAttached = false;
};
