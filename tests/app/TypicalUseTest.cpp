// One typical use from start to end: the PPP adapter tuned for FOMA and
// saved, the reset declined, and the registry left holding exactly the
// deviations from the stack's defaults.
#include "ProgramFixture.h"

#include "MenuBar.h"
#include "res/resource.h"

namespace
{

using TypicalUseTest = ProgramTest;

HWND Bar()
{
    return static_cast<CMarlinProp *>(theApp.m_pMainWnd)->m_wndCommandBar.GetSafeHwnd();
}

TEST_F(TypicalUseTest, FomaPresetSavedAndResetDeclined)
{
    std::map<std::string, std::string> expected = ReadComm();
    // Every stack-wide value now equals its default and goes; the PPP
    // adapter keeps its own window, the Ethernet adapter's stays as it was.
    expected.erase("Comm\\Tcpip\\Parms : DefaultTTL");
    expected.erase("Comm\\Tcpip\\Parms : SackOpts");
    expected["Comm\\ppp1\\Parms\\TcpIp : TcpWindowSize"] = "dword 64240";

    MessageBoxSeen question, notice;
    HWND hSheetSeen = nullptr;
    ChooseFromMenuBar(m_script, Bar, ID_SETTINGS, L"Optimize for FOMA");
    m_script.Do("the RWIN page shows the new window; press OK", [&] {
        hSheetSeen = SheetWindow();
        HWND hPage = Sheet().m_pageRwin.GetSafeHwnd();
        HWND hList = GetDlgItem(hPage, IDC_ADAPTER);
        int nPpp = static_cast<int>(SendMessageW(hList, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"PPP Adapter")));
        ASSERT_GE(nPpp, 0) << "the PPP adapter is listed under its own name";
        FocusControl(hList);
        for (int i = static_cast<int>(SendMessageW(hList, CB_GETCURSEL, 0, 0)); i < nPpp; i++)
            PressKeyNow(VK_DOWN);
        EXPECT_EQ(L"PPP Adapter", WindowText(hList));
        EXPECT_EQ(L"64240", WindowText(GetDlgItem(hPage, IDC_WINDOW_SIZE)));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hPage, IDC_WINDOW_SCALING));
        EXPECT_EQ(nullptr, Sheet().m_pageDttl.GetSafeHwnd()) << "so the TTL is not checked";
        ClickAt(CentreOf([&] { RECT rc; GetWindowRect(GetDlgItem(SheetWindow(), IDOK), &rc); return rc; }()));
    });
    m_script.Then("answer No to the reset", AnswerMessageBox(IDNO, &question));
    m_script.Then("acknowledge the notice", AnswerMessageBox(IDOK, &notice));
    Start();

    EXPECT_EQ(RESET_NOW, question.strText);
    EXPECT_EQ(L"Marlin", question.strCaption);
    EXPECT_EQ(hSheetSeen, question.hOwner);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), question.Type());
    EXPECT_EQ(SETTINGS_CHANGED, notice.strText);
    EXPECT_EQ(L"Marlin", notice.strCaption);
    EXPECT_EQ(hSheetSeen, notice.hOwner);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), notice.Type());
    EXPECT_EQ(1, m_device.m_nOemQueries);
    EXPECT_EQ(0, m_device.m_nResets);
    EXPECT_EQ(nullptr, theApp.m_pMainWnd) << "the program ends with the sheet";
    EXPECT_EQ(expected, ReadComm());
}

} // namespace
