// The sheet's Help menu: the help document and the About box.
#include "MarlinProp.h"

#include "AboutDlg.h"
#include "Device.h"
#include "resource.h"

// The help document, which lies beside the program, and its contents. A
// Japanese user, whom the resource loader shows the Japanese texts, reads
// the Japanese document.
static const WCHAR HELP_DOCUMENT[] = L"marlin.htm";
static const WCHAR HELP_DOCUMENT_JAPANESE[] = L"marlin-ja.htm";
static const WCHAR HELP_ANCHOR[] = L"#Main_Contents";

LRESULT CMarlinProp::OnHelpRequest(WPARAM, LPARAM)
{
    bool bJapanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    if (!m_pDevice->ShowHelp(m_hWnd, bJapanese ? HELP_DOCUMENT_JAPANESE : HELP_DOCUMENT, HELP_ANCHOR))
        ShowMessage(IDS_HELP_UNAVAILABLE, MB_OK | MB_ICONEXCLAMATION);
    return Default();
}

void CMarlinProp::OnHelpContents()
{
    SendMessage(WM_HELP);
}

void CMarlinProp::OnAbout()
{
    CAboutDlg dialog(*m_pDevice, this);
    dialog.DoModal();
}
