#include "PropertySheet.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// The platform creates the sheet's window itself; a creation hook on the
// thread catches it before its first message so that the framework sees
// WM_INITDIALOG. Sheets are made and run on the program's one user-interface
// thread, one at a time.
static CPropertySheet *s_pSheetInCreation;
static HHOOK s_hCreationHook;
// The sheet whose modal loop runs, and the hook that shows it
// each message the loop hands the dialog manager.
static CPropertySheet *s_pSheetRunning;
static HHOOK s_hMessageFilter;

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd *pParentWnd, UINT iSelectPage)
    : m_nIDCaption(nIDCaption), m_pParentWnd(pParentWnd), m_iSelectPage(iSelectPage)
{
}

CPropertySheet::CPropertySheet(const WCHAR *pszCaption, CWnd *pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption), m_nIDCaption(0), m_pParentWnd(pParentWnd), m_iSelectPage(iSelectPage)
{
}

void CPropertySheet::AddPage(CPropertyPage *pPage)
{
    m_pages.push_back(pPage);
}

int CPropertySheet::GetPageIndex(const CPropertyPage *pPage) const
{
    for (size_t i = 0; i < m_pages.size(); i++)
        if (m_pages[i] == pPage)
            return static_cast<int>(i);
    return -1;
}

BOOL CPropertySheet::SetActivePage(const CPropertyPage *pPage) const
{
    int nPage = GetPageIndex(pPage);
    if (nPage < 0)
        return FALSE;
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, nPage, 0));
}

BOOL CPropertySheet::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

LRESULT CALLBACK CPropertySheet::MessageFilter(int nCode, WPARAM wParam, LPARAM lParam)
{
    MSG *pMsg = reinterpret_cast<MSG *>(lParam);
    CPropertySheet *pSheet = s_pSheetRunning;
    if (nCode == MSGF_DIALOGBOX && pSheet && pSheet->m_hWnd &&
        (pMsg->hwnd == pSheet->m_hWnd || IsChild(pSheet->m_hWnd, pMsg->hwnd)) && pSheet->PreTranslateMessage(pMsg))
        return TRUE;
    return CallNextHookEx(s_hMessageFilter, nCode, wParam, lParam);
}

BOOL CPropertySheet::PreTranslateMessage(MSG *pMsg)
{
    // F10, and Alt on its own, lead into the menu bar whatever control has
    // the focus: a drop-down list would otherwise take them for its own
    // list. The sheet's default handling does what it does for any window
    // with a menu.
    bool bMenuKey = (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) &&
                    (pMsg->wParam == VK_F10 || pMsg->wParam == VK_MENU) && GetKeyState(VK_SHIFT) >= 0;
    if (bMenuKey && ::GetMenu(m_hWnd))
    {
        DefWindowProcW(m_hWnd, pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    if (m_hAccelerators && TranslateAcceleratorW(m_hWnd, m_hAccelerators, pMsg))
        return TRUE;
    // Ctrl+Tab and Ctrl+Page Down turn the pages, as the platform's sheet
    // does where its own loop asks it first. Where a control wants the key,
    // the sheet hands it to the dialog manager, which comes back here.
    static bool s_bAskingSheet;
    bool bPageKey = pMsg->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
                    (pMsg->wParam == VK_TAB || pMsg->wParam == VK_NEXT || pMsg->wParam == VK_PRIOR);
    if (!bPageKey || s_bAskingSheet)
        return FALSE;
    s_bAskingSheet = true;
    BOOL bHandled = static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
    s_bAskingSheet = false;
    return bHandled;
}

LRESULT CALLBACK CPropertySheet::CreationHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && s_pSheetInCreation)
    {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        const CREATESTRUCTW *pcs = reinterpret_cast<CBT_CREATEWNDW *>(lParam)->lpcs;
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        // The sheet is the first top-level dialog; its pages are children.
        if (!(pcs->style & WS_CHILD) && lstrcmpW(szClass, L"#32770") == 0)
        {
            s_pSheetInCreation->SubclassWindow(hWnd);
            s_pSheetInCreation = nullptr;
            HHOOK hHook = s_hCreationHook;
            s_hCreationHook = nullptr;
            LRESULT lResult = CallNextHookEx(hHook, nCode, wParam, lParam);
            UnhookWindowsHookEx(hHook);
            return lResult;
        }
    }
    return CallNextHookEx(s_hCreationHook, nCode, wParam, lParam);
}

INT_PTR CPropertySheet::DoModal()
{
    std::vector<PROPSHEETPAGEW> pages;
    for (CPropertyPage *pPage : m_pages)
        pages.push_back(pPage->GetPageDescription());

    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof(psh);
    // No Apply button: changes are judged and written only on OK.
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    psh.hwndParent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    psh.hInstance = GetModuleHandleW(nullptr);
    psh.pszCaption = m_nIDCaption ? MAKEINTRESOURCEW(m_nIDCaption) : static_cast<const WCHAR *>(m_strCaption);
    psh.nPages = static_cast<UINT>(pages.size());
    psh.nStartPage = m_iSelectPage;
    psh.ppsp = pages.data();

    s_pSheetInCreation = this;
    s_hCreationHook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    // The dialog manager offers each message of the modal loop to this hook
    // before it handles the message itself.
    CPropertySheet *pOuterSheet = s_pSheetRunning;
    HHOOK hOuterFilter = s_hMessageFilter;
    s_pSheetRunning = this;
    s_hMessageFilter = SetWindowsHookExW(WH_MSGFILTER, MessageFilter, nullptr, GetCurrentThreadId());
    INT_PTR nResult = PropertySheetW(&psh);
    if (s_hMessageFilter)
        UnhookWindowsHookEx(s_hMessageFilter);
    s_hMessageFilter = hOuterFilter;
    s_pSheetRunning = pOuterSheet;
    if (s_hCreationHook)
        UnhookWindowsHookEx(s_hCreationHook);
    s_hCreationHook = nullptr;
    s_pSheetInCreation = nullptr;
    return nResult;
}
