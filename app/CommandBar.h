// The menu bar at the top of the sheet. Handhelds have a command bar for it;
// on the desktop a toolbar stands in: one drop-down button for each pop-up
// of the menu, made from the menu-bar description resource, above the
// parent's other controls.
#pragma once

#include "Wnd.h"

class CCommandBar : public CWnd
{
    DECLARE_DYNAMIC(CCommandBar)
public:
    CCommandBar() = default;
    ~CCommandBar() override;

    // The handheld's style bits in the low word (docked at the top, with a
    // border along the bottom) are the desktop toolbar's top docking here.
    BOOL Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID);
    // Adds the buttons of a menu-bar description (an RCDATA resource of
    // 16-bit words) before button nButton, or at the end for an index past
    // the last, and makes room for the bar in the parent.
    BOOL InsertMenuBar(UINT nMenuBarID, int nButton);

    // The menu the buttons drop down; the bar owns it.
    HMENU GetMenu() const { return m_hMenu; }

protected:
    bool OnChildNotify(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT &lResult) override;

private:
    void TrackDropDown(int nCommand);
    void MakeRoomInParent() const;

    HMENU m_hMenu = nullptr;
};
