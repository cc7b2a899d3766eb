#include "AboutDlg.h"

#include "Device.h"
#include "VersionInfo.h"
#include "resource.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_CONTROL(STN_CLICKED, IDC_ABOUT_MAIL, OnClickMail)
    ON_CONTROL(STN_CLICKED, IDC_ABOUT_URL, OnClickUrl)
END_MESSAGE_MAP()

static const COLORREF LINK_COLOUR = RGB(0, 0, 0xFF);

CAboutDlg::CAboutDlg(IDevice &device, CWnd *pParentWnd)
    : CDialog(IDD_ABOUT, pParentWnd), m_device(device)
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

    FitTexts();
    CenterWindow();
    return TRUE;
}

namespace
{

bool IsText(HWND hItem)
{
    return (GetWindowLongW(hItem, GWL_STYLE) & SS_TYPEMASK) != SS_ICON;
}

// How much wider than the control its text is in the control's own font.
int Shortfall(HWND hItem)
{
    WCHAR szText[128] = {};
    int cchText = GetWindowTextW(hItem, szText, ARRAYSIZE(szText));
    HDC hDC = GetDC(hItem);
    HGDIOBJ hOldFont = SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageW(hItem, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(hDC, szText, cchText, &size);
    SelectObject(hDC, hOldFont);
    ReleaseDC(hItem, hDC);
    RECT rc;
    GetClientRect(hItem, &rc);
    return size.cx - rc.right;
}

void Widen(HWND hWnd, int cxMore)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    SetWindowPos(hWnd, nullptr, 0, 0, rc.right - rc.left + cxMore, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// The template's widths suit one font; where the system draws in a wider
// one, every text and the box grow alike, so that the right-aligned links
// stay aligned and no text is cut off.
void CAboutDlg::FitTexts() const
{
    int cxMore = 0;
    for (HWND hItem = GetWindow(m_hWnd, GW_CHILD); hItem; hItem = GetWindow(hItem, GW_HWNDNEXT))
        if (IsText(hItem))
            cxMore = std::max(cxMore, Shortfall(hItem));
    if (cxMore <= 0)
        return;
    for (HWND hItem = GetWindow(m_hWnd, GW_CHILD); hItem; hItem = GetWindow(hItem, GW_HWNDNEXT))
        if (IsText(hItem))
            Widen(hItem, cxMore);
    Widen(m_hWnd, cxMore);
}

HBRUSH CAboutDlg::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor)
{
    HBRUSH hBrush = CDialog::OnCtlColor(hDC, hCtl, nCtlColor);
    int nID = GetDlgCtrlID(hCtl);
    if (nCtlColor == CTLCOLOR_STATIC && (nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL))
        SetTextColor(hDC, LINK_COLOUR);
    return hBrush;
}

// The links open whatever the controls show at the time of the tap.
void CAboutDlg::OnClickMail()
{
    OpenLink(CString(L"mailto:") + GetDlgItemText(IDC_ABOUT_MAIL));
}

void CAboutDlg::OnClickUrl()
{
    OpenLink(GetDlgItemText(IDC_ABOUT_URL));
}

void CAboutDlg::OpenLink(const CString &strLink)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = m_hWnd;
    info.lpFile = strLink;
    // Whatever the shell starts, a mail program say, is shown to the user.
    info.nShow = SW_SHOWNORMAL;
    m_device.OpenWithShell(&info);
}
