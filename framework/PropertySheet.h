// A modal property sheet: the platform's own (PropertySheetW), with the
// pages in the order they were added.
#pragma once

#include "PropertyPage.h"

#include <vector>

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet(UINT nIDCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);
    CPropertySheet(const WCHAR *pszCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage *pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage *GetPage(int nPage) const { return m_pages[nPage]; }
    int GetPageIndex(const CPropertyPage *pPage) const;
    // Brings a page to the front, creating its window if it has none yet.
    BOOL SetActivePage(const CPropertyPage *pPage) const;

    // Keys that stand for commands while the sheet runs: an accelerator
    // table of the program's resources.
    void LoadAccelTable(UINT nID) { m_hAccelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nID)); }

    // Creates the window and runs it until it closes. The platform's result:
    // positive after OK, 0 after Cancel, -1 when it could not be shown.
    INT_PTR DoModal();

protected:
    BOOL OnInitDialog() override;
    // Each message for the sheet or its controls, before the dialog manager
    // and the dispatch see it; true when it was handled here.
    virtual BOOL PreTranslateMessage(MSG *pMsg);

private:
    static LRESULT CALLBACK CreationHook(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MessageFilter(int nCode, WPARAM wParam, LPARAM lParam);

    CString m_strCaption;
    UINT m_nIDCaption;
    CWnd *m_pParentWnd;
    UINT m_iSelectPage;
    std::vector<CPropertyPage *> m_pages;
    HACCEL m_hAccelerators = nullptr;   // the resource's: the system frees it
};
