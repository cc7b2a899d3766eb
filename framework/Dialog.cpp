#include "Dialog.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd *pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                           m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int nResult) const
{
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

// The dialog manager asks this dialog's procedure first, which then stands
// aside, and answers as it would for a dialog without a colour hook.
HBRUSH CDialog::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor)
{
    m_bDefaultColours = true;
    LRESULT lBrush = DefDlgProcW(m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor, reinterpret_cast<WPARAM>(hDC),
                                 reinterpret_cast<LPARAM>(hCtl));
    m_bDefaultColours = false;
    return reinterpret_cast<HBRUSH>(lBrush);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CDialog *pDialog;
    if (nMessage == WM_INITDIALOG)
    {
        pDialog = reinterpret_cast<CDialog *>(lParam);
        pDialog->Attach(hWnd);
    }
    else
        pDialog = static_cast<CDialog *>(FromHandle(hWnd));

    if (!pDialog)
        return FALSE;
    return DialogMessage(pDialog, nMessage, wParam, lParam);
}

INT_PTR CDialog::DialogMessage(CDialog *pDialog, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = pDialog->m_hWnd;
    // A colour message answers with the brush itself, not through DWLP_MSGRESULT.
    if (nMessage >= WM_CTLCOLORMSGBOX && nMessage <= WM_CTLCOLORSTATIC)
    {
        if (pDialog->m_bDefaultColours)
            return FALSE;
        return reinterpret_cast<INT_PTR>(pDialog->OnCtlColor(reinterpret_cast<HDC>(wParam),
                                                             reinterpret_cast<HWND>(lParam),
                                                             nMessage - WM_CTLCOLORMSGBOX));
    }
    if (nMessage == WM_NCDESTROY)
    {
        pDialog->Detach();
        return FALSE;
    }
    LRESULT lResult = 0;
    if (!pDialog->OnWndMsg(nMessage, wParam, lParam, lResult))
        return FALSE;
    // The initialisation's answer is the procedure's own result; any other
    // message's result travels in DWLP_MSGRESULT.
    if (nMessage == WM_INITDIALOG)
        return lResult;
    SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
