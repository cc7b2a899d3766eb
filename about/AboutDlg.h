// The About box: the program's icon, name, version and description from its
// version block, and two links, drawn underlined and blue, that the shell opens.
#pragma once

#include "Dialog.h"
#include "Font.h"

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd *pParentWnd = nullptr);
    ~CAboutDlg() override;

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) override;

    void OnClickMail();
    void OnClickUrl();
    DECLARE_MESSAGE_MAP()

private:
    void OpenLink(const CString &strLink);
    CString ItemText(int nID) const;
    void FitTexts() const;

    CFont m_fontLink;
};
