// The command bar in a sheet: the menu bar from the menu-bar description,
// the room it takes, and the keys that reach it from any control.
#include "CommandBar.h"
#include "Input.h"
#include "ModalScript.h"
#include "Readers.h"
#include "TestSheet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace
{

const UINT ID_COMMANDBAR = 0xE800;

class CBarSheet : public CTestSheet
{
public:
    CBarSheet() : CTestSheet(L"Bar") {}

    CCommandBar m_wndCommandBar;
    BOOL m_bCreated = FALSE;
    BOOL m_bInserted = FALSE;
    RECT m_rcSheetBefore = {};
    RECT m_rcClientBefore = {};
    RECT m_rcTabBefore = {};
    std::vector<std::pair<UINT, UINT>> m_commands;   // id, notification code

protected:
    BOOL OnInitDialog() override
    {
        BOOL bResult = CTestSheet::OnInitDialog();
        GetWindowRect(m_hWnd, &m_rcSheetBefore);
        GetClientRect(m_hWnd, &m_rcClientBefore);
        m_rcTabBefore = RectInParent(TabControl());
        m_bCreated = m_wndCommandBar.Create(this, WS_CHILD | WS_VISIBLE | 0x2800, ID_COMMANDBAR);
        m_bInserted = m_wndCommandBar.InsertMenuBar(IDR_TEST_MENUBAR, 0xFFFF);
        return bResult;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back({ LOWORD(wParam), HIWORD(wParam) });
        return CTestSheet::OnCommand(wParam, lParam);
    }
};

int Height(const RECT &rc) { return rc.bottom - rc.top; }

TEST(CommandBar, BuildsTheBarFromTheDescriptionAndTheSheetGrowsByIt)
{
    CBarSheet sheet;
    std::vector<std::wstring> labels, filePopup, viewPopup;
    RECT rcSheet = {}, rcTab = {}, rcClient = {};
    CModalScript script;
    script.Do("look", [&]() {
        HMENU hBar = GetMenu(sheet.GetSafeHwnd());
        labels = MenuTexts(hBar);
        filePopup = MenuTexts(GetSubMenu(hBar, 0));
        viewPopup = MenuTexts(GetSubMenu(hBar, 1));
        GetWindowRect(sheet.GetSafeHwnd(), &rcSheet);
        GetClientRect(sheet.GetSafeHwnd(), &rcClient);
        rcTab = RectInParent(sheet.TabControl());
    });
    RunSheet(sheet, script);
    ASSERT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    EXPECT_TRUE(sheet.m_bCreated);
    EXPECT_TRUE(sheet.m_bInserted);
    EXPECT_EQ((std::vector<std::wstring>{ L"File", L"View" }), labels) << "the labels' strings";
    EXPECT_EQ((std::vector<std::wstring>{ L"Open", L"Save", L"-", L"Exit" }), filePopup);
    EXPECT_EQ((std::vector<std::wstring>{ L"Zoom", L"Grid" }), viewPopup);
    // The bar takes the top of the frame; the client area keeps its size,
    // and what is in it its place.
    EXPECT_GT(Height(rcSheet), Height(sheet.m_rcSheetBefore)) << "sheet " << Describe(rcSheet);
    EXPECT_EQ(Height(sheet.m_rcClientBefore), Height(rcClient)) << "client " << Describe(rcClient);
    EXPECT_EQ(Describe(sheet.m_rcTabBefore), Describe(rcTab)) << "the tab control";
}

// A pop-up's item chosen with keys only, from the list box's focus.
struct MenuKeysCase
{
    const char *pszName;
    std::vector<WORD> keys;
    UINT idChosen;
};

void PrintTo(const MenuKeysCase &test, std::ostream *os) { *os << test.pszName; }

class CommandBarKeys : public ::testing::TestWithParam<MenuKeysCase>
{
};

TEST_P(CommandBarKeys, ReachTheBarAndTheChosenItemReachesTheSheet)
{
    const MenuKeysCase &test = GetParam();
    CBarSheet sheet;
    CModalScript script;
    script.Do("focus a list box, then the keys", [&]() {
        FocusControl(GetDlgItem(sheet.CurrentPage(), IDC_TEST_LIST));
        for (WORD wKey : test.keys)
            PressKey(wKey);
    });
    script.Then("the command arrives", [&]() { return !sheet.m_commands.empty(); });
    RunSheet(sheet, script);
    EXPECT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    EXPECT_THAT(sheet.m_commands, ElementsAre(std::make_pair(test.idChosen, 0u)));
}

INSTANTIATE_TEST_SUITE_P(, CommandBarKeys, ::testing::Values(
    MenuKeysCase{ "F10", { VK_F10, VK_DOWN, VK_DOWN, VK_RETURN }, ID_TEST_FILE_SAVE },
    MenuKeysCase{ "AltAndRight", { VK_MENU, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN }, ID_TEST_VIEW_GRID }),
    [](const ::testing::TestParamInfo<MenuKeysCase> &info) { return info.param.pszName; });

} // namespace
