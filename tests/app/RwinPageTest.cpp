#include "SheetFixture.h"

#include "resource.h"

namespace {

class RwinPageTest : public SheetTest
{
protected:
    HWND Field(HWND hPage) { return GetDlgItem(hPage, IDC_WINDOW_SIZE); }
    HWND List(HWND hPage) { return GetDlgItem(hPage, IDC_ADAPTER); }

    // Picks a list entry with the keyboard, as a user of the closed drop-down list would.
    void SelectAdapter(HWND hPage, int nIndex)
    {
        FocusControl(List(hPage));
        PressKeyNow(VK_HOME);
        for (int i = 0; i < nIndex; i++)
            PressKeyNow(VK_DOWN);
        ASSERT_EQ(nIndex, SendMessageW(List(hPage), CB_GETCURSEL, 0, 0));
    }

    // Replaces the field's text by typing, as a user would.
    void TypeWindow(HWND hPage, const wchar_t *pszText)
    {
        FocusControl(Field(hPage));
        SendMessageW(Field(hPage), EM_SETSEL, 0, -1);
        PressKeyNow(VK_DELETE);
        TypeText(pszText);
    }
};

TEST_F(RwinPageTest, ListsTheAdaptersInTableOrderWithTheFirstSelected)
{
    SetAdapters({ { L"PPP Adapter", L"ppp1", 17520 }, { L"NE2000 Ethernet", L"NE20001", 32768 },
                  { L"Wireless", L"WLAN1", 8760 } });
    Run([&](HWND) {
        HWND hPage = m_sheet.m_pageRwin.GetSafeHwnd();
        ASSERT_EQ(3, SendMessageW(List(hPage), CB_GETCOUNT, 0, 0));
        const wchar_t *expected[] = { L"PPP Adapter", L"NE2000 Ethernet", L"Wireless" };
        for (int i = 0; i < 3; i++)
        {
            WCHAR szText[64] = {};
            SendMessageW(List(hPage), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szText));
            EXPECT_STREQ(expected[i], szText) << "entry " << i;
        }
        EXPECT_EQ(0, SendMessageW(List(hPage), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(L"17520", WindowText(Field(hPage)));
    });
}

TEST_F(RwinPageTest, StoresWhatTheFieldParsesTo)
{
    SetAdapters({ { L"PPP Adapter", L"ppp1", 17520 } });
    Run([&](HWND) {
        HWND hPage = m_sheet.m_pageRwin.GetSafeHwnd();
        TypeWindow(hPage, L"");
        EXPECT_EQ(L"", WindowText(Field(hPage)));
        EXPECT_EQ(0u, theParams.m_pAdapters[0].m_dwTcpWindowSize) << "an emptied field";
        TypeWindow(hPage, L"2147483647");
        EXPECT_EQ(2147483647u, theParams.m_pAdapters[0].m_dwTcpWindowSize);
        TypeWindow(hPage, L"2147483648");
        EXPECT_EQ(0u, theParams.m_pAdapters[0].m_dwTcpWindowSize) << "above the largest signed number";
        TypeWindow(hPage, L"65536");
        EXPECT_EQ(65536u, theParams.m_pAdapters[0].m_dwTcpWindowSize);
    });
}

TEST_F(RwinPageTest, ShowsALargeWindowAsSignedAndLeavesItAlone)
{
    SetAdapters({ { L"PPP Adapter", L"ppp1", 3000000000u }, { L"NE2000 Ethernet", L"NE20001", 4294967295u } });
    RecordSnapshot before = RecordSnapshot::Take();
    Run([&](HWND) {
        HWND hPage = m_sheet.m_pageRwin.GetSafeHwnd();
        EXPECT_EQ(L"-1294967296", WindowText(Field(hPage)));
        SelectAdapter(hPage, 1);
        EXPECT_EQ(L"-1", WindowText(Field(hPage)));
        SelectAdapter(hPage, 0);
        EXPECT_EQ(before, RecordSnapshot::Take());
    });
    EXPECT_EQ(before, RecordSnapshot::Take());
}

TEST_F(RwinPageTest, OpeningThePageChangesNothing)
{
    SetAdapters({ { L"PPP Adapter", L"ppp1", 17520 }, { L"NE2000 Ethernet", L"NE20001", 0 } });
    theParams.m_bWindowScaling = 0;
    RecordSnapshot before = RecordSnapshot::Take();
    Run([&](HWND) {
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(m_sheet.m_pageRwin.GetSafeHwnd(), IDC_WINDOW_SCALING));
        EXPECT_EQ(before, RecordSnapshot::Take());
    });
}

TEST_F(RwinPageTest, EachClickOnWindowScalingStoresTheNewState)
{
    SetAdapters({ { L"PPP Adapter", L"ppp1", 17520 } });
    theParams.m_bWindowScaling = 1;
    Run([&](HWND) {
        HWND hBox = GetDlgItem(m_sheet.m_pageRwin.GetSafeHwnd(), IDC_WINDOW_SCALING);
        EXPECT_EQ(BST_CHECKED, SendMessageW(hBox, BM_GETCHECK, 0, 0));
        ClickWindow(hBox);
        EXPECT_EQ(0u, theParams.m_bWindowScaling);
        ClickWindow(hBox);
        EXPECT_EQ(1u, theParams.m_bWindowScaling);
        EXPECT_EQ(17520u, theParams.m_pAdapters[0].m_dwTcpWindowSize);
    });
}

TEST_F(RwinPageTest, WithoutAdaptersTheListIsEmptyAndTheTableUntouched)
{
    SetAdapters({});
    Run([&](HWND) {
        HWND hPage = m_sheet.m_pageRwin.GetSafeHwnd();
        EXPECT_EQ(0, SendMessageW(List(hPage), CB_GETCOUNT, 0, 0));
        EXPECT_EQ(CB_ERR, SendMessageW(List(hPage), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(L"", WindowText(Field(hPage)));
        EXPECT_FALSE(IsWindowEnabled(Field(hPage))) << "a field that edits no adapter";
        // Whatever reaches the field, no entry is read or written.
        SetWindowTextW(Field(hPage), L"70000");
        FocusControl(List(hPage));
        PressKeyNow(VK_DOWN);
        EXPECT_EQ(0, theParams.m_nAdapters);
        EXPECT_EQ(nullptr, theParams.m_pAdapters.get());
    });
}

} // namespace
