// The Window Calculator: from a link's speed, round-trip time and MTU, the
// receive window that keeps one connection at the link's speed, as a
// number, in words, and in a picture beside the window the adapter has now.
#pragma once

#include "Dialog.h"
#include "WindowAdvice.h"

class CCalculatorDlg : public CDialog
{
public:
    // The window the adapter has now; without an adapter (bAdapter false)
    // the dialog calculates all the same but offers nothing to use.
    CCalculatorDlg(bool bAdapter, DWORD dwCurrentWindow, CWnd *pParentWnd);

    // Once DoModal has returned IDC_CALC_USE.
    DWORD GetSuggestedWindow() const { return m_advice.dwWindow; }

protected:
    BOOL OnInitDialog() override;
    void OnChangeInput(UINT nID);
    void OnUse();
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Shows the suggestion for the fields as they are, or what is wrong.
    void Calculate();
    // Reads the fields in turn; what is wrong with the first that is, or "".
    CString ReadInputs();
    CString Explanation() const;

    bool m_bAdapter;
    DWORD m_dwCurrentWindow;
    bool m_bValid = false;
    DWORD m_dwSpeed = 0;
    DWORD m_dwRtt = 0;
    DWORD m_dwMtu = ETHERNET_MTU;
    WindowAdvice m_advice = {};
};
