// The property sheet run modally, driven from inside its own modal loop.
#include "Input.h"
#include "ModalScript.h"
#include "Readers.h"
#include "TestSheet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace
{

// Runs the sheet with the script and checks that the script got to its end.
INT_PTR RunToTheEnd(CPropertySheet &sheet, CModalScript &script)
{
    INT_PTR nResult = RunSheet(sheet, script);
    EXPECT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    return nResult;
}

TEST(Sheet, TabsReadInTheOrderThePagesWereAdded)
{
    CTestSheet sheet(L"Tabs");
    std::vector<std::wstring> tabs;
    CModalScript script;
    script.Do("read the tabs", [&]() { tabs = TabTexts(sheet.TabControl()); });
    RunToTheEnd(sheet, script);
    EXPECT_THAT(tabs, ElementsAre(L"Alpha", L"Beta", L"Gamma"));
}

TEST(Sheet, PageWithATitleIdShowsThatString)
{
    CPropertySheet sheet(L"Titles");
    CCountingPage pageTitled(IDD_TEST_PAGE_ALPHA, IDS_TEST_PAGE_TITLE), pageOwn(IDD_TEST_PAGE_BETA);
    sheet.AddPage(&pageTitled);
    sheet.AddPage(&pageOwn);
    std::vector<std::wstring> tabs;
    CModalScript script;
    script.Do("read the tabs", [&]() {
        tabs = TabTexts(reinterpret_cast<HWND>(sheet.SendMessage(PSM_GETTABCONTROL)));
    });
    RunToTheEnd(sheet, script);
    EXPECT_THAT(tabs, ElementsAre(L"Titled", L"Beta"));
}

TEST(Sheet, CaptionFromText)
{
    CTestSheet sheet(L"Marlin");
    std::wstring strCaption;
    CModalScript script;
    script.Do("read the caption", [&]() { strCaption = WindowText(sheet.GetSafeHwnd()); });
    RunToTheEnd(sheet, script);
    EXPECT_EQ(L"Marlin", strCaption);
}

TEST(Sheet, CaptionFromAStringId)
{
    CTestSheet sheet(static_cast<UINT>(IDS_TEST_CAPTION));
    std::wstring strCaption;
    CModalScript script;
    script.Do("read the caption", [&]() { strCaption = WindowText(sheet.GetSafeHwnd()); });
    RunToTheEnd(sheet, script);
    EXPECT_EQ(L"Caption From A String", strCaption);
}

TEST(Sheet, OnlyTheStartPageHasAWindowUntilOthersAreSelected)
{
    CTestSheet sheet(L"Pages");
    CModalScript script;
    script.Do("at first", [&]() {
        EXPECT_NE(nullptr, sheet.m_pageAlpha.GetSafeHwnd());
        EXPECT_EQ(sheet.m_pageAlpha.GetSafeHwnd(), sheet.CurrentPage());
        EXPECT_EQ(nullptr, sheet.m_pageBeta.GetSafeHwnd());
        EXPECT_EQ(nullptr, sheet.m_pageGamma.GetSafeHwnd());
    });
    script.Do("select the second", [&]() {
        EXPECT_TRUE(sheet.SendMessage(PSM_SETCURSEL, 1, 0));
        EXPECT_NE(nullptr, sheet.m_pageBeta.GetSafeHwnd());
        EXPECT_EQ(sheet.m_pageBeta.GetSafeHwnd(), sheet.CurrentPage());
        EXPECT_EQ(nullptr, sheet.m_pageGamma.GetSafeHwnd());
    });
    RunToTheEnd(sheet, script);
}

TEST(Sheet, StartPageCanBeAnotherThanTheFirst)
{
    CTestSheet sheet(L"Start", 2);
    CModalScript script;
    script.Do("at first", [&]() {
        EXPECT_EQ(nullptr, sheet.m_pageAlpha.GetSafeHwnd());
        EXPECT_NE(nullptr, sheet.m_pageGamma.GetSafeHwnd());
        EXPECT_EQ(sheet.m_pageGamma.GetSafeHwnd(), sheet.CurrentPage());
    });
    RunToTheEnd(sheet, script);
}

TEST(Sheet, EachPageInitialisesOnceHoweverOftenItIsSelected)
{
    CTestSheet sheet(L"Once");
    CModalScript script;
    script.Do("select back and forth", [&]() {
        for (int nPage : { 1, 0, 1, 2, 0, 2, 1 })
            sheet.SendMessage(PSM_SETCURSEL, nPage, 0);
    });
    RunToTheEnd(sheet, script);
    EXPECT_EQ(1, sheet.m_pageAlpha.m_nInitCount);
    EXPECT_EQ(1, sheet.m_pageBeta.m_nInitCount);
    EXPECT_EQ(1, sheet.m_pageGamma.m_nInitCount);
}

TEST(Sheet, SetActivePageBringsThePageToTheFront)
{
    CTestSheet sheet(L"Active");
    CCountingPage pageElsewhere(IDD_TEST_PAGE_BETA);
    CModalScript script;
    script.Do("activate the third", [&]() {
        EXPECT_TRUE(sheet.SetActivePage(&sheet.m_pageGamma));
        EXPECT_NE(nullptr, sheet.m_pageGamma.GetSafeHwnd());
        EXPECT_EQ(sheet.m_pageGamma.GetSafeHwnd(), sheet.CurrentPage());
        EXPECT_EQ(2, TabCtrl_GetCurSel(sheet.TabControl()));
        EXPECT_TRUE(IsWindowVisible(sheet.m_pageGamma.GetSafeHwnd()));
        EXPECT_FALSE(IsWindowVisible(sheet.m_pageAlpha.GetSafeHwnd()));
    });
    script.Do("a page not in the sheet", [&]() {
        EXPECT_FALSE(sheet.SetActivePage(&pageElsewhere));
        EXPECT_EQ(sheet.m_pageGamma.GetSafeHwnd(), sheet.CurrentPage());
    });
    RunToTheEnd(sheet, script);
}

TEST(Sheet, SheetInitialisesOnceWithTheStartPageMade)
{
    CTestSheet sheet(L"Init");
    CModalScript script;
    script.Do("select every page", [&]() {
        sheet.SendMessage(PSM_SETCURSEL, 1, 0);
        sheet.SendMessage(PSM_SETCURSEL, 2, 0);
    });
    RunToTheEnd(sheet, script);
    EXPECT_EQ(1, sheet.m_nInitCount);
    EXPECT_NE(nullptr, sheet.m_hWndPagesAtInit[0]) << "the start page exists when the sheet's hook runs";
    EXPECT_EQ(nullptr, sheet.m_hWndPagesAtInit[1]);
    EXPECT_EQ(nullptr, sheet.m_hWndPagesAtInit[2]);
}

TEST(Sheet, WindowsAreGoneOnceTheSheetCloses)
{
    CTestSheet sheet(L"Closed");
    HWND hWndSheet = nullptr, hWndBeta = nullptr;
    CModalScript script;
    script.Do("select the second", [&]() {
        hWndSheet = sheet.GetSafeHwnd();
        sheet.SendMessage(PSM_SETCURSEL, 1, 0);
        hWndBeta = sheet.m_pageBeta.GetSafeHwnd();
    });
    INT_PTR nResult = RunToTheEnd(sheet, script);
    EXPECT_EQ(0, nResult) << "after Cancel";
    EXPECT_NE(nullptr, hWndSheet);
    EXPECT_NE(nullptr, hWndBeta);
    EXPECT_FALSE(IsWindow(hWndSheet));
    EXPECT_FALSE(IsWindow(hWndBeta));
    EXPECT_EQ(nullptr, sheet.GetSafeHwnd());
    EXPECT_EQ(nullptr, sheet.m_pageAlpha.GetSafeHwnd());
    EXPECT_EQ(nullptr, sheet.m_pageBeta.GetSafeHwnd());
    EXPECT_EQ(nullptr, sheet.m_pageGamma.GetSafeHwnd());
}

// A sheet object can run again after it closed, as a fresh window.
TEST(Sheet, RunsAgainAfterItClosed)
{
    CTestSheet sheet(L"Twice");
    for (int nRun = 0; nRun < 2; nRun++)
    {
        CModalScript script;
        script.Do("select the second", [&]() { sheet.SendMessage(PSM_SETCURSEL, 1, 0); });
        RunToTheEnd(sheet, script);
    }
    EXPECT_EQ(2, sheet.m_nInitCount);
    EXPECT_EQ(2, sheet.m_pageBeta.m_nInitCount);
}

} // namespace
