// Start-up as the user meets it: the application object loads the handheld's
// registry and shows the sheet, on its first page, with the menu bar. And
// Cancel leaves the registry as it was, whatever the pages were told.
#include "ProgramFixture.h"

#include "res/resource.h"

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

TEST_F(StartupTest, MenuBarHasItsTwoButtonsAboveTheTabs)
{
    m_script.Do("look", [] {
        HWND hSheet = SheetWindow();
        HWND hBar = Sheet().m_wndCommandBar.GetSafeHwnd();
        ASSERT_TRUE(hBar && IsWindowVisible(hBar));
        EXPECT_EQ(hSheet, GetParent(hBar));
        ASSERT_EQ(2, SendMessageW(hBar, TB_BUTTONCOUNT, 0, 0));
        const struct
        {
            int idCommand;
            const wchar_t *pszLabel;
        } expected[] = { { ID_SETTINGS, L"Settings" }, { ID_HELPMENU, L"Help" } };
        for (int i = 0; i < 2; i++)
        {
            TBBUTTON button = {};
            SendMessageW(hBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            EXPECT_EQ(expected[i].idCommand, button.idCommand);
            WCHAR szLabel[32] = {};
            SendMessageW(hBar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(szLabel));
            EXPECT_STREQ(expected[i].pszLabel, szLabel);
        }
        RECT rcBar = {}, rcTab = {};
        GetWindowRect(hBar, &rcBar);
        GetWindowRect(reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0)), &rcTab);
        EXPECT_GT(rcBar.bottom, rcBar.top);
        EXPECT_LE(rcBar.bottom, rcTab.top) << "bar " << Describe(rcBar) << ", tabs " << Describe(rcTab);
    });
    Start();
}

struct BarButton
{
    const char *pszName;
    int idButton;
    std::vector<std::wstring> items;
};
void PrintTo(const BarButton &button, std::ostream *os) { *os << button.pszName; }

class StartupMenuTest : public StartupTest, public ::testing::WithParamInterface<BarButton>
{
};

TEST_P(StartupMenuTest, ClickOpensThePopUpAndEscapeClosesIt)
{
    const BarButton &button = GetParam();
    std::vector<std::wstring> itemsShown;
    m_script.Do("click the button", [&] {
        HWND hBar = Sheet().m_wndCommandBar.GetSafeHwnd();
        RECT rc = {};
        SendMessageW(hBar, TB_GETRECT, button.idButton, reinterpret_cast<LPARAM>(&rc));
        MapWindowPoints(hBar, nullptr, reinterpret_cast<POINT *>(&rc), 2);
        ClickAt(CentreOf(rc));
    });
    m_script.Then("the pop-up opens", [&] {
        HWND hMenuWnd = FindMenuWindow();
        if (!hMenuWnd)
            return false;
        itemsShown = MenuTexts(reinterpret_cast<HMENU>(SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0)));
        PressKey(VK_ESCAPE);
        return true;
    });
    m_script.Then("the pop-up closes", [] { return !FindMenuWindow(); });
    m_script.Do("the sheet is still there", [] { EXPECT_TRUE(IsWindowVisible(SheetWindow())); });
    Start();
    EXPECT_EQ(button.items, itemsShown);
}

INSTANTIATE_TEST_SUITE_P(, StartupMenuTest,
                         ::testing::Values(BarButton{ "Settings", ID_SETTINGS,
                                                      { L"Default", L"Reset", L"-", L"Optimize for FOMA",
                                                        L"Optimize for PacketOne", L"Optimize for AirH\"",
                                                        L"Optimize for @FreeD" } },
                                           BarButton{ "Help", ID_HELPMENU, { L"Contents", L"-", L"About" } }),
                         [](const ::testing::TestParamInfo<BarButton> &info) { return info.param.pszName; });

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
