// marlin.exe as a user meets it, on the sample handheld's registry file:
// the keyboard and the menu bar, OK with its real message boxes, Help and
// the About box through the real shell, and the registry read back.
#include "Program.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{

const wchar_t PARMS[] = L"Comm\\Tcpip\\Parms";
const wchar_t PPP_PARMS[] = L"Comm\\ppp1\\Parms\\TcpIp";
const wchar_t ETHERNET_PARMS[] = L"Comm\\NE20001\\Parms\\TcpIp";
const wchar_t WINDOW_SIZE[] = L"TcpWindowSize";

// The sample handheld's adapters, in the order the registry lists them.
const int ETHERNET = 0, PPP = 1;

const int IDC_ADAPTER = 1012, IDC_WINDOW_SIZE = 1013, IDC_TTL_CUSTOM = 1008, IDC_TTL = 1009;
const int IDC_ABOUT_MAIL = 1003, IDC_ABOUT_URL = 1004;
const int TAB_RWIN = 0, TAB_TTL = 1, TAB_PMTU = 2;

const wchar_t SETTINGS_CHANGED[] =
    L"Settings were changed. You must perform soft reset before the new settings will take effect.";
const wchar_t TTL_RANGE[] = L"You must specify Default TTL of 1 to 255.";
const wchar_t SAVE_FAILED[] = L"Some of the new settings could not be written to the registry; others may have "
                              L"been written already. Close this message, then tap OK to try again, or Cancel to "
                              L"leave the registry as it is now.";
const wchar_t WINDOW_RANGE[] = L"You must specify a TCP Receive Window of 1 to 1073725440 bytes.";
const wchar_t HELP_UNAVAILABLE[] = L"Help cannot be shown. The help document marlin.htm must lie in the folder "
                                   L"that holds Marlin, and a program to show it must be installed.";

std::string Narrow(const std::wstring &str)
{
    std::string text;
    for (wchar_t ch : str)
        text += ch < 0x80 ? static_cast<char>(ch) : '?';
    return text;
}

// A file: URL's path, its escapes undone.
std::string UrlPath(const std::string &strUrl)
{
    std::string strPath;
    for (size_t i = strlen("file://"); i < strUrl.size(); i++)
    {
        if (strUrl[i] == '%' && i + 2 < strUrl.size())
        {
            strPath += static_cast<char>(std::stoi(strUrl.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        else
            strPath += strUrl[i];
    }
    return strPath;
}

POINT Centre(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    return { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

void Type(HWND hField, const wchar_t *pszText)
{
    Click(hField);
    PressKeys({ VK_END });
    for (int i = 0; i < 12; i++)
        PressKeys({ VK_BACK });
    TypeText(pszText);
}

class MarlinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteComm();
        ASSERT_TRUE(ImportRegFile(WindowsPath(SAMPLE_DEVICE_REG)));
        ASSERT_EQ("dword 64", RegValue(PARMS, L"DefaultTTL")) << "the sample handheld's registry";
    }
    void TearDown() override
    {
        m_program.Kill();
        DeleteComm();
    }

    // Starts the program, from its own folder or another, and puts its sheet
    // in front; the sheet opens on RWIN with the list focused.
    void Start(const std::wstring &strExe = WindowsPath(MARLIN_EXE), const std::wstring &strDirectory = L"")
    {
        ASSERT_TRUE(m_program.Start(strExe, strDirectory)) << "no sheet";
        m_program.Activate();
        m_hSheet = m_program.Sheet();
    }
    HWND Field() const { return Control(m_hSheet, IDC_WINDOW_SIZE); }
    HWND List() const { return Control(m_hSheet, IDC_ADAPTER); }
    // With the keyboard, on the closed list: each key changes the selection.
    void SelectAdapter(int nAdapter) const
    {
        Click(List());
        if (SendMessageW(List(), CB_GETDROPPEDSTATE, 0, 0))
            PressKeys({ VK_F4 });
        PressKeys({ VK_HOME });
        for (int i = 0; i < nAdapter; i++)
            PressKeys({ VK_DOWN });
        ASSERT_EQ(nAdapter, SendMessageW(List(), CB_GETCURSEL, 0, 0));
    }
    void OpenTab(int nTab) const
    {
        SendMessageW(m_hSheet, PSM_SETCURSEL, nTab, 0);
        ASSERT_TRUE(WaitUntil([&] { return CurrentPage(m_hSheet) && IsWindowVisible(CurrentPage(m_hSheet)); }));
    }
    // Waits for the next message box, reads it and answers it.
    MessageBoxSeen AnswerBox(int nButton)
    {
        MessageBoxSeen seen;
        HWND hBox = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (hBox = m_program.Box()) != nullptr; })) << "no message box";
        if (!hBox)
            return seen;
        seen = ReadMessageBox(hBox);
        EXPECT_TRUE(Answer(hBox, nButton)) << "\"" << Narrow(seen.strText) << "\" did not close";
        return seen;
    }
    void ExpectBox(const MessageBoxSeen &seen, const wchar_t *pszText, UINT nType) const
    {
        EXPECT_EQ(Narrow(pszText), Narrow(seen.strText));
        EXPECT_EQ("Marlin", Narrow(seen.strCaption));
        EXPECT_EQ(m_hSheet, seen.hOwner) << "owned by the sheet";
        EXPECT_EQ(nType, seen.nType) << Narrow(seen.strText);
    }
    // OK on a sheet that has nothing left to ask: the notice, then the end.
    void ExpectSaved()
    {
        ExpectBox(AnswerBox(IDOK), SETTINGS_CHANGED, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_TRUE(m_program.HasEnded()) << "the program ends with the sheet";
    }

    CProgram m_program;
    HWND m_hSheet = nullptr;
};

// ---- The typical use ----

TEST_F(MarlinTest, FomaPresetFromTheKeyboardIsSavedAndTheStackDefaultsGo)
{
    Start();
    EXPECT_EQ("Marlin", Narrow(Text(m_hSheet)));
    EXPECT_EQ("NE2000 Compatible Ethernet Driver", Narrow(Text(List())));
    EXPECT_EQ("16384", Narrow(Text(Field())));
    // Settings: Default, Reset, (separator), Optimize for FOMA.
    PressKeys({ VK_F10, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN });
    ASSERT_TRUE(WaitUntil([&] { return !m_program.PopupMenu(); }));
    SelectAdapter(PPP);
    EXPECT_EQ("PPP Adapter", Narrow(Text(List())));
    EXPECT_EQ("64240", Narrow(Text(Field())));
    PressKeys({ VK_RETURN });
    // A desktop has no soft reset to offer: only the notice follows.
    ExpectSaved();
    EXPECT_EQ("dword 64240", RegValue(PPP_PARMS, WINDOW_SIZE));
    EXPECT_EQ("dword 16384", RegValue(ETHERNET_PARMS, WINDOW_SIZE));
    EXPECT_EQ("absent", RegValue(PARMS, L"DefaultTTL")) << "128, the default";
    EXPECT_EQ("absent", RegValue(PARMS, L"SackOpts")) << "on, the default";
}

// ---- The menu bar from the keyboard ----

struct MenuKeys
{
    const char *pszName;
    std::vector<WORD> keys;
    const char *pszField;   // the Ethernet adapter's window after them
    bool bHelpOpened;
};
void PrintTo(const MenuKeys &test, std::ostream *os) { *os << test.pszName; }

class MenuKeysTest : public MarlinTest, public ::testing::WithParamInterface<MenuKeys>
{
};

TEST_P(MenuKeysTest, ReachTheMenuBarAsInAnyWindow)
{
    const MenuKeys &test = GetParam();
    CLinkRecorder links;
    Start();
    for (WORD wKey : test.keys)
        PressKeys({ wKey });
    EXPECT_TRUE(WaitUntil([&] { return !m_program.PopupMenu(); })) << "a pop-up stays open";
    EXPECT_TRUE(m_program.Sheet()) << "the sheet stays open";
    EXPECT_EQ(test.pszField, Narrow(Text(Field())));
    if (test.bHelpOpened)
        EXPECT_TRUE(WaitUntil([&] { return links.Browsed().size() == 1; })) << "help opened once";
    else
        EXPECT_TRUE(links.Browsed().empty());
    EXPECT_EQ("dword 64", RegValue(PARMS, L"DefaultTTL")) << "nothing saved";
}

// "Default" gives every adapter the stack-wide window, 17520.
INSTANTIATE_TEST_SUITE_P(, MenuKeysTest, ::testing::Values(
    MenuKeys{ "F10DownEnterChoosesDefault", { VK_F10, VK_DOWN, VK_RETURN }, "17520", false },
    MenuKeys{ "AltDownEnterChoosesDefault", { VK_MENU, VK_DOWN, VK_RETURN }, "17520", false },
    MenuKeys{ "EnterOpensThePopUp", { VK_F10, VK_RETURN, VK_RETURN }, "17520", false },
    MenuKeys{ "RightThenLeftComesBack", { VK_F10, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN }, "17520", false },
    MenuKeys{ "RightOpensHelpContents", { VK_F10, VK_RIGHT, VK_DOWN, VK_RETURN }, "16384", true },
    MenuKeys{ "RightInAPopUpMovesToTheNext", { VK_F10, VK_DOWN, VK_RIGHT, VK_RETURN }, "16384", true },
    MenuKeys{ "EscapeLeavesTheMenuNotTheSheet", { VK_F10, VK_DOWN, VK_ESCAPE, VK_ESCAPE }, "16384", false }),
    [](const ::testing::TestParamInfo<MenuKeys> &info) { return info.param.pszName; });

TEST_F(MarlinTest, CtrlTabAndCtrlPageDownTurnThePages)
{
    Start();
    auto shown = [&] {
        return SendMessageW(m_hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(m_hSheet)), 0);
    };
    PressKeys({ VK_TAB }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return shown() == TAB_TTL; }, 2000)) << "shows page " << shown();
    PressKeys({ VK_NEXT }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return shown() == TAB_PMTU; }, 2000)) << "shows page " << shown();
    PressKeys({ VK_PRIOR }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return shown() == TAB_TTL; }, 2000)) << "shows page " << shown();
}

// ---- Help ----

TEST_F(MarlinTest, HelpOpensTheDocumentAtItsContentsInTheBrowser)
{
    CLinkRecorder links;
    Start();
    PressKeys({ VK_F1 });
    ASSERT_TRUE(WaitUntil([&] { return !links.Browsed().empty(); })) << "nothing reached the browser";
    EXPECT_EQ(nullptr, m_program.OtherDialog()) << "no message of the shell's";

    // The browser has a page of the program's that sends it on to the
    // document beside marlin.exe, at the anchor.
    std::vector<std::string> browsed = links.Browsed();
    ASSERT_EQ(1u, browsed.size());
    ASSERT_EQ(0u, browsed[0].find("file:///")) << browsed[0];
    std::string strPage = ReadFileText(WindowsPath(UrlPath(browsed[0]).c_str()));
    std::string strTarget = "file://" + std::string(MARLIN_EXE);
    strTarget = strTarget.substr(0, strTarget.rfind('/')) + "/marlin.htm#Main_Contents";
    EXPECT_NE(std::string::npos, strPage.find("http-equiv=\"refresh\" content=\"0; url=" + strTarget + "\""))
        << strPage;
    std::string strDocument = ReadFileText(WindowsPath(UrlPath(strTarget.substr(0, strTarget.find('#'))).c_str()));
    EXPECT_NE(std::string::npos, strDocument.find("id=\"Main_Contents\""));

    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_RETURN });
    EXPECT_TRUE(WaitUntil([&] { return links.Browsed().size() == 2; })) << "Help, Contents opens it again";
    EXPECT_TRUE(m_program.Sheet());
}

TEST_F(MarlinTest, HelpWithoutItsDocumentSaysSoInAMessageOfItsOwn)
{
    CLinkRecorder links;
    CScratchFolder folder(WindowsPath(LOG_DIR) + L"\\alone");
    ASSERT_TRUE(folder.Add(WindowsPath(MARLIN_EXE), L"marlin.exe"));
    Start(folder.Path() + L"\\marlin.exe");
    PressKeys({ VK_F1 });
    ExpectBox(AnswerBox(IDOK), HELP_UNAVAILABLE, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(nullptr, m_program.OtherDialog()) << "no message of the shell's";
    EXPECT_TRUE(m_program.Sheet());
    EXPECT_TRUE(links.Browsed().empty());
}

TEST_F(MarlinTest, HelpViewerIsStartedFromTheSystemFolderOnly)
{
    CLinkRecorder links;
    WCHAR szSystem[MAX_PATH] = {};
    GetSystemDirectoryW(szSystem, MAX_PATH);
    WCHAR szSelf[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szSelf, MAX_PATH);
    // A viewer planted in the folder the program is started from is not run.
    CScratchFolder planted(WindowsPath(LOG_DIR) + L"\\planted");
    ASSERT_TRUE(planted.Add(szSelf, L"peghelp.exe"));
    Start(WindowsPath(MARLIN_EXE), planted.Path());
    PressKeys({ VK_F1 });
    ASSERT_TRUE(WaitUntil([&] { return !links.Browsed().empty(); })) << "the browser stands in";
    EXPECT_EQ("", ReadFileText(planted.Path() + L"\\peghelp.exe.log")) << "the planted viewer ran";
    m_program.Kill();

    // The system's own viewer is, with the document and its anchor.
    std::wstring strViewer = std::wstring(szSystem) + L"\\peghelp.exe";
    // Gone again however the test ends, or every later Help would run it.
    struct Leftovers
    {
        std::wstring strViewer;
        ~Leftovers()
        {
            DeleteFileW(strViewer.c_str());
            DeleteFileW((strViewer + L".log").c_str());
        }
    } leftovers{ strViewer };
    ASSERT_TRUE(CopyFileW(szSelf, strViewer.c_str(), FALSE));
    Start();
    PressKeys({ VK_F1 });
    std::string strLog;
    EXPECT_TRUE(WaitUntil([&] { return !(strLog = ReadFileText(strViewer + L".log")).empty(); }));
    EXPECT_EQ(Narrow(L"file:marlin.htm#Main_Contents"),
              Narrow(std::wstring(reinterpret_cast<const wchar_t *>(strLog.data()), strLog.size() / 2)));
    EXPECT_EQ(1u, links.Browsed().size()) << "no browser this time";
    m_program.Kill();
}

// ---- The About box ----

// The width of a text in the font the dialog manager makes from the About
// box's template ("System", 9 points) or the links' (the system font).
int TextWidth(const std::wstring &strText, bool bLink)
{
    HDC hDC = GetDC(nullptr);
    int nHeight = -MulDiv(9, GetDeviceCaps(hDC, LOGPIXELSY), 72);
    HFONT hTemplateFont = CreateFontW(nHeight, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                      PROOF_QUALITY, FF_DONTCARE, L"System");
    HGDIOBJ hOld = SelectObject(hDC, bLink ? GetStockObject(SYSTEM_FONT) : hTemplateFont);
    SIZE size = {};
    GetTextExtentPoint32W(hDC, strText.c_str(), static_cast<int>(strText.size()), &size);
    SelectObject(hDC, hOld);
    DeleteObject(hTemplateFont);
    ReleaseDC(nullptr, hDC);
    return size.cx;
}

class AboutTest : public MarlinTest
{
protected:
    // Help: Contents, (separator), About.
    HWND OpenAbout()
    {
        m_program.Activate();
        PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN });
        HWND hAbout = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (hAbout = m_program.AboutBox()) != nullptr; })) << "no About box";
        return hAbout;
    }
};

TEST_F(AboutTest, IsOwnedBySheetModalCentredAndWhole)
{
    CLinkRecorder links;
    Start();
    HWND hAbout = OpenAbout();
    ASSERT_TRUE(hAbout);
    EXPECT_EQ(m_hSheet, GetWindow(hAbout, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(m_hSheet)) << "modal: the sheet waits";
    POINT ptAbout = Centre(hAbout), ptSheet = Centre(m_hSheet);
    EXPECT_LE(std::abs(ptAbout.x - ptSheet.x), 1) << "centred across the sheet";
    EXPECT_LE(std::abs(ptAbout.y - ptSheet.y), 1) << "centred down the sheet";

    RECT rcAbout = {};
    GetClientRect(hAbout, &rcAbout);
    for (HWND hItem = GetWindow(hAbout, GW_CHILD); hItem; hItem = GetWindow(hItem, GW_HWNDNEXT))
    {
        if ((GetWindowLongW(hItem, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        int nID = GetDlgCtrlID(hItem);
        std::wstring strText = Text(hItem);
        RECT rcItem = {};
        GetClientRect(hItem, &rcItem);
        EXPECT_LE(TextWidth(strText, nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL), rcItem.right)
            << "\"" << Narrow(strText) << "\" is cut off";
        GetWindowRect(hItem, &rcItem);
        MapWindowPoints(nullptr, hAbout, reinterpret_cast<POINT *>(&rcItem), 2);
        EXPECT_LE(rcItem.right, rcAbout.right) << "\"" << Narrow(strText) << "\" runs out of the box";
    }

    Click(GetDlgItem(hAbout, IDC_ABOUT_MAIL));
    EXPECT_TRUE(WaitUntil([&] { return !links.Mailed().empty(); }));
    Click(GetDlgItem(hAbout, IDC_ABOUT_URL));
    EXPECT_TRUE(WaitUntil([&] { return !links.Browsed().empty(); }));
    EXPECT_EQ(std::vector<std::string>{ "mailto:marlin@marlin-tuning.example" }, links.Mailed());
    EXPECT_EQ(std::vector<std::string>{ "https://marlin-tuning.example/" }, links.Browsed());
    EXPECT_TRUE(IsWindowVisible(hAbout)) << "the links leave the box open";
}

struct AboutClosing
{
    const char *pszName;
    std::function<void(HWND)> close;
};
void PrintTo(const AboutClosing &test, std::ostream *os) { *os << test.pszName; }

class AboutClosingTest : public AboutTest, public ::testing::WithParamInterface<AboutClosing>
{
};

TEST_P(AboutClosingTest, ClosesAtOnceAndGivesTheSheetBack)
{
    Start();
    for (int nTime = 0; nTime < 2; nTime++)
    {
        HWND hAbout = OpenAbout();
        ASSERT_TRUE(hAbout);
        GetParam().close(hAbout);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hAbout); }, 1000)) << "still open after 1 s";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_hSheet) != FALSE; }, 1000));
    }
    EXPECT_TRUE(m_program.Sheet()) << "the sheet stays open";
}

INSTANTIATE_TEST_SUITE_P(, AboutClosingTest, ::testing::Values(
    AboutClosing{ "Escape", [](HWND) { PressKeys({ VK_ESCAPE }); } },
    AboutClosing{ "Enter", [](HWND) { PressKeys({ VK_RETURN }); } },
    AboutClosing{ "PostedCancel", [](HWND hAbout) { PostMessageW(hAbout, WM_COMMAND, IDCANCEL, 0); } }),
    [](const ::testing::TestParamInfo<AboutClosing> &info) { return info.param.pszName; });

// ---- OK ----

TEST_F(MarlinTest, WindowFieldFollowsTheSelectionAfterAResetShrankTheTable)
{
    Start();
    SelectAdapter(PPP);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm\\NE20001"));
    m_program.Activate();
    PressKeys({ VK_F10, VK_DOWN, VK_DOWN, VK_RETURN });   // Settings, Reset
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Field()); })) << "the old last entry is no adapter now";
    EXPECT_EQ("", Narrow(Text(Field())));
    SelectAdapter(0);
    EXPECT_EQ("32120", Narrow(Text(Field()))) << "the PPP adapter is the only one now";
    EXPECT_TRUE(IsWindowEnabled(Field()));
}

TEST_F(MarlinTest, OkAfterAFailedSaveWritesAgain)
{
    // A volatile key takes no lasting subkey: the stack-wide values cannot
    // be written, while the adapters' windows can.
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip"));
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip", 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    RegCloseKey(hKey);
    ASSERT_NE(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, PARMS, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &hKey, nullptr));

    Start();
    SelectAdapter(PPP);
    Type(Field(), L"20000");
    PressKeys({ VK_RETURN });
    ExpectBox(AnswerBox(IDOK), SAVE_FAILED, MB_OK | MB_ICONSTOP);
    ASSERT_TRUE(m_program.Sheet()) << "the sheet stays open";
    EXPECT_EQ("dword 20000", RegValue(PPP_PARMS, WINDOW_SIZE)) << "written before the failure";

    // The registry mends; what failed is written on the next OK, although
    // what the registry holds now matches the sheet.
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip"));
    m_program.Activate();
    PressKeys({ VK_RETURN });
    ExpectSaved();
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, PARMS, 0, KEY_READ, &hKey)) << "written this time";
    RegCloseKey(hKey);
}

struct WindowTyped
{
    const char *pszName;
    std::function<void(HWND)> enter;
    const char *pszStored;   // "refused", or what the registry holds after OK
};
void PrintTo(const WindowTyped &test, std::ostream *os) { *os << test.pszName; }

class WindowRangeTest : public MarlinTest, public ::testing::WithParamInterface<WindowTyped>
{
};

// Digits only, the field says; a paste gets past that.
void Paste(HWND hField, const wchar_t *pszText)
{
    Type(hField, L"");
    if (!OpenClipboard(nullptr))
        return;
    EmptyClipboard();
    size_t cb = (wcslen(pszText) + 1) * sizeof(wchar_t);
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, cb);
    memcpy(GlobalLock(hText), pszText, cb);
    GlobalUnlock(hText);
    SetClipboardData(CF_UNICODETEXT, hText);
    CloseClipboard();
    PressKeys({ 'V' }, VK_CONTROL);
}

TEST_P(WindowRangeTest, ChangedWindowMustLieFrom1To1073725440)
{
    const WindowTyped &test = GetParam();
    Start();
    SelectAdapter(PPP);
    test.enter(Field());
    // Away from the adapter and the page, so that OK has to bring both back.
    SelectAdapter(ETHERNET);
    OpenTab(TAB_TTL);
    m_program.Activate();
    PressKeys({ VK_RETURN });
    if (std::string(test.pszStored) != "refused")
    {
        ExpectSaved();
        EXPECT_EQ(test.pszStored, RegValue(PPP_PARMS, WINDOW_SIZE));
        return;
    }
    ExpectBox(AnswerBox(IDOK), WINDOW_RANGE, MB_OK | MB_ICONSTOP);
    ASSERT_TRUE(m_program.Sheet()) << "the sheet stays open";
    EXPECT_EQ(TAB_RWIN, SendMessageW(m_hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(m_hSheet)), 0));
    EXPECT_EQ(PPP, SendMessageW(List(), CB_GETCURSEL, 0, 0)) << "the adapter is selected again";
    EXPECT_EQ(Field(), FocusOf(m_hSheet));
    EXPECT_EQ("dword 32120", RegValue(PPP_PARMS, WINDOW_SIZE)) << "nothing written";
    EXPECT_EQ("dword 64", RegValue(PARMS, L"DefaultTTL"));
}

INSTANTIATE_TEST_SUITE_P(, WindowRangeTest, ::testing::Values(
    WindowTyped{ "Emptied", [](HWND hField) { Type(hField, L""); }, "refused" },
    WindowTyped{ "Zero", [](HWND hField) { Type(hField, L"0"); }, "refused" },
    WindowTyped{ "Pasted", [](HWND hField) { Paste(hField, L"big"); }, "refused" },
    WindowTyped{ "AboveTheLargestScaled", [](HWND hField) { Type(hField, L"1073725441"); }, "refused" },
    WindowTyped{ "TheLargestScaled", [](HWND hField) { Type(hField, L"1073725440"); }, "dword 1073725440" },
    WindowTyped{ "One", [](HWND hField) { Type(hField, L"1"); }, "dword 1" }),
    [](const ::testing::TestParamInfo<WindowTyped> &info) { return info.param.pszName; });

TEST_F(MarlinTest, WindowOfZeroTheRegistryHoldsIsLeftAlone)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, ETHERNET_PARMS, 0, KEY_SET_VALUE, &hKey));
    DWORD dwZero = 0;
    RegSetValueExW(hKey, WINDOW_SIZE, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&dwZero), sizeof(dwZero));
    RegCloseKey(hKey);
    Start();
    SelectAdapter(PPP);
    Type(Field(), L"20000");
    PressKeys({ VK_RETURN });
    ExpectSaved();
    EXPECT_EQ("dword 20000", RegValue(PPP_PARMS, WINDOW_SIZE));
    EXPECT_EQ("dword 0", RegValue(ETHERNET_PARMS, WINDOW_SIZE));
}

TEST_F(MarlinTest, TenDigitTtlIsTypedWholeAndRefused)
{
    Start();
    OpenTab(TAB_TTL);
    Click(Control(m_hSheet, IDC_TTL_CUSTOM));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Control(m_hSheet, IDC_TTL)) != FALSE; }));
    Type(Control(m_hSheet, IDC_TTL), L"9999999999");
    EXPECT_EQ("9999999999", Narrow(Text(Control(m_hSheet, IDC_TTL)))) << "every digit fits";
    PressKeys({ VK_RETURN });
    ExpectBox(AnswerBox(IDOK), TTL_RANGE, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(Control(m_hSheet, IDC_TTL), FocusOf(m_hSheet));
    EXPECT_EQ("dword 64", RegValue(PARMS, L"DefaultTTL"));
}

} // namespace
