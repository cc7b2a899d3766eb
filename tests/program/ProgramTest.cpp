// marlin.exe as a user meets it, on the sample handheld's registry file:
// the keyboard and the menu bar, the pages, OK with its real message boxes,
// Help and the About box through the real shell, the registry read back.
#include "MarlinTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{

const Wording SCALING = Words("SCALING");
const Wording TTL_RANGE = Words("TTL_RANGE");
const Wording SAVE_FAILED = Words("SAVE_FAILED");
const Wording WINDOW_RANGE = Words("WINDOW_RANGE");
const Wording NO_HELP = Words("NO_HELP");
const Wording HELP_DOCUMENT = Words("HELP_DOCUMENT");
const Wording DESCRIPTION = Words("DESCRIPTION");
const Wording CALCULATOR = Words("CALCULATOR");
const Wording SPEED_EMPTY = Words("SPEED_EMPTY");


// ---- The typical use ----

TEST_F(MarlinTest, FomaPresetIsSavedAndTheStackDefaultsGo)
{
    SetDword(L"Comm\\ppp10\\Parms\\TcpIp", WINDOW, 8760);   // not the PPP adapter: its name only begins so
    Start();
    EXPECT_EQ("Marlin", Narrow(Text(m_hSheet)));
    EXPECT_EQ("NE2000 Compatible Ethernet Driver", Narrow(Text(Item(IDC_ADAPTER))));
    EXPECT_EQ("16384", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    // Settings: Default, Reset, (separator), Optimize for FOMA.
    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN });
    ASSERT_TRUE(WaitUntil([&] { return !m_marlin.PopupMenu(); }));
    SelectAdapter(PPP_ADAPTER);
    EXPECT_EQ(Narrow(PPP_ADAPTER_NAME()), Narrow(Text(Item(IDC_ADAPTER))));
    EXPECT_EQ("64240", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    EXPECT_TRUE(ShowPage(m_hSheet, TTL));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_TTL_128), BM_GETCHECK, 0, 0)) << "128 (Recommended)";
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_TTL)));
    PressKeys({ VK_RETURN });
    // A desktop has no soft reset to offer: only the notice follows.
    ExpectSaved();
    EXPECT_EQ("dword 64240", StoredValue(PPP, WINDOW));
    EXPECT_EQ("dword 16384", StoredValue(ETHERNET, WINDOW));
    EXPECT_EQ("dword 8760", StoredValue(L"Comm\\ppp10\\Parms\\TcpIp", WINDOW));
    EXPECT_EQ("absent", StoredValue(PARMS, L"DefaultTTL")) << "128, the default";
    EXPECT_EQ("absent", StoredValue(PARMS, L"SackOpts")) << "on, the default";
}

// Values the user did not touch are the registry's business, however odd.
TEST_F(MarlinTest, NothingChangedWritesNothingAndStoredOddValuesStay)
{
    SetDword(PPP, WINDOW, 3000000000u);
    SetDword(ETHERNET, WINDOW, 0);
    SetDword(PARMS, L"SackOpts", 2);
    std::vector<std::wstring> backups = FilesIn(BackupFolder());
    Start();
    SelectAdapter(PPP_ADAPTER);
    EXPECT_EQ("-1294967296", Narrow(Text(Item(IDC_WINDOW_SIZE)))) << "shown as a signed number";
    for (int nTab : { TTL, PMTU, OTHER })
        EXPECT_TRUE(ShowPage(m_hSheet, nTab));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_SACK), BM_GETCHECK, 0, 0));
    m_marlin.Activate();
    PressKeys({ VK_RETURN });
    EXPECT_TRUE(m_marlin.HasEnded()) << "no message, the sheet closes";
    EXPECT_EQ("dword 3000000000", StoredValue(PPP, WINDOW));
    EXPECT_EQ("dword 0", StoredValue(ETHERNET, WINDOW));
    EXPECT_EQ("dword 2", StoredValue(PARMS, L"SackOpts"));
    EXPECT_EQ(backups, FilesIn(BackupFolder())) << "nothing to write, no backup";
}

// The pages turned with the keyboard, changes made on two of them, and
// Escape: nothing is written.
TEST_F(MarlinTest, CtrlTabAndCtrlPageUpOrDownTurnThePagesAndCancelWritesNothing)
{
    Start();
    Type(Item(IDC_WINDOW_SIZE), L"20000");
    PressKeys({ VK_TAB }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return CurrentPageIndex(m_hSheet) == TTL; }, 2000));
    PressKeys({ VK_NEXT, VK_NEXT }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return CurrentPageIndex(m_hSheet) == OTHER; }, 2000));
    PressKeys({ VK_PRIOR }, VK_CONTROL);
    ASSERT_TRUE(WaitUntil([&] { return CurrentPageIndex(m_hSheet) == PMTU; }, 2000));
    Click(Item(IDC_PMTU_DISABLE));
    m_marlin.Activate();
    PressKeys({ VK_ESCAPE });
    EXPECT_TRUE(m_marlin.HasEnded());
    EXPECT_EQ("dword 16384", StoredValue(ETHERNET, WINDOW));
    EXPECT_EQ("absent", StoredValue(PARMS, L"EnablePMTUDiscovery"));
}

// ---- The keyboard ----

struct Keys
{
    const char *pszName;
    std::vector<WORD> keys;
    const char *pszWindow;   // what the Ethernet adapter's field shows after them
    bool bHelp;
};
void PrintTo(const Keys &test, std::ostream *os) { *os << test.pszName; }

class KeysTest : public MarlinTest, public ::testing::WithParamInterface<Keys>
{
};

TEST_P(KeysTest, ReachTheMenuBarAsInAnyWindow)
{
    CLinkRecorder links;
    Start();
    for (WORD wKey : GetParam().keys)
        PressKeys({ wKey });
    EXPECT_TRUE(WaitUntil([&] { return !m_marlin.PopupMenu(); })) << "a pop-up stays open";
    ASSERT_TRUE(m_marlin.Sheet()) << "the sheet stays open";
    EXPECT_EQ(GetParam().pszWindow, Narrow(Text(Item(IDC_WINDOW_SIZE))));
    EXPECT_TRUE(WaitUntil([&] { return links.Browsed().size() == (GetParam().bHelp ? 1u : 0u); }));
}

// File, Settings, Help. "Default" gives every adapter the stack-wide window, 17520.
INSTANTIATE_TEST_SUITE_P(, KeysTest, ::testing::Values(
    Keys{ "F10RightDownEnterChoosesDefault", { VK_F10, VK_RIGHT, VK_DOWN, VK_RETURN }, "17520", false },
    Keys{ "AltRightDownEnterChoosesDefault", { VK_MENU, VK_RIGHT, VK_DOWN, VK_RETURN }, "17520", false },
    Keys{ "EnterOpensThePopUp", { VK_F10, VK_RIGHT, VK_RETURN, VK_RETURN }, "17520", false },
    Keys{ "RightThenLeftComesBack", { VK_F10, VK_RIGHT, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN }, "17520", false },
    Keys{ "RightInAPopUpMovesToTheNext", { VK_F10, VK_RIGHT, VK_DOWN, VK_RIGHT, VK_RETURN }, "16384", true },
    Keys{ "EscapeLeavesTheMenuNotTheSheet", { VK_F10, VK_DOWN, VK_ESCAPE, VK_ESCAPE }, "16384", false }),
    [](const ::testing::TestParamInfo<Keys> &info) { return info.param.pszName; });


// ---- What OK does with what the user entered ----

struct Entry
{
    const char *pszName;
    std::function<void(HWND)> enter;                 // on the sheet, on RWIN with the PPP adapter selected
    int nScalingAnswer;                              // IDYES or IDNO to the question, 0 where none comes
    const Wording *pRefusal;                         // the message that keeps the sheet open, or null
    const wchar_t *pszPath = nullptr;                // a value OK writes, and what it holds then
    const wchar_t *pszValue = nullptr;
    const char *pszWritten = nullptr;
};
void PrintTo(const Entry &test, std::ostream *os) { *os << test.pszName; }

class EntryTest : public MarlinTest, public ::testing::WithParamInterface<Entry>
{
};

TEST_P(EntryTest, OkRefusesOrWrites)
{
    const Entry &test = GetParam();
    SetDword(PARMS, L"TCP1323Opts", 2);   // time stamps without window scaling
    Start();
    SelectAdapter(PPP_ADAPTER);
    test.enter(m_hSheet);
    // Away from the adapter and the page, so that a refusal must bring both back.
    EXPECT_TRUE(ShowPage(m_hSheet, RWIN));
    SelectAdapter(ETHERNET_ADAPTER);
    EXPECT_TRUE(ShowPage(m_hSheet, PMTU));
    m_marlin.Activate();
    PressKeys({ VK_RETURN });
    if (test.nScalingAnswer)
    {
        ExpectBox(SCALING(), MB_YESNO | MB_ICONQUESTION, test.nScalingAnswer);
        if (test.nScalingAnswer == IDYES)
        {
            EXPECT_EQ(RWIN, CurrentPageIndex(m_hSheet));
            EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_WINDOW_SCALING), BM_GETCHECK, 0, 0));
        }
    }
    if (!test.pRefusal)
    {
        ExpectSaved();
        EXPECT_EQ(test.pszWritten, StoredValue(test.pszPath, test.pszValue));
        return;
    }
    bool bWindow = test.pRefusal == &WINDOW_RANGE;
    ExpectBox((*test.pRefusal)(), MB_OK | MB_ICONSTOP);
    ASSERT_TRUE(m_marlin.Sheet()) << "the sheet stays open";
    EXPECT_EQ(bWindow ? RWIN : TTL, CurrentPageIndex(m_hSheet));
    EXPECT_EQ(Item(bWindow ? IDC_WINDOW_SIZE : IDC_TTL), FocusOf(m_hSheet));
    if (bWindow)
    {
        EXPECT_EQ(PPP_ADAPTER, SendMessageW(Item(IDC_ADAPTER), CB_GETCURSEL, 0, 0)) << "that adapter again";
    }
    EXPECT_EQ("dword 32120", StoredValue(PPP, WINDOW)) << "nothing written";
    EXPECT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL"));
}

void Window(HWND hSheet, const wchar_t *pszText) { Type(Control(hSheet, IDC_WINDOW_SIZE), pszText); }
// Digits only, the field says; a paste gets past that.
void Paste(HWND hField, const std::wstring &strText)
{
    Type(hField, L"");
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, (strText.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(hText), strText.c_str(), (strText.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(hText);
    SetClipboardData(CF_UNICODETEXT, hText);
    CloseClipboard();
    PressKeys({ 'V' }, VK_CONTROL);
}
void PasteWindow(HWND hSheet) { Paste(Control(hSheet, IDC_WINDOW_SIZE), L"big"); }
void Switches(HWND hSheet)
{
    EXPECT_TRUE(ShowPage(hSheet, OTHER));
    Click(Control(hSheet, IDC_SACK));
    Click(Control(hSheet, IDC_TIMESTAMPS));
    EXPECT_TRUE(ShowPage(hSheet, PMTU));
    Click(Control(hSheet, IDC_PMTU_DISABLE));
}

using namespace std::placeholders;
INSTANTIATE_TEST_SUITE_P(, EntryTest, ::testing::Values(
    Entry{ "WindowEmptied", std::bind(Window, _1, L""), 0, &WINDOW_RANGE },
    Entry{ "WindowZero", std::bind(Window, _1, L"0"), 0, &WINDOW_RANGE },
    Entry{ "WindowPasted", PasteWindow, 0, &WINDOW_RANGE },
    Entry{ "WindowAboveTheLargestScaled", std::bind(Window, _1, L"1073725441"), 0, &WINDOW_RANGE },
    Entry{ "WindowTheLargestScaled", std::bind(Window, _1, L"1073725440"), IDNO, nullptr, PPP, WINDOW,
           "dword 1073725440" },
    Entry{ "Window65535NeedsNoScaling", std::bind(Window, _1, L"65535"), 0, nullptr, PARMS,
           L"TCP1323Opts", "dword 2" },
    Entry{ "Window65536ScalingDeclined", std::bind(Window, _1, L"65536"), IDNO, nullptr, PARMS,
           L"TCP1323Opts", "dword 2" },
    Entry{ "Window65536ScalingAccepted", std::bind(Window, _1, L"65536"), IDYES, nullptr, PARMS,
           L"TCP1323Opts", "absent" },
    Entry{ "TtlTenDigits", std::bind(Ttl, _1, L"9999999999"), 0, &TTL_RANGE },
    Entry{ "Ttl0", std::bind(Ttl, _1, L"0"), 0, &TTL_RANGE },
    Entry{ "Ttl256", std::bind(Ttl, _1, L"256"), 0, &TTL_RANGE },
    Entry{ "Ttl255", std::bind(Ttl, _1, L"255"), 0, nullptr, PARMS, L"DefaultTTL", "dword 255" },
    Entry{ "SwitchesOff", Switches, 0, nullptr, PARMS, L"EnablePMTUDiscovery", "dword 0" }),
    [](const ::testing::TestParamInfo<Entry> &info) { return info.param.pszName; });

TEST_F(MarlinTest, OkAfterAFailedSaveWritesAgain)
{
    // A volatile key takes no lasting subkey: the stack-wide values cannot
    // be written, while the adapters' windows can.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip");
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip", 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    RegCloseKey(hKey);
    Start();
    SelectAdapter(PPP_ADAPTER);
    Type(Item(IDC_WINDOW_SIZE), L"20000");
    PressKeys({ VK_RETURN });
    ExpectBox(SAVE_FAILED(), MB_OK | MB_ICONSTOP);
    ASSERT_TRUE(m_marlin.Sheet()) << "the sheet stays open";
    EXPECT_EQ("dword 20000", StoredValue(PPP, WINDOW)) << "written before the failure";
    // The registry mends. What failed is written on the next OK, although
    // the registry already matches the sheet.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip");
    m_marlin.Activate();
    PressKeys({ VK_RETURN });
    ExpectSaved();
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, PARMS, 0, KEY_READ, &hKey)) << "written this time";
    RegCloseKey(hKey);
}

// ---- The Window Calculator ----

class CalculatorTest : public MarlinTest
{
protected:
    void Open(const wchar_t *pszSpeed, const wchar_t *pszRtt)
    {
        m_marlin.Activate();
        PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_UP, VK_UP, VK_RETURN });   // Settings: the last item but one
        ASSERT_TRUE(WaitUntil([&] { return (m_hCalculator = m_marlin.OtherDialog()) != nullptr; })) << "no calculator";
        EXPECT_EQ(Narrow(CALCULATOR()), Narrow(Text(m_hCalculator)));
        EXPECT_EQ(m_hSheet, GetWindow(m_hCalculator, GW_OWNER));
        EXPECT_EQ("1500", Says(IDC_CALC_MTU));
        EXPECT_EQ(Narrow(SPEED_EMPTY()), Says(IDC_CALC_EXPLANATION));
        EXPECT_FALSE(CanUse());
        Type(GetDlgItem(m_hCalculator, IDC_CALC_SPEED), pszSpeed);
        Type(GetDlgItem(m_hCalculator, IDC_CALC_RTT), pszRtt);
    }
    std::string Says(int nID) const { return Narrow(Text(GetDlgItem(m_hCalculator, nID))); }
    bool CanUse() const { return IsWindowEnabled(GetDlgItem(m_hCalculator, IDC_CALC_USE)); }
    // Whether the current window's curve, the suggested one's and the line speed are drawn:
    // each colour on as many pixels as half the plot's width, more than its stroke in the legend.
    std::vector<bool> Drawn() const
    {
        HWND hPlot = GetDlgItem(m_hCalculator, IDC_CALC_PLOT);
        RECT rc = {};
        GetClientRect(hPlot, &rc);
        Colours colours = {};
        WaitUntil([&] { return (colours = ColoursOnScreen(hPlot)).nBlue > rc.right / 2; });
        return { colours.nRed > rc.right / 2, colours.nBlue > rc.right / 2, colours.nGreen > rc.right / 2 };
    }

    HWND m_hCalculator = nullptr;
};

// A user's way through it: wrong fields named one by one, Cancel, then Use and OK.
TEST_F(CalculatorTest, WrongFieldsAreNamedCancelChangesNothingUseReachesThePageAndOkWritesIt)
{
    const struct
    {
        int nID;
        const wchar_t *pszText;
        Wording why;
    } cases[] = {
        { IDC_CALC_SPEED, L"0", Words("SPEED_RANGE") },
        { IDC_CALC_RTT, L"", Words("RTT_EMPTY") },
        { IDC_CALC_RTT, L"60001", Words("RTT_RANGE") },
        { IDC_CALC_RTT, L"1 s", Words("RTT_NOT_A_NUMBER") },
        { IDC_CALC_MTU, L"67", Words("MTU_RANGE") },
    };
    SetDword(PARMS, L"TCP1323Opts", 2);   // window scaling off
    Start();
    SelectAdapter(PPP_ADAPTER);
    Open(L"1000", L"600");
    EXPECT_EQ("75920", Says(IDC_CALC_WINDOW));
    EXPECT_EQ(Narrow(Words("PRODUCT_NEEDS_SCALING")()), Says(IDC_CALC_EXPLANATION));
    EXPECT_EQ(std::vector<bool>({ true, true, true }), Drawn());
    for (const auto &test : cases)
    {
        HWND hField = GetDlgItem(m_hCalculator, test.nID);
        std::wstring strGood = Text(hField);
        Paste(hField, test.pszText);   // the only way for a space into the field
        std::string strWhy = Narrow(test.why());
        EXPECT_EQ(strWhy, Says(IDC_CALC_EXPLANATION));
        EXPECT_EQ("", Says(IDC_CALC_WINDOW)) << strWhy;
        EXPECT_FALSE(CanUse()) << strWhy;
        PressKeys({ VK_RETURN });
        ASSERT_TRUE(IsWindowVisible(m_hCalculator)) << "Enter closed it: " << strWhy;
        Type(hField, strGood.c_str());
        EXPECT_TRUE(CanUse()) << "after " << strWhy;
    }
    Click(GetDlgItem(m_hCalculator, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(m_hCalculator); })) << "the calculator stays";
    EXPECT_EQ("32120", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(Item(IDC_WINDOW_SCALING), BM_GETCHECK, 0, 0));

    Open(L"1000", L"600");
    Click(GetDlgItem(m_hCalculator, IDC_CALC_USE));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(m_hCalculator); })) << "the calculator stays";
    EXPECT_EQ("75920", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_WINDOW_SCALING), BM_GETCHECK, 0, 0));
    EXPECT_EQ("dword 32120", StoredValue(PPP, WINDOW)) << "nothing written before OK";
    m_marlin.Activate();
    PressKeys({ VK_RETURN });
    ExpectSaved();   // scaling is on already: no question
    EXPECT_EQ("dword 75920", StoredValue(PPP, WINDOW));
    EXPECT_EQ("absent", StoredValue(PARMS, L"TCP1323Opts")) << "both options on, the default";
}

// Without adapters the page's window field is closed, and the calculator
// has nothing to give a window to.
TEST_F(CalculatorTest, WithoutAnAdapterItCalculatesButOffersNothingToUse)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PPP);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ETHERNET);
    Start();
    EXPECT_EQ(0, SendMessageW(Item(IDC_ADAPTER), CB_GETCOUNT, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINDOW_SIZE)));
    Open(L"384", L"1335");
    EXPECT_EQ(Narrow(Words("PRODUCT_WITHOUT_ADAPTER")()), Says(IDC_CALC_EXPLANATION));
    EXPECT_FALSE(CanUse());
    EXPECT_EQ(std::vector<bool>({ false, true, true }), Drawn());
}

// ---- Help ----

// Help starts the handheld's viewer from the system folder only: one
// planted in the folder the program is started from is not run, and the
// browser gets a page that forwards it to the document beside marlin.exe,
// at the anchor (the paths need no escapes in a file: URL).
TEST_F(MarlinTest, HelpOpensTheDocumentInTheSystemFoldersViewerOrElseTheBrowser)
{
    CLinkRecorder links;
    // Beside no document, a message of the program's own says so.
    Start(ScratchFolder(L"alone", { { WindowsPath(MARLIN_EXE), L"marlin.exe" } }) + L"\\marlin.exe");
    PressKeys({ VK_F1 });
    ExpectBox(NO_HELP(), MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(nullptr, m_marlin.OtherDialog()) << "no message of the shell's";
    m_marlin.Kill();
    WCHAR szSelf[MAX_PATH] = {}, szSystem[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szSelf, MAX_PATH);
    GetSystemDirectoryW(szSystem, MAX_PATH);
    std::wstring strPlanted = ScratchFolder(L"planted", { { szSelf, L"peghelp.exe" } });
    Start(WindowsPath(MARLIN_EXE), strPlanted);
    PressKeys({ VK_F1 });
    ASSERT_TRUE(WaitUntil([&] { return !links.Browsed().empty(); })) << "nothing reached the browser";
    EXPECT_EQ(nullptr, m_marlin.OtherDialog()) << "no message of the shell's";
    EXPECT_EQ("", ReadFileText(strPlanted + L"\\peghelp.exe.log")) << "the planted viewer ran";
    std::string strDocument =
        std::string(MARLIN_EXE).substr(0, std::string(MARLIN_EXE).rfind('/') + 1) + Narrow(HELP_DOCUMENT());
    std::string strPage = ReadFileText(WindowsPath(links.Browsed()[0].substr(strlen("file://"))));
    EXPECT_NE(std::string::npos, strPage.find("content=\"0; url=file://" + strDocument + "#Main_Contents\"")) << strPage;
    EXPECT_NE(std::string::npos, ReadFileText(WindowsPath(strDocument)).find("id=\"Main_Contents\""));
    PressKeys({ VK_F10, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN });   // Help, Contents
    EXPECT_TRUE(WaitUntil([&] { return links.Browsed().size() == 2; })) << "Help, Contents opens it again";
    m_marlin.Kill();

    // The system's own is, with the document and its anchor; it goes again
    // however the test ends, or every later Help would start it.
    struct Viewer
    {
        std::wstring strPath;
        ~Viewer()
        {
            // Not while it is still exiting: a file in use stays.
            for (const std::wstring &strFile : { strPath, strPath + L".log" })
                WaitUntil([&] { return DeleteFileW(strFile.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
        }
    } viewer{ std::wstring(szSystem) + L"\\peghelp.exe" };
    ASSERT_TRUE(CopyFileW(szSelf, viewer.strPath.c_str(), FALSE));
    Start();
    PressKeys({ VK_F1 });
    std::string strLog;
    EXPECT_TRUE(WaitUntil([&] { return !(strLog = ReadFileText(viewer.strPath + L".log")).empty(); }));
    EXPECT_EQ("file:" + Narrow(HELP_DOCUMENT()) + "#Main_Contents",
              Narrow(std::wstring(reinterpret_cast<const wchar_t *>(strLog.data()), strLog.size() / 2)));
    EXPECT_EQ(2u, links.Browsed().size()) << "no browser this time";
}

// ---- Texts: the user's language, whole, with real glyphs ----

// Each page's caption, which its tab shows, then the texts of its labels
// and buttons in their order; on a computer, with RWIN's note why.
const std::vector<Wording> PAGE_TEXTS[] = {
    { { L"RWIN", L"RWIN" }, { L"Network Adapter", L"ネットワーク アダプター" },
      { L"TCP Receive Window", L"TCP 受信ウィンドウ" }, { L"Window Scaling", L"ウィンドウ スケーリング" },
      { L"This computer keeps no handheld's settings. Open a device's registry file, or save these settings for devices.",
        L"このコンピューターにはハンドヘルドの設定がありません。デバイスのレジストリ ファイルを開くか、この設定をデバイス用に"
        L"保存してください。" } },
    { { L"Default TTL", L"既定の TTL" }, { L"Default TTL", L"既定の TTL" }, { L"32", L"32" }, { L"64", L"64" },
      { L"128 (Recommended)", L"128 (推奨)" }, { L"Custom", L"カスタム" } },
    { { L"PMTU", L"PMTU" }, { L"Path MTU Discovery", L"パス MTU 検出" }, { L"Enable (Recommended)", L"有効 (推奨)" },
      { L"Disable", L"無効" } },
    { { L"Other", L"その他" }, { L"Selective Acknowledgements", L"選択的確認応答 (SACK)" },
      { L"Time Stamps", L"タイムスタンプ" }, { L"Other Parameters", L"その他のパラメーター" } } };
const int BOX_WIDTH = 17;   // a check box's or radio button's, with the gap before its text

TEST_F(MarlinTest, PagesSpeakTheUsersLanguageWholeAndInRealGlyphs)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
    Start();
    for (int nPage = 0; nPage < static_cast<int>(ARRAYSIZE(PAGE_TEXTS)); nPage++)
    {
        ASSERT_TRUE(ShowPage(m_hSheet, nPage));
        std::vector<std::string> expected, shown = { Narrow(Text(CurrentPage(m_hSheet))) };
        for (const Wording &text : PAGE_TEXTS[nPage])
            expected.push_back(Narrow(text()));
        for (HWND hItem = GetWindow(CurrentPage(m_hSheet), GW_CHILD); hItem; hItem = GetWindow(hItem, GW_HWNDNEXT))
        {
            bool bLabel = IsShown(hItem, L"Static");
            if (Text(hItem).empty() || !(bLabel || IsShown(hItem, L"Button")))
                continue;
            shown.push_back(Narrow(Text(hItem)));
            EXPECT_TRUE(TextFits(hItem, TemplateFont(), bLabel ? 0 : BOX_WIDTH)) << "\"" << shown.back() << "\" is cut off";
            EXPECT_EQ("", bLabel ? DrawnWrong(hItem, TemplateFont()) : "");
        }
        EXPECT_EQ(expected, shown);
    }
}

// ---- The About box ----


class AboutTest : public MarlinTest
{
protected:
    HWND OpenAbout()
    {
        m_marlin.Activate();
        PressKeys({ VK_F10, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN });   // Help: Contents, (separator), About
        HWND hAbout = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (hAbout = m_marlin.AboutBox()) != nullptr; })) << "no About box";
        return hAbout;
    }
};

TEST_F(AboutTest, IsOwnedModalCentredWholeAndClosesAtOnce)
{
    CLinkRecorder links;
    Start();
    HWND hAbout = OpenAbout();
    ASSERT_TRUE(hAbout);
    EXPECT_EQ(m_hSheet, GetWindow(hAbout, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(m_hSheet)) << "modal: the sheet waits";
    // From the version block.
    EXPECT_EQ("Marlin v2.01", Narrow(Text(GetDlgItem(hAbout, IDC_ABOUT_PRODUCT))));
    EXPECT_EQ(Narrow(DESCRIPTION()), Narrow(Text(GetDlgItem(hAbout, IDC_ABOUT_DESCRIPTION))));
    RECT rcAbout = {}, rcSheet = {};
    GetWindowRect(hAbout, &rcAbout);
    GetWindowRect(m_hSheet, &rcSheet);
    EXPECT_LE(std::abs(rcAbout.left + rcAbout.right - rcSheet.left - rcSheet.right), 2) << "centred across";
    EXPECT_LE(std::abs(rcAbout.top + rcAbout.bottom - rcSheet.top - rcSheet.bottom), 2) << "centred down";
    LOGFONTW linkFont = {};   // the system font
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(linkFont), &linkFont);
    for (HWND hItem = GetWindow(hAbout, GW_CHILD); hItem; hItem = GetWindow(hItem, GW_HWNDNEXT))
    {
        if ((GetWindowLongW(hItem, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        int nID = GetDlgCtrlID(hItem);
        bool bLink = nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL;
        EXPECT_TRUE(TextFits(hItem, bLink ? linkFont : TemplateFont())) << "\"" << Narrow(Text(hItem)) << "\" is cut off";
        EXPECT_EQ(bLink, ColoursOnScreen(hItem).nBlue > 0) << "\"" << Narrow(Text(hItem)) << "\": blue only for the links";
    }
    Click(GetDlgItem(hAbout, IDC_ABOUT_MAIL));
    Click(GetDlgItem(hAbout, IDC_ABOUT_URL));
    EXPECT_TRUE(WaitUntil([&] { return !links.Mailed().empty() && !links.Browsed().empty(); }));
    EXPECT_EQ(std::vector<std::string>{ "mailto:marlin@marlin-tuning.example" }, links.Mailed());
    EXPECT_EQ(std::vector<std::string>{ "https://marlin-tuning.example/" }, links.Browsed());

    // By Escape, Enter and a posted Cancel, each time opened again.
    const std::function<void(HWND)> CLOSINGS[] = { [](HWND) { PressKeys({ VK_ESCAPE }); }, [](HWND) { PressKeys({ VK_RETURN }); },
                                                   [](HWND hBox) { PostMessageW(hBox, WM_COMMAND, IDCANCEL, 0); } };
    for (const auto &close : CLOSINGS)
    {
        hAbout = &close == CLOSINGS ? hAbout : OpenAbout();
        ASSERT_TRUE(hAbout) << "opened again";
        close(hAbout);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hAbout); }, 1000)) << "still open after 1 s";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_hSheet) != FALSE; }, 1000));
    }
}

} // namespace
