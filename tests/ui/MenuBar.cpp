#include "MenuBar.h"

#include "Input.h"
#include "Readers.h"

#include <gtest/gtest.h>

namespace
{

// Clicks the menu's item with this text; false when there is none.
bool ClickItem(HWND hWnd, HMENU hMenu, const std::wstring &strItem)
{
    std::vector<std::wstring> items = MenuTexts(hMenu);
    for (size_t i = 0; i < items.size(); i++)
    {
        if (items[i] != strItem)
            continue;
        RECT rc = {};
        EXPECT_TRUE(GetMenuItemRect(hWnd, hMenu, static_cast<UINT>(i), &rc));
        ClickAt(CentreOf(rc));
        return true;
    }
    ADD_FAILURE() << "no item \"" << Narrow(strItem) << "\"";
    return false;
}

} // namespace

void ChooseFromMenuBar(CModalScript &script, std::function<HWND()> fnWindow, const std::wstring &strPopup,
                       const std::wstring &strItem)
{
    script.Do("click the pop-up's label on the bar", [fnWindow, strPopup] {
        HWND hWnd = fnWindow();
        ClickItem(hWnd, GetMenu(hWnd), strPopup);
    });
    script.Then("the pop-up opens", [strItem] {
        HWND hMenuWnd = FindMenuWindow();
        if (!hMenuWnd)
            return false;
        if (!ClickItem(nullptr, reinterpret_cast<HMENU>(SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0)), strItem))
            EndMenu();
        return true;
    });
    script.Then("the pop-up closes", [] { return !FindMenuWindow(); });
}
