#include "PropertyPage.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_psp{}
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = nIDCaption ? PSP_USETITLE : PSP_DEFAULT;
    m_psp.hInstance = GetModuleHandleW(nullptr);
    m_psp.pszTemplate = MAKEINTRESOURCEW(nIDTemplate);
    m_psp.pszTitle = MAKEINTRESOURCEW(nIDCaption);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

// The page's object comes with the platform's copy of its description.
INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CPropertyPage *pPage;
    if (nMessage == WM_INITDIALOG)
    {
        pPage = reinterpret_cast<CPropertyPage *>(reinterpret_cast<PROPSHEETPAGEW *>(lParam)->lParam);
        pPage->Attach(hWnd);
    }
    else
        pPage = static_cast<CPropertyPage *>(FromHandle(hWnd));
    return pPage ? DialogMessage(pPage, nMessage, wParam, lParam) : FALSE;
}
