// A sheet of three pages from the tests' templates, which counts how often
// each initialisation hook runs.
#pragma once

#include "PropertySheet.h"
#include "test_resource.h"

class CCountingPage : public CPropertyPage
{
public:
    explicit CCountingPage(UINT nIDTemplate, UINT nIDCaption = 0) : CPropertyPage(nIDTemplate, nIDCaption) {}

    int m_nInitCount = 0;

protected:
    BOOL OnInitDialog() override
    {
        m_nInitCount++;
        return CPropertyPage::OnInitDialog();
    }
};

class CTestSheet : public CPropertySheet
{
public:
    explicit CTestSheet(const WCHAR *pszCaption, UINT iSelectPage = 0) : CPropertySheet(pszCaption, nullptr, iSelectPage)
    {
        AddPages();
    }
    explicit CTestSheet(UINT nIDCaption, UINT iSelectPage = 0) : CPropertySheet(nIDCaption, nullptr, iSelectPage)
    {
        AddPages();
    }

    CCountingPage m_pageAlpha{ IDD_TEST_PAGE_ALPHA };
    CCountingPage m_pageBeta{ IDD_TEST_PAGE_BETA };
    CCountingPage m_pageGamma{ IDD_TEST_PAGE_GAMMA };

    int m_nInitCount = 0;
    // The windows of the pages when the sheet's own hook ran.
    HWND m_hWndPagesAtInit[3] = {};

    HWND TabControl() const { return reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)); }
    HWND CurrentPage() const { return reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND)); }

protected:
    BOOL OnInitDialog() override
    {
        BOOL bResult = CPropertySheet::OnInitDialog();
        m_nInitCount++;
        for (int i = 0; i < GetPageCount(); i++)
            m_hWndPagesAtInit[i] = GetPage(i)->GetSafeHwnd();
        return bResult;
    }

private:
    void AddPages()
    {
        AddPage(&m_pageAlpha);
        AddPage(&m_pageBeta);
        AddPage(&m_pageGamma);
    }
};
