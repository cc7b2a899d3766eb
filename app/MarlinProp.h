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

#include <memory>

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

    // A registry file edited instead of the system registry, or untitled
    // settings: "Reset" and OK read and write its tree, there is no backup
    // and no soft reset, and OK writes the file (an untitled one asks where
    // first). theParams holds what it holds from then on, and the sheet, once
    // its window exists, shows it.
    void SetDocument(std::unique_ptr<CEditedFile> pFile);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    void OnFileOpen();
    void OnFileSaveAs();
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
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
    // The document's name in the caption, its adapters and values on the
    // pages, and the note that a computer has no handheld's settings.
    void ShowDocument();
    // Whether theParams differs from what the document holds.
    bool IsModified();
    // Asks whether to save the changes not yet written, and saves them on
    // Yes; false when the user cancelled or they could not be saved.
    bool SaveModified();
    // Opens a registry file in place of the document; false, with a
    // message, when it is refused and the document stays.
    bool OpenDocument(const WCHAR *pszPath);
    // Validates the values and writes them to the document (an untitled one
    // through Save As); false when the sheet must stay open.
    bool SaveDocument();
    // Asks where to save and in which dialect; false when the user cancelled
    // or the file could not be written.
    bool SaveAs();
    // Whether the values may be written, asked and shown as OK does.
    bool CheckEntries(const CTcpParams &stored);
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
    std::unique_ptr<CEditedFile> m_pFile;   // null for the system registry
    // A save failed part-way: the next OK writes again, whatever it finds.
    bool m_bSaveIncomplete = false;
};
