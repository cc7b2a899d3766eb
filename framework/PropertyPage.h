// A page of a property sheet. The sheet creates the page's window the first
// time the page is shown; until then GetSafeHwnd() is null.
#pragma once

#include "Dialog.h"

#include <commctrl.h>

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // A caption id of 0 keeps the caption of the template.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // What the sheet hands the platform for this page.
    const PROPSHEETPAGEW &GetPageDescription() const { return m_psp; }

protected:
    // A page ends with its sheet, never on its own: an Enter that an edit
    // passes up to the page must not end it.
    void OnOK() override {}
    void OnCancel() override {}

    PROPSHEETPAGEW m_psp;

private:
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
};
