#include "RwinProp.h"

#include "TcpParams.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CRwinProp, CPropertyPage)

BEGIN_MESSAGE_MAP(CRwinProp, CPropertyPage)
    ON_CBN_SELCHANGE(IDC_ADAPTER, OnSelchangeAdapter)
    ON_BN_CLICKED(IDC_WINDOW_SCALING, OnWindowScaling)
    ON_EN_CHANGE(IDC_WINDOW_SIZE, OnChangeWindowSize)
END_MESSAGE_MAP()

CRwinProp::CRwinProp()
    : CTcpPage(IDD_RWIN)
{
}

int CRwinProp::GetSelectedAdapter() const
{
    int nIndex = static_cast<int>(SendDlgItemMessageW(m_hWnd, IDC_ADAPTER, CB_GETCURSEL, 0, 0));
    return nIndex >= 0 && nIndex < theParams.m_nAdapters ? nIndex : -1;
}

// The list is filled first, since ShowParams reads its selection.
BOOL CRwinProp::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ShowAdapters();
    ShowParams();
    return TRUE;
}

void CRwinProp::ShowAdapters() const
{
    HWND hList = GetDlgItem(IDC_ADAPTER);
    ::SendMessageW(hList, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < theParams.m_nAdapters; i++)
        ::SendMessageW(hList, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(static_cast<const WCHAR *>(theParams.m_pAdapters[i].m_strDisplayName)));
    ::SendMessageW(hList, CB_SETCURSEL, 0, 0);
}

void CRwinProp::ShowNoDeviceNote(bool bShow) const
{
    ::ShowWindow(GetDlgItem(IDC_NO_DEVICE_NOTE), bShow ? SW_SHOWNA : SW_HIDE);
}

void CRwinProp::ShowParams() const
{
    ShowWindowSize();
    CheckDlgButton(IDC_WINDOW_SCALING, theParams.m_bWindowScaling ? BST_CHECKED : BST_UNCHECKED);
}

// Where the selection names no entry (no adapters, or a table reloaded
// smaller than the list), there is no window to show or edit.
void CRwinProp::ShowWindowSize() const
{
    int nAdapter = GetSelectedAdapter();
    HWND hWindowSize = GetDlgItem(IDC_WINDOW_SIZE);
    if (nAdapter >= 0)
        SetDlgItemInt(IDC_WINDOW_SIZE, theParams.m_pAdapters[nAdapter].m_dwTcpWindowSize);
    else
        SetWindowTextW(hWindowSize, L"");
    EnableWindow(hWindowSize, nAdapter >= 0);
}

void CRwinProp::OnSelchangeAdapter()
{
    ShowWindowSize();
}

void CRwinProp::SelectAdapter(int nAdapter) const
{
    SendDlgItemMessageW(m_hWnd, IDC_ADAPTER, CB_SETCURSEL, nAdapter, 0);
    ShowWindowSize();
}

void CRwinProp::OnChangeWindowSize()
{
    UINT nValue = GetDlgItemInt(IDC_WINDOW_SIZE);
    int nAdapter = GetSelectedAdapter();
    if (nAdapter >= 0)
        theParams.m_pAdapters[nAdapter].m_dwTcpWindowSize = nValue;
}

void CRwinProp::OnWindowScaling()
{
    theParams.m_bWindowScaling = IsDlgButtonChecked(IDC_WINDOW_SCALING);
}
