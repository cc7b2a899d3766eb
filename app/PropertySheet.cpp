#include "PropertySheet.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// The platform creates the sheet's window itself; a creation hook on this
// thread catches it before its first message so that the framework sees
// WM_INITDIALOG. Only one sheet is created at a time on a thread.
static thread_local CPropertySheet *s_pSheetInCreation;
static thread_local HHOOK s_hCreationHook;

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
    INT_PTR nResult = PropertySheetW(&psh);
    if (s_hCreationHook)
        UnhookWindowsHookEx(s_hCreationHook);
    s_hCreationHook = nullptr;
    s_pSheetInCreation = nullptr;
    return nResult;
}
