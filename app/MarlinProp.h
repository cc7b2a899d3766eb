// The tuning sheet: four pages and the menu bar above them.
#pragma once

#include "CommandBar.h"
#include "DttlProp.h"
#include "PmtuProp.h"
#include "PropertySheet.h"
#include "RwinProp.h"
#include "SackProp.h"

class CMarlinProp : public CPropertySheet
{
    DECLARE_DYNAMIC(CMarlinProp)
public:
    CMarlinProp(UINT nIDCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);
    CMarlinProp(const WCHAR *pszCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CMarlinProp() override;

    // Constructed in this order, destroyed in the reverse; the tabs are in
    // the order AddPages adds them.
    CCommandBar m_wndCommandBar;
    CSackProp m_pageSack;
    CPmtuProp m_pagePmtu;
    CDttlProp m_pageDttl;
    CRwinProp m_pageRwin;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    void OnSettings(UINT nID);
    LRESULT OnHelpRequest(WPARAM wParam, LPARAM lParam);
    void OnHelpContents();
    void OnAbout();
    DECLARE_MESSAGE_MAP()

private:
    void AddPages();
};
