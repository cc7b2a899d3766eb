// The tuning sheet: four pages and the menu bar above them.
#pragma once

#include "CommandBar.h"
#include "Device.h"
#include "EditedFile.h"
#include "DttlProp.h"
#include "PmtuProp.h"
#include "PropertySheet.h"
#include "Registry.h"
#include "RwinProp.h"
#include "SackProp.h"

class CTcpParams;

class CMarlinProp : public CPropertySheet
{
    DECLARE_DYNAMIC(CMarlinProp)
public:
    CMarlinProp(UINT nIDCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);
    CMarlinProp(const WCHAR *pszCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CMarlinProp() override;

    // Constructed in this order, destroyed in the reverse; the tabs are in
    // the order AddPages adds them.
    CCommandBar m_wndCommandBar;
    CSackProp m_pageSack;
    CPmtuProp m_pagePmtu;
    CDttlProp m_pageDttl;
    CRwinProp m_pageRwin;

    // A registry file edited instead of the system registry: "Reset" and OK
    // read and write its tree, there is no backup and no soft reset, and OK
    // writes the file.
    void SetEditedFile(CEditedFile &file)
    {
        m_pFile = &file;
        m_pRegistry = &file.Registry();
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    void OnSettings(UINT nID);
    void OnRestoreBackup();
    void OnWindowCalculator();
    void RefreshPages();
    LRESULT OnHelpRequest(WPARAM wParam, LPARAM lParam);
    void OnHelpContents();
    void OnAbout();
    DECLARE_MESSAGE_MAP()

private:
    void AddPages();
    // A message box of the sheet's, captioned with the product name.
    int ShowMessage(UINT nIDText, UINT nType) const;
    int ShowMessage(const CString &strText, UINT nType) const;
    // The adapter whose changed window (against what the registry holds) the
    // stack cannot use, or -1.
    int FindUnusableWindow(const CTcpParams &stored) const;
    // False when the record differed and could not all be written.
    bool SaveChanges(const CTcpParams &stored);

    // The registry that "Reset" and OK read and write, and the device that
    // resets, shows help and opens links.
    IRegistry *m_pRegistry;
    IDevice *m_pDevice;
    CEditedFile *m_pFile = nullptr;
    // A save failed part-way: the next OK writes again, whatever it finds.
    bool m_bSaveIncomplete = false;
};
