// Start-up as the user meets it: the application object loads the handheld's
// registry and shows the sheet, on its first page, with the menu bar. And
// Cancel leaves the registry as it was, whatever the pages were told.
#include "ProgramFixture.h"

#include "resource.h"

#include <commctrl.h>

#include <map>

namespace {

using StartupTest = ProgramTest;

std::vector<std::wstring> ComboTexts(HWND hCombo)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0)); i++)
    {
        WCHAR szText[128] = {};
        SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szText));
        texts.push_back(szText);
    }
    return texts;
}

TEST_F(StartupTest, ShowsTheSheetOnItsFirstPageWithTheLoadedRecord)
{
    m_script.Do("look", [] {
        HWND hSheet = SheetWindow();
        EXPECT_EQ(L"Marlin", WindowText(hSheet)) << "the product name of the version block";
        HWND hTab = reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0));
        EXPECT_EQ((std::vector<std::wstring>{ L"RWIN", L"Default TTL", L"PMTU", L"Other" }), TabTexts(hTab));

        CMarlinProp &sheet = Sheet();
        HWND hPage = reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        EXPECT_TRUE(hPage && hPage == sheet.m_pageRwin.GetSafeHwnd());
        EXPECT_EQ(nullptr, sheet.m_pageDttl.GetSafeHwnd());
        EXPECT_EQ(nullptr, sheet.m_pagePmtu.GetSafeHwnd());
        EXPECT_EQ(nullptr, sheet.m_pageSack.GetSafeHwnd());

        // The adapters with TCP/IP parameters, in the loaded table's order;
        // the PPP adapter under its own name whatever its DisplayName says.
        ASSERT_EQ(2, theParams.m_nAdapters);
        std::vector<std::wstring> names;
        for (int i = 0; i < theParams.m_nAdapters; i++)
            names.push_back(static_cast<const WCHAR *>(theParams.m_pAdapters[i].m_strDisplayName));
        EXPECT_THAT(names, ::testing::UnorderedElementsAre(L"PPP Adapter", L"NE2000 Compatible Ethernet Driver"));
        EXPECT_EQ(names, ComboTexts(GetDlgItem(hPage, IDC_ADAPTER)));
        EXPECT_EQ(0, SendMessageW(GetDlgItem(hPage, IDC_ADAPTER), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(std::to_wstring(theParams.m_pAdapters[0].m_dwTcpWindowSize),
                  WindowText(GetDlgItem(hPage, IDC_WINDOW_SIZE)));
        EXPECT_EQ(64u, theParams.m_dwDefaultTTL);
        EXPECT_EQ(0u, theParams.m_bSack);
    });
    Start();
    EXPECT_EQ(FALSE, m_bResult) << "no message loop follows the sheet";
    EXPECT_EQ(nullptr, theApp.m_pMainWnd) << "the sheet is gone";
}

TEST_F(StartupTest, MenuBarHoldsSettingsAndHelpWithTheirItems)
{
    m_script.Do("look", [] {
        HMENU hBar = GetMenu(SheetWindow());
        EXPECT_EQ((std::vector<std::wstring>{ L"Settings", L"Help" }), MenuTexts(hBar));
        EXPECT_EQ((std::vector<std::wstring>{ L"Default", L"Reset", L"-", L"Optimize for FOMA",
                                              L"Optimize for PacketOne", L"Optimize for AirH\"",
                                              L"Optimize for @FreeD" }),
                  MenuTexts(GetSubMenu(hBar, 0)));
        EXPECT_EQ((std::vector<std::wstring>{ L"Contents", L"-", L"About" }), MenuTexts(GetSubMenu(hBar, 1)));
        EXPECT_EQ(static_cast<UINT>(ID_SETTINGS_FREED), GetMenuItemID(GetSubMenu(hBar, 0), 6));
        EXPECT_EQ(static_cast<UINT>(ID_HELP_ABOUT), GetMenuItemID(GetSubMenu(hBar, 1), 2));
    });
    Start();
}

TEST_F(StartupTest, CancelAfterChangesOnEveryPageWritesNothing)
{
    std::map<std::string, std::string> before = ReadComm();
    ASSERT_FALSE(before.empty());
    m_script.Do("change every page", [] {
        HWND hSheet = SheetWindow();
        CMarlinProp &sheet = Sheet();
        HWND hPage = sheet.m_pageRwin.GetSafeHwnd();
        FocusControl(GetDlgItem(hPage, IDC_WINDOW_SIZE));
        SendMessageW(GetDlgItem(hPage, IDC_WINDOW_SIZE), EM_SETSEL, 0, -1);
        TypeText(L"65535");
        ClickWindow(GetDlgItem(hPage, IDC_WINDOW_SCALING));
        ClickTab(hSheet, 1);
        ClickWindow(GetDlgItem(sheet.m_pageDttl.GetSafeHwnd(), IDC_TTL_32));
        ClickTab(hSheet, 2);
        ClickWindow(GetDlgItem(sheet.m_pagePmtu.GetSafeHwnd(), IDC_PMTU_DISABLE));
        ClickTab(hSheet, 3);
        ClickWindow(GetDlgItem(sheet.m_pageSack.GetSafeHwnd(), IDC_SACK));
        ClickWindow(GetDlgItem(sheet.m_pageSack.GetSafeHwnd(), IDC_TIMESTAMPS));
        // The record took every change, so there was something to write.
        EXPECT_EQ(65535u, theParams.m_pAdapters[0].m_dwTcpWindowSize);
        EXPECT_EQ(32u, theParams.m_dwDefaultTTL);
        EXPECT_EQ(0u, theParams.m_bPmtuDiscovery);
        EXPECT_EQ(1u, theParams.m_bSack);
        EXPECT_EQ(0u, theParams.m_bTimestamps);
    });
    Start();
    EXPECT_EQ(before, ReadComm());
}

} // namespace
