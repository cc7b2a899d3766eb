#include "CommandBar.h"

#include <commctrl.h>

#include <vector>

IMPLEMENT_DYNAMIC(CCommandBar, CWnd)

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
    if (m_hMenu)
        DestroyMenu(m_hMenu);
}

BOOL CCommandBar::Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_BAR_CLASSES };
    InitCommonControlsEx(&icc);

    DWORD dwToolbarStyle = (dwStyle & 0xFFFF0000) | CCS_TOP | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST;
    HWND hWnd = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, dwToolbarStyle, 0, 0, 0, 0,
                                pParentWnd->GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hWnd)
        return FALSE;
    Attach(hWnd);
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(0, 0));
    return TRUE;
}

BOOL CCommandBar::InsertMenuBar(UINT nMenuBarID, int nButton)
{
    if (!m_hWnd || m_hMenu)
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

    m_hMenu = LoadMenuW(hInstance, MAKEINTRESOURCEW(wMenuID));
    if (!m_hMenu)
        return FALSE;

    const MenuBarButton *pButtons = reinterpret_cast<const MenuBarButton *>(pWords + 2);
    std::vector<CString> labels(nButtons);
    std::vector<TBBUTTON> buttons(nButtons);
    for (int i = 0; i < nButtons; i++)
    {
        WCHAR szLabel[64] = {};
        LoadStringW(hInstance, pButtons[i].wLabelID, szLabel, ARRAYSIZE(szLabel));
        labels[i] = szLabel;

        TBBUTTON &button = buttons[i];
        button.iBitmap = static_cast<SHORT>(pButtons[i].wImage);    // 0xFFFE: I_IMAGENONE
        button.idCommand = pButtons[i].wCommand;
        button.fsState = static_cast<BYTE>(pButtons[i].wState);
        button.fsStyle = static_cast<BYTE>(pButtons[i].wStyle);      // drop-down, fitted to the label
        button.dwData = pButtons[i].wPopup;
        button.iString = reinterpret_cast<INT_PTR>(static_cast<const WCHAR *>(labels[i]));
    }

    int nExisting = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    if (nButton < 0 || nButton >= nExisting)
        SendMessage(TB_ADDBUTTONSW, nButtons, reinterpret_cast<LPARAM>(buttons.data()));
    else
        for (int i = 0; i < nButtons; i++)
            SendMessage(TB_INSERTBUTTONW, nButton + i, reinterpret_cast<LPARAM>(&buttons[i]));
    SendMessage(TB_AUTOSIZE);
    MakeRoomInParent();
    return TRUE;
}

// The bar takes a strip at the top of the parent: everything else in the
// parent moves down by the bar's height, and the parent grows by as much.
void CCommandBar::MakeRoomInParent() const
{
    HWND hParent = GetParent(m_hWnd);
    RECT rcBar;
    GetWindowRect(m_hWnd, &rcBar);
    int cyBar = rcBar.bottom - rcBar.top;

    for (HWND hChild = GetWindow(hParent, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if (hChild == m_hWnd)
            continue;
        RECT rc;
        GetWindowRect(hChild, &rc);
        MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT *>(&rc), 2);
        SetWindowPos(hChild, nullptr, rc.left, rc.top + cyBar, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT rcParent;
    GetWindowRect(hParent, &rcParent);
    SetWindowPos(hParent, nullptr, 0, 0, rcParent.right - rcParent.left, rcParent.bottom - rcParent.top + cyBar,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CCommandBar::OnChildNotify(UINT nMessage, WPARAM, LPARAM lParam, LRESULT &lResult)
{
    const NMHDR *pHeader = reinterpret_cast<const NMHDR *>(lParam);
    if (nMessage != WM_NOTIFY || pHeader->code != TBN_DROPDOWN)
        return false;
    TrackDropDown(reinterpret_cast<const NMTOOLBARW *>(lParam)->iItem);
    lResult = TBDDRET_DEFAULT;
    return true;
}

// Drops the button's pop-up down below it; the chosen item reaches the
// parent as WM_COMMAND, as from a menu bar.
void CCommandBar::TrackDropDown(int nCommand)
{
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_LPARAM;
    if (SendMessage(TB_GETBUTTONINFOW, nCommand, reinterpret_cast<LPARAM>(&info)) < 0)
        return;
    HMENU hPopup = GetSubMenu(m_hMenu, static_cast<int>(info.lParam));
    if (!hPopup)
        return;
    RECT rc;
    SendMessage(TB_GETRECT, nCommand, reinterpret_cast<LPARAM>(&rc));
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(&rc), 2);
    TPMPARAMS params = { sizeof(params), rc };

    SendMessage(TB_PRESSBUTTON, nCommand, TRUE);
    TrackPopupMenuEx(hPopup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, rc.left, rc.bottom,
                     GetParent(m_hWnd), &params);
    SendMessage(TB_PRESSBUTTON, nCommand, FALSE);
}
