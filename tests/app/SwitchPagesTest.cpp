// The "PMTU" and "Other" pages: switches that store 1 or 0 when clicked.
#include "SheetFixture.h"

#include "resource.h"

namespace {

class PmtuPageTest : public SheetTest
{
};

TEST_F(PmtuPageTest, OpensOnTheStoredSetting)
{
    struct
    {
        DWORD dwStored;
        int nChecked;
    } cases[] = { { 0, IDC_PMTU_DISABLE }, { 1, IDC_PMTU_ENABLE }, { 2, IDC_PMTU_ENABLE } };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(testing::Message() << "stored " << c.dwStored);
        theParams.m_bPmtuDiscovery = c.dwStored;
        CMarlinProp sheet(L"Marlin");
        RunScript(sheet, [&](HWND hSheet) {
            ClickTab(hSheet, 2);
            HWND hPage = sheet.m_pagePmtu.GetSafeHwnd();
            ASSERT_TRUE(hPage);
            EXPECT_EQ(c.nChecked == IDC_PMTU_ENABLE, IsDlgButtonChecked(hPage, IDC_PMTU_ENABLE) == BST_CHECKED);
            EXPECT_EQ(c.nChecked == IDC_PMTU_DISABLE, IsDlgButtonChecked(hPage, IDC_PMTU_DISABLE) == BST_CHECKED);
            EXPECT_EQ(c.dwStored, theParams.m_bPmtuDiscovery) << "opening the page";
        });
    }
}

TEST_F(PmtuPageTest, EachClickStoresOneOrZero)
{
    theParams.m_bPmtuDiscovery = 2;
    Run([&](HWND hSheet) {
        HWND hPage = OpenPage(hSheet, m_sheet.m_pagePmtu);
        ClickWindow(GetDlgItem(hPage, IDC_PMTU_ENABLE));
        EXPECT_EQ(1u, theParams.m_bPmtuDiscovery) << "the button already checked";
        ClickWindow(GetDlgItem(hPage, IDC_PMTU_DISABLE));
        EXPECT_EQ(0u, theParams.m_bPmtuDiscovery);
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hPage, IDC_PMTU_ENABLE));
        ClickWindow(GetDlgItem(hPage, IDC_PMTU_ENABLE));
        EXPECT_EQ(1u, theParams.m_bPmtuDiscovery);
    });
}

class SackPageTest : public SheetTest
{
};

TEST_F(SackPageTest, OpensOnTheStoredSwitchesAndChangesNothing)
{
    theParams.m_bSack = 1;
    theParams.m_bTimestamps = 0;
    RecordSnapshot before = RecordSnapshot::Take();
    Run([&](HWND hSheet) {
        HWND hPage = OpenPage(hSheet, m_sheet.m_pageSack);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hPage, IDC_SACK));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hPage, IDC_TIMESTAMPS));
        EXPECT_EQ(before, RecordSnapshot::Take());
    });
}

TEST_F(SackPageTest, EachBoxStoresItsOwnStateAtOnce)
{
    theParams.m_bSack = 7;    // any number but 0 reads as on
    theParams.m_bTimestamps = 0;
    Run([&](HWND hSheet) {
        HWND hPage = OpenPage(hSheet, m_sheet.m_pageSack);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hPage, IDC_SACK));
        EXPECT_EQ(7u, theParams.m_bSack) << "kept until clicked";
        ClickWindow(GetDlgItem(hPage, IDC_SACK));
        EXPECT_EQ(0u, theParams.m_bSack);
        EXPECT_EQ(0u, theParams.m_bTimestamps);
        ClickWindow(GetDlgItem(hPage, IDC_TIMESTAMPS));
        EXPECT_EQ(1u, theParams.m_bTimestamps);
        EXPECT_EQ(0u, theParams.m_bSack);
        ClickWindow(GetDlgItem(hPage, IDC_SACK));
        EXPECT_EQ(1u, theParams.m_bSack);
    });
}

} // namespace
