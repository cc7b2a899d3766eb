// A dialog from a template in the program's resources.
#pragma once

#include "Wnd.h"

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd *pParentWnd = nullptr);

    // Runs the dialog modally; returns what EndDialog was given, -1 when it
    // could not be created.
    INT_PTR DoModal();
    void EndDialog(int nResult) const;

    UINT GetTemplateID() const { return m_nIDTemplate; }

protected:
    BOOL OnInitDialog() override;
    // The dialog manager's own colours, themed page backgrounds included.
    HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) override;
    // Enter and Escape, or buttons with these ids: the dialog ends with the id.
    virtual void OnOK();
    virtual void OnCancel();
    DECLARE_MESSAGE_MAP()

    // What a dialog procedure does with one message, for the object found.
    static INT_PTR DialogMessage(CDialog *pDialog, UINT nMessage, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd *m_pParentWnd;
    bool m_bDefaultColours = false;
};
