#include "SheetFixture.h"

#include "resource.h"

namespace {

const int TTL_BUTTONS[] = { IDC_TTL_32, IDC_TTL_64, IDC_TTL_128, IDC_TTL_CUSTOM };

class DttlPageTest : public SheetTest
{
protected:
    HWND m_hPage = nullptr;

    void Open(HWND hSheet) { m_hPage = OpenPage(hSheet, m_sheet.m_pageDttl); }
    HWND Field() const { return GetDlgItem(m_hPage, IDC_TTL); }
    int Checked() const
    {
        int nChecked = 0;
        for (int nID : TTL_BUTTONS)
            if (IsDlgButtonChecked(m_hPage, nID) == BST_CHECKED)
            {
                EXPECT_EQ(0, nChecked) << "both " << nChecked << " and " << nID << " checked";
                nChecked = nID;
            }
        return nChecked;
    }
    void ExpectShows(int nButton, bool bFieldEnabled, const wchar_t *pszField) const
    {
        EXPECT_EQ(nButton, Checked());
        EXPECT_EQ(bFieldEnabled, !!IsWindowEnabled(Field()));
        EXPECT_EQ(pszField, WindowText(Field()));
    }
    void Click(int nID) { ClickWindow(GetDlgItem(m_hPage, nID)); }
    void TypeTtl(const wchar_t *pszText)
    {
        FocusControl(Field());
        SendMessageW(Field(), EM_SETSEL, 0, -1);
        PressKeyNow(VK_DELETE);
        TypeText(pszText);
    }
};

TEST_F(DttlPageTest, OpensOnTheButtonForTheStoredTtl)
{
    struct
    {
        DWORD dwTtl;
        int nButton;
        bool bFieldEnabled;
        const wchar_t *pszField;
    } cases[] = {
        { 32, IDC_TTL_32, false, L"32" },
        { 64, IDC_TTL_64, false, L"64" },
        { 128, IDC_TTL_128, false, L"128" },
        { 100, IDC_TTL_CUSTOM, true, L"100" },
        { 0, IDC_TTL_CUSTOM, true, L"0" },
        { 4294967295u, IDC_TTL_CUSTOM, true, L"-1" },
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(testing::Message() << "TTL " << c.dwTtl);
        theParams.m_dwDefaultTTL = c.dwTtl;
        CMarlinProp sheet(L"Marlin");
        RecordSnapshot before = RecordSnapshot::Take();
        RunScript(sheet, [&](HWND hSheet) {
            ClickTab(hSheet, 1);
            m_hPage = sheet.m_pageDttl.GetSafeHwnd();
            ASSERT_TRUE(m_hPage);
            ExpectShows(c.nButton, c.bFieldEnabled, c.pszField);
            EXPECT_EQ(before, RecordSnapshot::Take()) << "opening the page";
        });
    }
}

TEST_F(DttlPageTest, FixedChoicesSetTheTtlAndCustomKeepsIt)
{
    theParams.m_dwDefaultTTL = 128;
    Run([&](HWND hSheet) {
        Open(hSheet);
        Click(IDC_TTL_64);
        EXPECT_EQ(64u, theParams.m_dwDefaultTTL);
        ExpectShows(IDC_TTL_64, false, L"64");
        Click(IDC_TTL_CUSTOM);
        EXPECT_EQ(64u, theParams.m_dwDefaultTTL) << "Custom keeps the value chosen before";
        ExpectShows(IDC_TTL_CUSTOM, true, L"64");
        Click(IDC_TTL_32);
        EXPECT_EQ(32u, theParams.m_dwDefaultTTL);
        ExpectShows(IDC_TTL_32, false, L"32");
        Click(IDC_TTL_32);
        EXPECT_EQ(32u, theParams.m_dwDefaultTTL) << "the button already checked";
        ExpectShows(IDC_TTL_32, false, L"32");
        Click(IDC_TTL_128);
        EXPECT_EQ(128u, theParams.m_dwDefaultTTL);
        ExpectShows(IDC_TTL_128, false, L"128");
    });
}

TEST_F(DttlPageTest, TypingACustomTtlStoresItAtOnce)
{
    theParams.m_dwDefaultTTL = 64;
    Run([&](HWND hSheet) {
        Open(hSheet);
        Click(IDC_TTL_CUSTOM);
        TypeTtl(L"200");
        EXPECT_EQ(200u, theParams.m_dwDefaultTTL);
        TypeTtl(L"");
        EXPECT_EQ(0u, theParams.m_dwDefaultTTL) << "an emptied field";
        TypeTtl(L"128");
        EXPECT_EQ(128u, theParams.m_dwDefaultTTL);
        EXPECT_EQ(IDC_TTL_CUSTOM, Checked()) << "typing does not move the choice";
        TypeTtl(L"99999999999");
        EXPECT_EQ(0u, theParams.m_dwDefaultTTL) << "above the largest signed number";
        TypeTtl(L"256");
        EXPECT_EQ(256u, theParams.m_dwDefaultTTL) << "the page judges nothing";
    });
}

TEST_F(DttlPageTest, AFixedChoiceLocksTheField)
{
    theParams.m_dwDefaultTTL = 64;
    Run([&](HWND hSheet) {
        Open(hSheet);
        FocusControl(Field());
        TypeText(L"5");
        EXPECT_EQ(64u, theParams.m_dwDefaultTTL) << "keys typed into the disabled field";
        EXPECT_EQ(L"64", WindowText(Field()));
    });
}

TEST_F(DttlPageTest, UntilOpenedThePageHasNoWindow)
{
    theParams.m_dwDefaultTTL = 100;
    Run([&](HWND) {
        EXPECT_EQ(nullptr, m_sheet.m_pageDttl.GetSafeHwnd());
        EXPECT_EQ(100u, theParams.m_dwDefaultTTL);
    });
}

} // namespace
