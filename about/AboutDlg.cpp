#include "AboutDlg.h"

#include "Device.h"
#include "VersionInfo.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_CONTROL(STN_CLICKED, IDC_ABOUT_MAIL, OnClickMail)
    ON_CONTROL(STN_CLICKED, IDC_ABOUT_URL, OnClickUrl)
END_MESSAGE_MAP()

static const COLORREF LINK_COLOUR = RGB(0, 0, 0xFF);

CAboutDlg::CAboutDlg(CWnd *pParentWnd)
    : CDialog(IDD_ABOUT, pParentWnd)
{
}

CAboutDlg::~CAboutDlg() = default;

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CVersionInfo version;
    CString strName = version.QueryValue(L"ProductName");
    CString strVersion = version.QueryValue(L"ProductVersion");
    CString strDescription = version.QueryValue(L"FileDescription");
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_PRODUCT, strName + L" v" + strVersion);
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_DESCRIPTION, strDescription);

    // The links are the system font underlined, not the dialog's own font.
    LOGFONTW logFont = {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(logFont), &logFont);
    logFont.lfUnderline = TRUE;
    m_fontLink.CreateFontIndirect(&logFont);
    ::SendMessageW(GetDlgItem(IDC_ABOUT_MAIL), WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink.GetSafeHandle()), TRUE);
    ::SendMessageW(GetDlgItem(IDC_ABOUT_URL), WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink.GetSafeHandle()), TRUE);
    return TRUE;
}

HBRUSH CAboutDlg::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor)
{
    HBRUSH hBrush = CDialog::OnCtlColor(hDC, hCtl, nCtlColor);
    int nID = GetDlgCtrlID(hCtl);
    if (nCtlColor == CTLCOLOR_STATIC && (nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL))
        SetTextColor(hDC, LINK_COLOUR);
    return hBrush;
}

CString CAboutDlg::ItemText(int nID) const
{
    HWND hItem = GetDlgItem(nID);
    CString strText;
    int cchText = GetWindowTextLengthW(hItem);
    GetWindowTextW(hItem, strText.GetBuffer(cchText), cchText + 1);
    strText.ReleaseBuffer();
    return strText;
}

// The links open whatever the controls show at the time of the tap.
void CAboutDlg::OnClickMail()
{
    OpenLink(CString(L"mailto:") + ItemText(IDC_ABOUT_MAIL));
}

void CAboutDlg::OnClickUrl()
{
    OpenLink(ItemText(IDC_ABOUT_URL));
}

void CAboutDlg::OpenLink(const CString &strLink)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = m_hWnd;
    info.lpFile = strLink;
    TheDevice().OpenWithShell(&info);
}
