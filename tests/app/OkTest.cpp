// OK on the sheet over the sample handheld: the window-scaling offer, the
// TTL check, saving only what differs, the soft-reset offer, and a save the
// registry refuses. The message boxes are the platform's, answered here.
#include "ProgramFixture.h"

#include "resource.h"

#include <commctrl.h>

namespace
{

using OkTest = HandheldSheetTest;

CAdapterParams &Adapter(const wchar_t *pszKeyName)
{
    for (int i = 0; i < theParams.m_nAdapters; i++)
        if (theParams.m_pAdapters[i].m_strKeyName == pszKeyName)
            return theParams.m_pAdapters[i];
    ADD_FAILURE() << "no adapter " << Narrow(pszKeyName);
    return theParams.m_pAdapters[0];
}

std::string Value(const char *pszPath, const char *pszName)
{
    auto values = ReadComm();
    auto it = values.find(std::string(pszPath) + " : " + pszName);
    return it == values.end() ? "absent" : it->second;
}

void ExpectBox(const MessageBoxSeen &seen, const wchar_t *pszText, UINT nType, HWND hSheet)
{
    EXPECT_EQ(pszText, seen.strText);
    EXPECT_EQ(L"Marlin", seen.strCaption);
    EXPECT_EQ(nType, seen.Type()) << Narrow(seen.strText);
    EXPECT_NE(nullptr, hSheet);
    EXPECT_EQ(hSheet, seen.hOwner) << "owned by the sheet";
}

TEST_F(OkTest, NothingChangedWritesNothingAndShowsNothing)
{
    OpenTab(1);
    OpenTab(3);
    PressOk();
    Run();
    EXPECT_GT(m_nResult, 0) << "closed with OK";
    EXPECT_EQ(nullptr, SheetWindow());
    EXPECT_EQ(0, m_device.m_nOemQueries);
    EXPECT_EQ(m_before, ReadComm());
}

struct ScalingCase
{
    const char *pszName;
    DWORD dwEthernet, dwPpp;
    bool bAsked;
};
void PrintTo(const ScalingCase &test, std::ostream *os) { *os << test.pszName; }

class OkScalingTest : public OkTest, public ::testing::WithParamInterface<ScalingCase>
{
};

TEST_P(OkScalingTest, AskedOnceWhenAWindowIsAbove65535)
{
    const ScalingCase &test = GetParam();
    theParams.m_bWindowScaling = 0;
    Adapter(L"NE20001").m_dwTcpWindowSize = test.dwEthernet;
    Adapter(L"ppp1").m_dwTcpWindowSize = test.dwPpp;
    MessageBoxSeen first, second, third;
    PressOk();
    m_script.Then("answer the first box", AnswerMessageBox(IDNO, &first));
    m_script.Then("answer the second box", AnswerMessageBox(test.bAsked ? IDNO : IDOK, &second));
    if (test.bAsked)
        m_script.Then("answer the third box", AnswerMessageBox(IDOK, &third));
    Run();

    if (test.bAsked)
    {
        ExpectBox(first, ENABLE_SCALING, MB_YESNO | MB_ICONQUESTION, m_hSheetShown);
        EXPECT_EQ(RESET_NOW, second.strText) << "asked once";
        EXPECT_EQ(SETTINGS_CHANGED, third.strText);
    }
    else
    {
        EXPECT_EQ(RESET_NOW, first.strText) << "no question";
        EXPECT_EQ(SETTINGS_CHANGED, second.strText);
    }
    // Declined: the windows are written all the same, without scaling.
    EXPECT_EQ(0u, theParams.m_bWindowScaling);
    EXPECT_EQ("dword 2", Value("Comm\\Tcpip\\Parms", "TCP1323Opts")) << "time stamps alone";
    EXPECT_EQ("dword " + std::to_string(test.dwPpp), Value("Comm\\ppp1\\Parms\\TcpIp", "TcpWindowSize"));
    EXPECT_EQ("dword " + std::to_string(test.dwEthernet), Value("Comm\\NE20001\\Parms\\TcpIp", "TcpWindowSize"));
}

INSTANTIATE_TEST_SUITE_P(, OkScalingTest,
                         ::testing::Values(ScalingCase{ "AtTheLimit", 16384, 65535, false },
                                           ScalingCase{ "JustAbove", 16384, 65536, true },
                                           ScalingCase{ "TwoAbove", 100000, 65536, true }),
                         [](const ::testing::TestParamInfo<ScalingCase> &info) { return info.param.pszName; });

TEST_F(OkTest, YesToScalingBringsTheRwinPageForwardWithItsBoxSet)
{
    Adapter(L"ppp1").m_dwTcpWindowSize = 131072;
    theParams.m_bWindowScaling = 0;
    MessageBoxSeen question, reset, notice;
    HWND hRwinAfterYes = nullptr, hRwin = nullptr;
    UINT nCheckAfterYes = BST_UNCHECKED;
    OpenTab(3);
    PressOk();
    m_script.Then("enable scaling", AnswerMessageBox(IDYES, &question));
    m_script.Then("look, then decline the reset", [&] {
        if (!FindMessageBox())
            return false;
        hRwinAfterYes = CurrentPage();
        hRwin = m_sheet.m_pageRwin.GetSafeHwnd();
        nCheckAfterYes = IsDlgButtonChecked(m_sheet.m_pageRwin.GetSafeHwnd(), IDC_WINDOW_SCALING);
        return AnswerMessageBox(IDNO, &reset)();
    });
    m_script.Then("acknowledge", AnswerMessageBox(IDOK, &notice));
    Run();

    ExpectBox(question, ENABLE_SCALING, MB_YESNO | MB_ICONQUESTION, m_hSheetShown);
    EXPECT_NE(nullptr, hRwinAfterYes);
    EXPECT_EQ(hRwin, hRwinAfterYes) << "the RWIN page is in front";
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), nCheckAfterYes);
    EXPECT_EQ(RESET_NOW, reset.strText);
    EXPECT_EQ(SETTINGS_CHANGED, notice.strText);
    EXPECT_EQ(1u, theParams.m_bWindowScaling);
    EXPECT_EQ("absent", Value("Comm\\Tcpip\\Parms", "TCP1323Opts")) << "scaling and time stamps: the default";
    EXPECT_EQ("dword 131072", Value("Comm\\ppp1\\Parms\\TcpIp", "TcpWindowSize"));
}

struct TtlCase
{
    const char *pszName;
    const wchar_t *pszTyped;
    bool bAccepted;
};
void PrintTo(const TtlCase &test, std::ostream *os) { *os << test.pszName; }

class OkTtlTest : public OkTest, public ::testing::WithParamInterface<TtlCase>
{
};

TEST_P(OkTtlTest, TheCustomTtlMustLieFrom1To255)
{
    const TtlCase &test = GetParam();
    MessageBoxSeen refusal, reset, notice;
    bool bLooked = false;
    OpenTab(1);
    m_script.Do("choose Custom", [&] { ClickWindow(GetDlgItem(m_sheet.m_pageDttl.GetSafeHwnd(), IDC_TTL_CUSTOM)); });
    m_script.Then("the field opens", [&] { return IsWindowEnabled(GetDlgItem(m_sheet.m_pageDttl.GetSafeHwnd(), IDC_TTL)); });
    m_script.Do("type the TTL", [&] {
        HWND hField = GetDlgItem(m_sheet.m_pageDttl.GetSafeHwnd(), IDC_TTL);
        FocusControl(hField);
        SendMessageW(hField, EM_SETSEL, 0, -1);
        PressKeyNow(VK_DELETE);
        TypeText(test.pszTyped);
    });
    m_script.Then("the record has it", [&] { return WindowText(GetDlgItem(m_sheet.m_pageDttl.GetSafeHwnd(), IDC_TTL)) == test.pszTyped; });
    OpenTab(3);
    PressOk();
    if (test.bAccepted)
    {
        m_script.Then("decline the reset", AnswerMessageBox(IDNO, &reset));
        m_script.Then("acknowledge", AnswerMessageBox(IDOK, &notice));
    }
    else
    {
        m_script.Then("acknowledge the refusal", AnswerMessageBox(IDOK, &refusal));
        m_script.Do("look", [&] {
            EXPECT_EQ(m_sheet.m_pageDttl.GetSafeHwnd(), CurrentPage()) << "the TTL page is in front";
            EXPECT_EQ(GetDlgItem(m_sheet.m_pageDttl.GetSafeHwnd(), IDC_TTL), GetFocus());
            bLooked = true;
        });
    }
    Run();

    if (test.bAccepted)
    {
        EXPECT_EQ(RESET_NOW, reset.strText);
        EXPECT_EQ("dword " + Narrow(test.pszTyped), Value("Comm\\Tcpip\\Parms", "DefaultTTL"));
        return;
    }
    ExpectBox(refusal, TTL_RANGE, MB_OK | MB_ICONSTOP, m_hSheetShown);
    EXPECT_TRUE(bLooked);
    EXPECT_EQ(0, m_nResult) << "the sheet stayed open until cancelled";
    EXPECT_EQ(0, m_device.m_nOemQueries);
    EXPECT_EQ(m_before, ReadComm());
}

INSTANTIATE_TEST_SUITE_P(, OkTtlTest,
                         ::testing::Values(TtlCase{ "Zero", L"0", false }, TtlCase{ "Emptied", L"", false },
                                           TtlCase{ "Above255", L"256", false }, TtlCase{ "One", L"1", true },
                                           TtlCase{ "Max", L"255", true }),
                         [](const ::testing::TestParamInfo<TtlCase> &info) { return info.param.pszName; });

TEST_F(OkTest, TtlIsNotCheckedWhenItsPageWasNeverOpened)
{
    theParams.m_dwDefaultTTL = 0;
    MessageBoxSeen reset, notice;
    PressOk();
    m_script.Then("decline the reset", AnswerMessageBox(IDNO, &reset));
    m_script.Then("acknowledge", AnswerMessageBox(IDOK, &notice));
    Run();
    EXPECT_EQ(RESET_NOW, reset.strText);
    EXPECT_EQ("dword 0", Value("Comm\\Tcpip\\Parms", "DefaultTTL"));
}

struct OemCase
{
    const char *pszName;
    const wchar_t *pszOemInfo;
    bool bOffered;
};
void PrintTo(const OemCase &test, std::ostream *os) { *os << test.pszName; }

class OkResetTest : public OkTest, public ::testing::WithParamInterface<OemCase>
{
};

TEST_P(OkResetTest, ResetOfferedUnlessTheDeviceIsExactlyCepcOrNec)
{
    const OemCase &test = GetParam();
    m_device.m_strOemInfo = test.pszOemInfo;
    theParams.m_dwDefaultTTL = 32;
    MessageBoxSeen first, second;
    PressOk();
    m_script.Then("accept the reset, if offered", AnswerMessageBox(test.bOffered ? IDYES : IDOK, &first));
    if (test.bOffered)
        m_script.Then("acknowledge", AnswerMessageBox(IDOK, &second));
    Run();

    EXPECT_EQ("dword 32", Value("Comm\\Tcpip\\Parms", "DefaultTTL")) << "saved before the offer";
    if (test.bOffered)
    {
        ExpectBox(first, RESET_NOW, MB_YESNO | MB_ICONQUESTION, m_hSheetShown);
        ExpectBox(second, SETTINGS_CHANGED, MB_OK | MB_ICONEXCLAMATION, m_hSheetShown);
        EXPECT_EQ(1, m_device.m_nResets);
    }
    else
    {
        ExpectBox(first, SETTINGS_CHANGED, MB_OK | MB_ICONEXCLAMATION, m_hSheetShown);
        EXPECT_EQ(0, m_device.m_nResets);
    }
    EXPECT_GT(m_nResult, 0) << "closed with OK once the reset returned";
}

INSTANTIATE_TEST_SUITE_P(, OkResetTest,
                         ::testing::Values(OemCase{ "Cepc", L"CEPC", false }, OemCase{ "Nec", L"NEC", false },
                                           OemCase{ "CepcWithMore", L"CEPCX", true },
                                           OemCase{ "LowerCaseCepc", L"cepc", true },
                                           OemCase{ "Empty", L"", true }),
                         [](const ::testing::TestParamInfo<OemCase> &info) { return info.param.pszName; });

} // namespace
