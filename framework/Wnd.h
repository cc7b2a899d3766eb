// A window: its handle, the dialog-item operations the pages use (mostly one
// platform call each), and the dispatch of its messages to the framework's
// hooks and the message map.
#pragma once

#include "CmdTarget.h"
#include "String.h"

class CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd &) = delete;
    CWnd &operator=(const CWnd &) = delete;

    // Null until the platform has created the window, and again once it is gone.
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to a window of this program, or null.
    static CWnd *FromHandle(HWND hWnd);

    LRESULT SendMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0) const;
    HWND GetDlgItem(int nID) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) const;
    UINT GetDlgItemInt(int nID, BOOL bSigned = TRUE) const;
    // The control's whole text, however long.
    CString GetDlgItemText(int nID) const;
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) const;
    // The first button in the range that is checked, 0 when none is.
    int GetCheckedRadioButton(int nIDFirst, int nIDLast) const;
    void CheckDlgButton(int nID, UINT nCheck) const;
    UINT IsDlgButtonChecked(int nID) const;
    int MessageBox(const WCHAR *pszText, const WCHAR *pszCaption, UINT nType) const;
    // Centres the window on its owner, or on the screen when it has none.
    void CenterWindow() const;

protected:
    // The initialisation hook: once the window and its controls exist.
    virtual BOOL OnInitDialog();
    // The command hook: every WM_COMMAND, before the message map. The base
    // dispatches through the map; false lets the platform handle the command.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // The colour hook, for dialogs: the base returns the platform's brush and
    // colours; an override may change the text colour.
    virtual HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor);

    // Routes one message to the hooks above and the map; false when nothing
    // here handled it.
    bool OnWndMsg(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT &lResult);

    void Attach(HWND hWnd);
    void Detach();
    // Replaces the window's procedure with the framework's, for a window
    // the platform creates and runs itself (the property sheet).
    void SubclassWindow(HWND hWnd);
    // The current message, handed to the procedure the window had before.
    LRESULT Default();

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
    struct CurrentMessage
    {
        UINT nMessage;
        WPARAM wParam;
        LPARAM lParam;
    } m_current = {};
};
