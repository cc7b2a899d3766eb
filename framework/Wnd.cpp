#include "Wnd.h"

#include <algorithm>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

// Which object each attached window has. Looked up for every message, so it
// is kept here rather than in window properties, each of which costs a call
// into the window manager. The program has a handful of windows, all made
// on one thread.
static std::vector<std::pair<HWND, CWnd *>> s_objects;

CWnd::~CWnd()
{
    Detach();
}

CWnd *CWnd::FromHandle(HWND hWnd)
{
    for (const auto &object : s_objects)
        if (object.first == hWnd)
            return object.second;
    return nullptr;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    s_objects.emplace_back(hWnd, this);
}

void CWnd::Detach()
{
    if (!m_hWnd)
        return;
    if (m_pfnSuper)
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    s_objects.erase(std::remove(s_objects.begin(), s_objects.end(), std::make_pair(m_hWnd, this)), s_objects.end());
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
}

void CWnd::SubclassWindow(HWND hWnd)
{
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd *pWnd = FromHandle(hWnd);
    if (!pWnd)
        return DefWindowProcW(hWnd, nMessage, wParam, lParam);

    CurrentMessage saved = pWnd->m_current;
    pWnd->m_current = { nMessage, wParam, lParam };
    LRESULT lResult = 0;
    if (nMessage == WM_NCDESTROY)
    {
        WNDPROC pfnSuper = pWnd->m_pfnSuper;
        pWnd->Detach();
        return CallWindowProcW(pfnSuper, hWnd, nMessage, wParam, lParam);
    }
    if (!pWnd->OnWndMsg(nMessage, wParam, lParam, lResult))
        lResult = pWnd->Default();
    pWnd->m_current = saved;
    return lResult;
}

LRESULT CWnd::Default()
{
    if (!m_pfnSuper)
        return 0;
    return CallWindowProcW(m_pfnSuper, m_hWnd, m_current.nMessage, m_current.wParam, m_current.lParam);
}

bool CWnd::OnWndMsg(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT &lResult)
{
    switch (nMessage)
    {
    case WM_INITDIALOG:
        lResult = OnInitDialog();
        return true;
    case WM_COMMAND:
        lResult = 0;
        return OnCommand(wParam, lParam);
    }
    return OnMapMessage(nMessage, wParam, lParam, lResult);
}

BOOL CWnd::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

// A menu item or an accelerator key (no control sends either) is a command,
// whatever the notification code says.
BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return OnCmdMsg(LOWORD(wParam), lParam ? HIWORD(wParam) : 0);
}

HBRUSH CWnd::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor)
{
    return reinterpret_cast<HBRUSH>(DefWindowProcW(m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor,
                                                   reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hCtl)));
}

LRESULT CWnd::SendMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, nMessage, wParam, lParam);
}

HWND CWnd::GetDlgItem(int nID) const
{
    return ::GetDlgItem(m_hWnd, nID);
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) const
{
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, nullptr, bSigned);
}

CString CWnd::GetDlgItemText(int nID) const
{
    HWND hItem = GetDlgItem(nID);
    CString strText;
    int cchText = GetWindowTextLengthW(hItem);
    GetWindowTextW(hItem, strText.GetBuffer(cchText), cchText + 1);
    strText.ReleaseBuffer();
    return strText;
}

void CWnd::CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) const
{
    ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
}

int CWnd::GetCheckedRadioButton(int nIDFirst, int nIDLast) const
{
    for (int nID = nIDFirst; nID <= nIDLast; nID++)
        if (::IsDlgButtonChecked(m_hWnd, nID) == BST_CHECKED)
            return nID;
    return 0;
}

void CWnd::CheckDlgButton(int nID, UINT nCheck) const
{
    ::CheckDlgButton(m_hWnd, nID, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nID) const
{
    return ::IsDlgButtonChecked(m_hWnd, nID);
}

int CWnd::MessageBox(const WCHAR *pszText, const WCHAR *pszCaption, UINT nType) const
{
    return ::MessageBoxW(m_hWnd, pszText, pszCaption, nType);
}

void CWnd::CenterWindow() const
{
    HWND hOwner = GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hOwner ? hOwner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT rcWindow, rcCentre = monitor.rcWork;
    GetWindowRect(m_hWnd, &rcWindow);
    if (hOwner)
        GetWindowRect(hOwner, &rcCentre);
    int cx = rcWindow.right - rcWindow.left, cy = rcWindow.bottom - rcWindow.top;
    // Whole on the screen, even where the owner is not.
    int x = std::max(monitor.rcWork.left, std::min((rcCentre.left + rcCentre.right - cx) / 2, monitor.rcWork.right - cx));
    int y = std::max(monitor.rcWork.top, std::min((rcCentre.top + rcCentre.bottom - cy) / 2, monitor.rcWork.bottom - cy));
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
