// The About box: the program's icon, name, version and description from its
// version block, and two links, drawn underlined and blue, that the shell opens.
#pragma once

#include "Device.h"
#include "Dialog.h"
#include "Font.h"

class CAboutDlg : public CDialog
{
public:
    // The links go to the device's shell.
    explicit CAboutDlg(IDevice &device, CWnd *pParentWnd = nullptr);
    ~CAboutDlg() override;

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) override;

    void OnClickMail();
    void OnClickUrl();
    DECLARE_MESSAGE_MAP()

private:
    void OpenLink(const CString &strLink);
    void FitTexts() const;

    IDevice &m_device;
    CFont m_fontLink;
};
