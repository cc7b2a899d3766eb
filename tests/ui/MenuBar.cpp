#include "MenuBar.h"

#include "Input.h"
#include "Readers.h"

#include <commctrl.h>
#include <gtest/gtest.h>

void ChooseFromMenuBar(CModalScript &script, std::function<HWND()> fnBar, int idButton, const std::wstring &strItem)
{
    script.Do("click the bar's button", [fnBar, idButton] {
        HWND hBar = fnBar();
        RECT rc = {};
        ASSERT_TRUE(SendMessageW(hBar, TB_GETRECT, idButton, reinterpret_cast<LPARAM>(&rc))) << "no button " << idButton;
        MapWindowPoints(hBar, nullptr, reinterpret_cast<POINT *>(&rc), 2);
        ClickAt(CentreOf(rc));
    });
    script.Then("the pop-up opens", [strItem] {
        HWND hMenuWnd = FindMenuWindow();
        if (!hMenuWnd)
            return false;
        HMENU hMenu = reinterpret_cast<HMENU>(SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0));
        std::vector<std::wstring> items = MenuTexts(hMenu);
        for (size_t i = 0; i < items.size(); i++)
        {
            if (items[i] != strItem)
                continue;
            RECT rc = {};
            EXPECT_TRUE(GetMenuItemRect(nullptr, hMenu, static_cast<UINT>(i), &rc));
            ClickAt(CentreOf(rc));
            return true;
        }
        ADD_FAILURE() << "no item \"" << Narrow(strItem) << "\" in the pop-up";
        EndMenu();
        return true;
    });
    script.Then("the pop-up closes", [] { return !FindMenuWindow(); });
}
