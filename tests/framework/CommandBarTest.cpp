// The command bar in a sheet: its buttons from the menu-bar description,
// its place above the tab control, and its pop-ups driven by real input.
#include "CommandBar.h"
#include "Input.h"
#include "ModalScript.h"
#include "Readers.h"
#include "TestSheet.h"

#include <algorithm>

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
    RECT m_rcTabBefore = {};
    std::vector<std::pair<UINT, UINT>> m_commands;   // id, notification code

protected:
    BOOL OnInitDialog() override
    {
        BOOL bResult = CTestSheet::OnInitDialog();
        GetWindowRect(m_hWnd, &m_rcSheetBefore);
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

// The tab control's display area, in the sheet's client coordinates.
RECT DisplayArea(HWND hTab)
{
    RECT rc = RectInParent(hTab);
    TabCtrl_AdjustRect(hTab, FALSE, &rc);
    return rc;
}

bool Inside(const RECT &rcInner, const RECT &rcOuter)
{
    return rcInner.left >= rcOuter.left && rcInner.top >= rcOuter.top && rcInner.right <= rcOuter.right &&
           rcInner.bottom <= rcOuter.bottom;
}

struct ButtonInfo
{
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    std::wstring strLabel;
};

TEST(CommandBar, ButtonsCarryTheLabelsAndCommandsOfTheDescription)
{
    CBarSheet sheet;
    std::vector<ButtonInfo> buttons;
    HWND hBar = nullptr, hBarById = nullptr;
    LONG_PTR lStyle = 0;
    CModalScript script;
    script.Do("read the buttons", [&]() {
        hBar = sheet.m_wndCommandBar.GetSafeHwnd();
        hBarById = GetDlgItem(sheet.GetSafeHwnd(), ID_COMMANDBAR);
        lStyle = GetWindowLongPtrW(hBar, GWL_STYLE);
        int nButtons = static_cast<int>(SendMessageW(hBar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < nButtons; i++)
        {
            TBBUTTON button = {};
            SendMessageW(hBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            WCHAR szLabel[64] = {};
            SendMessageW(hBar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(szLabel));
            buttons.push_back({ button.idCommand, button.fsState, button.fsStyle, szLabel });
        }
    });
    RunSheet(sheet, script);
    ASSERT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    EXPECT_TRUE(sheet.m_bCreated);
    EXPECT_TRUE(sheet.m_bInserted);
    ASSERT_NE(nullptr, hBar);
    EXPECT_EQ(hBar, hBarById) << "the bar carries id 0xE800";
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE), lStyle & (WS_CHILD | WS_VISIBLE));
    ASSERT_EQ(2u, buttons.size());
    EXPECT_EQ(ID_TEST_FILE, buttons[0].idCommand);
    EXPECT_EQ(L"File", buttons[0].strLabel);
    EXPECT_EQ(ID_TEST_VIEW, buttons[1].idCommand);
    EXPECT_EQ(L"View", buttons[1].strLabel);
    for (const ButtonInfo &button : buttons)
    {
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED) << button.idCommand;
        EXPECT_EQ(BTNS_DROPDOWN | BTNS_AUTOSIZE, button.fsStyle) << button.idCommand;
    }
}

TEST(CommandBar, LiesAboveTheTabControlAndTheSheetGrewByItsHeight)
{
    CBarSheet sheet;
    RECT rcBar = {}, rcTab = {}, rcSheet = {};
    CModalScript script;
    script.Do("measure", [&]() {
        rcBar = RectInParent(sheet.m_wndCommandBar.GetSafeHwnd());
        rcTab = RectInParent(sheet.TabControl());
        GetWindowRect(sheet.GetSafeHwnd(), &rcSheet);
    });
    RunSheet(sheet, script);
    ASSERT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    int cyBar = Height(rcBar);
    EXPECT_GT(cyBar, 0) << Describe(rcBar);
    EXPECT_EQ(0, rcBar.top) << "bar " << Describe(rcBar);
    EXPECT_LE(rcBar.bottom, rcTab.top) << "bar " << Describe(rcBar) << ", tab control " << Describe(rcTab);
    EXPECT_EQ(cyBar, rcTab.top - sheet.m_rcTabBefore.top)
        << "tab control before " << Describe(sheet.m_rcTabBefore) << ", after " << Describe(rcTab);
    EXPECT_EQ(Height(sheet.m_rcSheetBefore) + cyBar, Height(rcSheet))
        << "sheet before " << Describe(sheet.m_rcSheetBefore) << ", after " << Describe(rcSheet);
}

TEST(CommandBar, PagesLieInsideTheTabControlsDisplayArea)
{
    CBarSheet sheet;
    RECT rcArea = {}, rcBar = {}, rcPages[3] = {};
    CModalScript script;
    script.Do("select each page", [&]() {
        rcArea = DisplayArea(sheet.TabControl());
        rcBar = RectInParent(sheet.m_wndCommandBar.GetSafeHwnd());
        for (int i = 0; i < 3; i++)
        {
            sheet.SendMessage(PSM_SETCURSEL, i, 0);
            rcPages[i] = RectInParent(sheet.GetPage(i)->GetSafeHwnd());
        }
    });
    RunSheet(sheet, script);
    ASSERT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    for (int i = 0; i < 3; i++)
    {
        EXPECT_TRUE(Inside(rcPages[i], rcArea))
            << "page " << i << " at " << Describe(rcPages[i]) << ", display area " << Describe(rcArea);
        EXPECT_GE(rcPages[i].top, rcBar.bottom) << "page " << i << " at " << Describe(rcPages[i]) << ", bar "
                                                << Describe(rcBar);
    }
}

// One button's pop-up, opened with a click and chosen from with keys.
struct DropDownCase
{
    const char *pszName;
    int nButton;
    int idButton;
    std::vector<std::wstring> items;
    int nDownPresses;
    UINT idChosen;
};

void PrintTo(const DropDownCase &test, std::ostream *os) { *os << test.pszName; }

class CommandBarDropDown : public ::testing::TestWithParam<DropDownCase>
{
};

TEST_P(CommandBarDropDown, ClickOpensThePopUpAndTheChosenItemReachesTheSheet)
{
    const DropDownCase &test = GetParam();
    CBarSheet sheet;
    HMENU hMenuShown = nullptr;
    std::vector<std::wstring> itemsShown;
    POINT ptClick = {}, ptCursor = {};
    CModalScript script;
    script.Do("click the button", [&]() {
        HWND hBar = sheet.m_wndCommandBar.GetSafeHwnd();
        RECT rc = {};
        SendMessageW(hBar, TB_GETRECT, test.idButton, reinterpret_cast<LPARAM>(&rc));
        MapWindowPoints(hBar, nullptr, reinterpret_cast<POINT *>(&rc), 2);
        ptClick = CentreOf(rc);
        ClickAt(ptClick);
    });
    script.Then("the pop-up opens", [&]() {
        HWND hMenuWnd = FindMenuWindow();
        if (!hMenuWnd)
            return false;
        GetCursorPos(&ptCursor);
        hMenuShown = reinterpret_cast<HMENU>(SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0));
        itemsShown = MenuTexts(hMenuShown);
        return true;
    });
    script.Do("choose an item", [&]() {
        for (int i = 0; i < test.nDownPresses; i++)
            PressKey(VK_DOWN);
        PressKey(VK_RETURN);
    });
    script.Then("the command arrives", [&]() {
        return std::find(sheet.m_commands.begin(), sheet.m_commands.end(), std::make_pair(test.idChosen, 0u)) !=
               sheet.m_commands.end();
    });
    RunSheet(sheet, script);

    EXPECT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt() << "; clicked at " << ptClick.x
                                    << "," << ptClick.y << ", cursor at " << ptCursor.x << "," << ptCursor.y;
    EXPECT_EQ(GetSubMenu(sheet.m_wndCommandBar.GetMenu(), test.nButton), hMenuShown);
    EXPECT_EQ(test.items, itemsShown);
    std::string strCommands;
    for (const auto &command : sheet.m_commands)
        strCommands += " " + std::to_string(command.first) + "/" + std::to_string(command.second);
    EXPECT_THAT(sheet.m_commands, ::testing::Contains(std::make_pair(test.idChosen, 0u))) << "got" << strCommands;
    EXPECT_THAT(sheet.m_commands, ::testing::Not(::testing::Contains(::testing::Key(test.idButton))))
        << "the button itself sends no command; got" << strCommands;
}

INSTANTIATE_TEST_SUITE_P(, CommandBarDropDown,
                         ::testing::Values(DropDownCase{ "File", 0, ID_TEST_FILE,
                                                         { L"Open", L"Save", L"-", L"Exit" }, 2, ID_TEST_FILE_SAVE },
                                           DropDownCase{ "View", 1, ID_TEST_VIEW, { L"Zoom", L"Grid" }, 2,
                                                         ID_TEST_VIEW_GRID }),
                         [](const ::testing::TestParamInfo<DropDownCase> &info) { return info.param.pszName; });

} // namespace
