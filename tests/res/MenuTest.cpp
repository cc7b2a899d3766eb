// Menu 107 and the menu-bar description that turns its pop-ups into buttons.
#include "ResourceReader.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

// One item as the platform reports it; a separator has no text and id 0.
struct MenuItem
{
    std::wstring strText;
    UINT nID;
    bool bSeparator;
    bool bPopup;
    bool bEnabled;

    bool operator==(const MenuItem &other) const
    {
        return strText == other.strText && nID == other.nID && bSeparator == other.bSeparator &&
               bPopup == other.bPopup && bEnabled == other.bEnabled;
    }
};

void PrintTo(const MenuItem &item, std::ostream *os)
{
    if (item.bSeparator)
        *os << "{separator" << (item.nID ? " id " + std::to_string(item.nID) : "") << "}";
    else
        *os << "{\"" << Narrow(item.strText) << "\" id " << item.nID << (item.bPopup ? " pop-up" : "")
            << (item.bEnabled ? "" : " disabled") << "}";
}

MenuItem Command(const WCHAR *pszText, UINT nID) { return { pszText, nID, false, false, true }; }
MenuItem Separator() { return { L"", 0, true, false, true }; }

MenuItem ReadItem(HMENU hMenu, int nPosition)
{
    WCHAR szText[256];
    std::fill(std::begin(szText), std::end(szText), L'\xBDBD');
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
    info.dwTypeData = szText;
    info.cch = ARRAYSIZE(szText);
    if (!GetMenuItemInfoW(hMenu, nPosition, TRUE, &info))
        return { L"(no item)", 0, false, false, false };
    MenuItem item;
    item.bSeparator = (info.fType & MFT_SEPARATOR) != 0;
    item.strText = item.bSeparator || !info.dwTypeData ? L"" : std::wstring(szText, info.cch);
    item.bPopup = info.hSubMenu != nullptr;
    item.nID = item.bPopup ? 0 : info.wID;
    // A separator cannot be chosen either way; its state says nothing.
    item.bEnabled = item.bSeparator || !(info.fState & MFS_DISABLED);
    return item;
}

std::vector<MenuItem> ReadItems(HMENU hMenu)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(hMenu); i++)
        items.push_back(ReadItem(hMenu, i));
    return items;
}

class MenuResource : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(107));
        ASSERT_NE(nullptr, m_hMenu) << "LoadMenuW failed, error " << GetLastError();
    }
    void TearDown() override
    {
        if (m_hMenu)
            DestroyMenu(m_hMenu);
    }
    HMENU m_hMenu = nullptr;
};

TEST_F(MenuResource, HasTheSettingsAndHelpPopups)
{
    EXPECT_THAT(ReadItems(m_hMenu), ::testing::ElementsAre(MenuItem{ L"Settings", 0, false, true, true },
                                                           MenuItem{ L"Help", 0, false, true, true }));
}

TEST_F(MenuResource, SettingsPopupHoldsDefaultResetAndThePresets)
{
    EXPECT_THAT(ReadItems(GetSubMenu(m_hMenu, 0)),
                ::testing::ElementsAre(Command(L"Default", 40002), Command(L"Reset", 40003), Separator(),
                                       Command(L"Optimize for FOMA", 40004),
                                       Command(L"Optimize for PacketOne", 40005),
                                       Command(L"Optimize for AirH\"", 40006),
                                       Command(L"Optimize for @FreeD", 40007)));
}

// The resource script doubles the quote to write one; a slip there shows here.
TEST_F(MenuResource, AirHPresetEndsInExactlyOneDoubleQuote)
{
    std::wstring strText = ReadItem(GetSubMenu(m_hMenu, 0), 5).strText;
    EXPECT_EQ(1, std::count(strText.begin(), strText.end(), L'"')) << Narrow(strText);
    EXPECT_EQ(L"Optimize for AirH\"", strText);
}

TEST_F(MenuResource, HelpPopupHoldsContentsAndAbout)
{
    EXPECT_THAT(ReadItems(GetSubMenu(m_hMenu, 1)),
                ::testing::ElementsAre(Command(L"Contents", 40009), Separator(), Command(L"About", 40010)));
}

TEST(MenuBarDescription, IsMenu107WithTwoDropDownButtons)
{
    std::vector<BYTE> bytes = ResourceBytes(RT_RCDATA, 107);
    ASSERT_EQ(32u, bytes.size()) << "16 words";
    std::vector<WORD> words(bytes.size() / 2);
    memcpy(words.data(), bytes.data(), bytes.size());
    EXPECT_THAT(words, ::testing::ElementsAre(107, 2,
                                              0xFFFE, 40001, 4, 0x18, 30001, 0, 0,
                                              0xFFFE, 40008, 4, 0x18, 30002, 0, 1));
}

} // namespace
