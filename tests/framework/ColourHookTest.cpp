// The colour hook: a dialog or page that overrides it sees the platform's
// colour requests and may change the text colour.
#include "Input.h"
#include "ModalScript.h"
#include "Readers.h"
#include "TestSheet.h"

#include <gtest/gtest.h>

namespace
{

const COLORREF LINK_BLUE = RGB(0, 0, 255);

// Counts the hook's calls and paints static text blue.
template <class TBase>
class CColouring : public TBase
{
public:
    using TBase::TBase;
    int m_nCalls = 0;
    UINT m_nLastKind = 0xDEADBEEF;

protected:
    HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) override
    {
        m_nCalls++;
        m_nLastKind = nCtlColor;
        HBRUSH hBrush = TBase::OnCtlColor(hDC, hCtl, nCtlColor);
        if (nCtlColor == CTLCOLOR_STATIC)
            SetTextColor(hDC, LINK_BLUE);
        return hBrush;
    }
};

struct ColourAnswer
{
    LRESULT lBrush;
    COLORREF crText;
    int nBkMode;
};

// Asks a window for the colours of one of its static controls.
ColourAnswer AskForStaticColours(HWND hWnd, HWND hStatic)
{
    HDC hDC = GetDC(hStatic);
    SetTextColor(hDC, RGB(1, 2, 3));
    LRESULT lBrush = SendMessageW(hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                  reinterpret_cast<LPARAM>(hStatic));
    COLORREF crText = GetTextColor(hDC);
    int nBkMode = GetBkMode(hDC);
    ReleaseDC(hStatic, hDC);
    return { lBrush, crText, nBkMode };
}

TEST(ColourHook, DialogHookSetsTheTextColourAndTheBrushComesBack)
{
    CColouring<CDialog> dialog(IDD_TEST_DIALOG);
    ColourAnswer answer = {};
    CModalScript script;
    script.Do("ask", [&]() {
        answer = AskForStaticColours(dialog.GetSafeHwnd(), dialog.GetDlgItem(IDC_TEST_CHECK));
    });
    RunDialog(dialog, script);
    ASSERT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    EXPECT_GE(dialog.m_nCalls, 1);
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), dialog.m_nLastKind);
    EXPECT_EQ(LINK_BLUE, answer.crText);
    EXPECT_NE(0, answer.lBrush) << "the platform's brush";
}

TEST(ColourHook, PageHookSetsTheTextColour)
{
    CPropertySheet sheet(L"Colours");
    CColouring<CPropertyPage> page(IDD_TEST_PAGE_BETA);
    sheet.AddPage(&page);
    ColourAnswer answer = {};
    CModalScript script;
    script.Do("ask", [&]() {
        answer = AskForStaticColours(page.GetSafeHwnd(), page.GetDlgItem(IDC_TEST_PAGE_CHECK));
    });
    RunSheet(sheet, script);
    ASSERT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    EXPECT_GE(page.m_nCalls, 1);
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), page.m_nLastKind);
    EXPECT_EQ(LINK_BLUE, answer.crText);
    EXPECT_NE(0, answer.lBrush);
}

LOGBRUSH BrushOf(LRESULT lBrush)
{
    LOGBRUSH logBrush = {};
    GetObjectW(reinterpret_cast<HBRUSH>(lBrush), sizeof(logBrush), &logBrush);
    return logBrush;
}

// A page left to the platform alone: its procedure handles nothing, and its
// window has no object.
class CPlatformPage : public CPropertyPage
{
public:
    explicit CPlatformPage(UINT nIDTemplate)
        : CPropertyPage(nIDTemplate)
    {
        m_psp.pfnDlgProc = [](HWND, UINT nMessage, WPARAM, LPARAM) -> INT_PTR { return nMessage == WM_INITDIALOG; };
    }
};

// A hook that calls its base keeps what the platform paints a page with (a
// themed page is not the dialog grey).
TEST(ColourHook, PageHookKeepsThePagesOwnBackground)
{
    CPropertySheet sheet(L"Colours");
    CPlatformPage plain(IDD_TEST_PAGE_BETA);
    CColouring<CPropertyPage> hooked(IDD_TEST_PAGE_BETA);
    sheet.AddPage(&plain);
    sheet.AddPage(&hooked);
    ColourAnswer plainAnswer = {}, hookedAnswer = {};
    CModalScript script;
    script.Do("ask the plain page", [&]() {
        HWND hPlain = reinterpret_cast<HWND>(SendMessageW(sheet.GetSafeHwnd(), PSM_INDEXTOHWND, 0, 0));
        plainAnswer = AskForStaticColours(hPlain, GetDlgItem(hPlain, IDC_TEST_PAGE_CHECK));
        sheet.SetActivePage(&hooked);
    });
    script.Then("the hooked page shows", [&]() { return hooked.GetSafeHwnd() && IsWindowVisible(hooked.GetSafeHwnd()); });
    script.Do("ask the hooked page", [&]() {
        hookedAnswer = AskForStaticColours(hooked.GetSafeHwnd(), hooked.GetDlgItem(IDC_TEST_PAGE_CHECK));
    });
    RunSheet(sheet, script);
    ASSERT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
    ASSERT_GE(hooked.m_nCalls, 1);
    LOGBRUSH plainBrush = BrushOf(plainAnswer.lBrush), hookedBrush = BrushOf(hookedAnswer.lBrush);
    EXPECT_EQ(plainBrush.lbStyle, hookedBrush.lbStyle);
    if (plainBrush.lbStyle == BS_SOLID)
    {
        EXPECT_EQ(plainBrush.lbColor, hookedBrush.lbColor);
    }
    EXPECT_EQ(plainAnswer.nBkMode, hookedAnswer.nBkMode);
}

} // namespace
