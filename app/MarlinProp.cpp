#include "MarlinProp.h"

#include "Win32Registry.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMarlinProp, CPropertySheet)

BEGIN_MESSAGE_MAP(CMarlinProp, CPropertySheet)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_MESSAGE(WM_DROPFILES, OnDropFiles)
    ON_COMMAND_RANGE(ID_SETTINGS_DEFAULT, ID_SETTINGS_FREED, OnSettings)
    ON_COMMAND(ID_SETTINGS_CALCULATOR, OnWindowCalculator)
    ON_COMMAND(ID_SETTINGS_RESTORE, OnRestoreBackup)
    ON_MESSAGE(WM_HELP, OnHelpRequest)
    ON_COMMAND(ID_HELP_CONTENTS, OnHelpContents)
    ON_COMMAND(ID_HELP_ABOUT, OnAbout)
END_MESSAGE_MAP()

// The id the command bar's window carries in its parent.
static const UINT ID_COMMANDBAR = 0xE800;

CMarlinProp::CMarlinProp(UINT nIDCaption, CWnd *pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage), m_pRegistry(&SystemRegistry()),
      m_pDevice(&PlatformDevice())
{
    AddPages();
}

CMarlinProp::CMarlinProp(const WCHAR *pszCaption, CWnd *pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage), m_pRegistry(&SystemRegistry()),
      m_pDevice(&PlatformDevice())
{
    AddPages();
}

CMarlinProp::~CMarlinProp() = default;

void CMarlinProp::AddPages()
{
    AddPage(&m_pageRwin);
    AddPage(&m_pageDttl);
    AddPage(&m_pagePmtu);
    AddPage(&m_pageSack);
}

BOOL CMarlinProp::OnInitDialog()
{
    BOOL bResult = CPropertySheet::OnInitDialog();
    // Without the bar the sheet still works, only without its menu.
    if (m_wndCommandBar.Create(this, WS_CHILD | WS_VISIBLE | 0x2800, ID_COMMANDBAR))
        m_wndCommandBar.InsertMenuBar(IDR_MENUBAR, 0xFFFF);
    LoadAccelTable(IDR_MENUBAR);
    // As DragAcceptFiles does, without loading the shell at every start.
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    // The system registry's sheet shows itself as it is made.
    if (m_pFile)
        ShowDocument();
    return bResult;
}
