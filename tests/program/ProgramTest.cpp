// marlin.exe as a user meets it, on the sample handheld's registry file:
// the keyboard and the menu bar, the pages, OK with its real message boxes,
// Help and the About box through the real shell, the registry read back.
#include "Program.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>

namespace
{

const wchar_t PARMS[] = L"Comm\\Tcpip\\Parms";
const wchar_t PPP[] = L"Comm\\ppp1\\Parms\\TcpIp";
const wchar_t ETHERNET[] = L"Comm\\NE20001\\Parms\\TcpIp";
const wchar_t WINDOW[] = L"TcpWindowSize";

// The sample's adapters as the registry lists them, and the pages.
const int ETHERNET_ADAPTER = 0, PPP_ADAPTER = 1;
const int RWIN = 0, TTL = 1, PMTU = 2, OTHER = 3;

const Wording SCALING = { L"In order to specify 64K or more Tcp Window Size, you must enable Window Scaling. Do you "
                          L"want to enable Window Scaling?",
                          L"64K 以上の TCP ウィンドウ サイズを指定するには、ウィンドウ スケーリングを有効にする必要があり"
                          L"ます。ウィンドウ スケーリングを有効にしますか?" };
const Wording TTL_RANGE = { L"You must specify Default TTL of 1 to 255.", L"既定の TTL には 1 から 255 までの値を指定してください。" };
const Wording CHANGED = { L"Settings were changed. You must perform soft reset before the new settings will take effect.",
                          L"設定を変更しました。新しい設定を有効にするには、ソフトリセットを実行する必要があります。" };
const Wording SAVE_FAILED = { L"Some of the new settings could not be written to the registry; others may have been "
                              L"written already. Close this message, then tap OK to try again, or Cancel to leave the "
                              L"registry as it is now.",
                              L"新しい設定の一部をレジストリに書き込めませんでした。ほかの設定は既に書き込まれている可能性"
                              L"があります。このメッセージを閉じてから、もう一度書き込むには [OK] を、レジストリを現在の状態"
                              L"のままにするには [キャンセル] をタップしてください。" };
const Wording WINDOW_RANGE = { L"You must specify a TCP Receive Window of 1 to 1073725440 bytes.",
                               L"TCP 受信ウィンドウには 1 から 1073725440 バイトまでの値を指定してください。" };
const Wording BAD_NUMBER_FILE = { L"%1 is not a registry file that Marlin can read. Line 3: a number is not written in "
                                  L"hexadecimal digits that fit.",
                                  L"%1 は Marlin が読み取れるレジストリ ファイルではありません。3 行目: 数値が、範囲に"
                                  L"収まる 16 進数で記述されていません。" };
const Wording BACKUP_FAILED_START = { L"Nothing was changed: a backup of the current settings could not be written in %1 (",
                                      L"何も変更していません。現在の設定のバックアップを %1 に書き込めませんでした (" };
const Wording FILE_WRITTEN = { L"The new settings were written to %1.", L"新しい設定を %1 に書き込みました。" };
const Wording NO_HELP = { L"Help cannot be shown. The help document marlin.htm must lie in the folder that holds Marlin, "
                          L"and a program to show it must be installed.",
                          L"ヘルプを表示できません。ヘルプ ドキュメント marlin-ja.htm が Marlin と同じフォルダーにあり、"
                          L"それを表示するプログラムがインストールされている必要があります。" };
const Wording HELP_DOCUMENT = { L"marlin.htm", L"marlin-ja.htm" };
const Wording PPP_ADAPTER_NAME = { L"PPP Adapter", L"PPP アダプター" };
const Wording DESCRIPTION = { L"Tuning TCP/IP Parameters", L"TCP/IP パラメーターの調整" };
const Wording RESTORE_FILTER = { L"Registry Files (*.reg)", L"レジストリ ファイル (*.reg)" };
const Wording CALCULATOR = { L"Window Calculator", L"ウィンドウ サイズの計算" };
const Wording SPEED_EMPTY = { L"The line speed is empty: enter from 1 to 100000000 kbit/s.",
                              L"「回線速度」が空です。1 から 100000000 までの値を入力してください (単位: kbit/s)。" };

class MarlinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
        ASSERT_TRUE(ImportRegFile(WindowsPath(SAMPLE_DEVICE_REG)));
        ASSERT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL")) << "the sample handheld's registry";
    }
    void TearDown() override
    {
        m_marlin.Kill();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
    }

    void Start(const std::wstring &strExe = WindowsPath(MARLIN_EXE), const std::wstring &strDirectory = L"",
               const std::wstring &strArgument = L"")
    {
        ASSERT_TRUE(m_marlin.Start(strExe, strDirectory, strArgument) && m_marlin.Sheet()) << "no sheet";
        m_marlin.Activate();
        m_hSheet = m_marlin.Sheet();
    }
    HWND Item(int nID) const { return Control(m_hSheet, nID); }
    // With the keyboard, on the closed list: each key changes the selection.
    void SelectAdapter(int nAdapter) const
    {
        Click(Item(IDC_ADAPTER));
        if (SendMessageW(Item(IDC_ADAPTER), CB_GETDROPPEDSTATE, 0, 0))
            PressKeys({ VK_F4 });
        PressKeys({ VK_HOME });
        for (int i = 0; i < nAdapter; i++)
            PressKeys({ VK_DOWN });
        ASSERT_EQ(nAdapter, SendMessageW(Item(IDC_ADAPTER), CB_GETCURSEL, 0, 0));
    }
    // Waits for the next message box, checks it and answers it.
    void ExpectBox(const std::wstring &strText, UINT nType, int nAnswer = IDOK)
    {
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = m_marlin.Box()) != nullptr; })) << "no \"" << Narrow(strText) << '"';
        MessageBoxSeen seen = ReadMessageBox(hBox);
        EXPECT_EQ(Narrow(strText), Narrow(seen.strText));
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        EXPECT_EQ("", DrawnWrong(GetDlgItem(hBox, 0xFFFF), metrics.lfMessageFont));
        EXPECT_EQ("Marlin", Narrow(seen.strCaption));
        EXPECT_EQ(m_hSheet, seen.hOwner) << "owned by the sheet";
        EXPECT_EQ(nType, seen.nType) << Narrow(seen.strText);
        EXPECT_TRUE(Answer(hBox, nAnswer)) << "\"" << Narrow(seen.strText) << "\" stays";
    }
    // What OK shows when it has written: a notice, and the program ends.
    void ExpectSaved()
    {
        ExpectBox(CHANGED(), MB_OK | MB_ICONEXCLAMATION);
        EXPECT_TRUE(m_marlin.HasEnded()) << "the program ends with the sheet";
    }

    CProgram m_marlin;
    HWND m_hSheet = nullptr;
};

void Type(HWND hField, const wchar_t *pszText)
{
    Click(hField);
    PressKeys({ VK_END });
    for (int i = 0; i < 12; i++)
        PressKeys({ VK_BACK });
    TypeText(pszText);
}

std::wstring BackupFolder()
{
    WCHAR szFolder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, szFolder);
    return std::wstring(szFolder) + L"\\Marlin\\Backups";
}

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
void Ttl(HWND hSheet, const wchar_t *pszText)
{
    EXPECT_TRUE(ShowPage(hSheet, TTL));
    Click(Control(hSheet, IDC_TTL_CUSTOM));
    Type(Control(hSheet, IDC_TTL), pszText);
    EXPECT_EQ(Narrow(pszText), Narrow(Text(Control(hSheet, IDC_TTL)))) << "every digit fits";
}
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

TEST_F(MarlinTest, WindowFieldFollowsTheSelectionAfterAResetShrankTheTable)
{
    Start();
    SelectAdapter(PPP_ADAPTER);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm\\NE20001"));
    m_marlin.Activate();
    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN });   // Settings, Reset
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Item(IDC_WINDOW_SIZE)); })) << "no adapter there now";
    EXPECT_EQ("", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    SelectAdapter(0);
    EXPECT_EQ("32120", Narrow(Text(Item(IDC_WINDOW_SIZE)))) << "the PPP adapter is the only one now";
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_WINDOW_SIZE)));
}

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

// ---- Backups and registry files ----

// The backup OK writes first, imported by the platform's regedit, gives
// back the values the save changed, and the ones it deleted.
TEST_F(MarlinTest, OkBacksUpFirstAndTheBackupGivesTheOldValuesBack)
{
    std::vector<std::wstring> before = FilesIn(BackupFolder());
    Start();
    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_RETURN });   // Settings, Default
    ASSERT_TRUE(WaitUntil([&] { return !m_marlin.PopupMenu(); }));
    PressKeys({ VK_RETURN });
    ExpectSaved();
    std::vector<std::wstring> after = FilesIn(BackupFolder());
    ASSERT_EQ(before.size() + 1, after.size()) << "one backup";
    std::wstring strBackup = *std::find_if(after.begin(), after.end(), [&](const std::wstring &strName) {
        return std::find(before.begin(), before.end(), strName) == before.end();
    });
    EXPECT_EQ(L".reg", strBackup.substr(strBackup.size() - 4));
    EXPECT_EQ("absent", StoredValue(PARMS, L"DefaultTTL")) << "the default, saved";
    ASSERT_TRUE(ImportRegFile(BackupFolder() + L"\\" + strBackup));
    EXPECT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL"));
    EXPECT_EQ("dword 0", StoredValue(PARMS, L"SackOpts"));
    EXPECT_EQ("dword 32120", StoredValue(PPP, WINDOW));
    EXPECT_EQ("dword 16384", StoredValue(ETHERNET, WINDOW));
    EXPECT_EQ("absent", StoredValue(PARMS, WINDOW));
}

// A file where the backups folder should be: no backup, so nothing written.
TEST_F(MarlinTest, WithoutABackupNothingIsWritten)
{
    std::wstring strFolder = BackupFolder(), strAside = strFolder + L"-aside";
    ASSERT_TRUE(MoveFileW(strFolder.c_str(), strAside.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
    struct Restorer
    {
        std::wstring strFolder, strAside;
        ~Restorer()
        {
            DeleteFileW(strFolder.c_str());
            MoveFileW(strAside.c_str(), strFolder.c_str());
        }
    } restorer{ strFolder, strAside };
    WriteFileText(strFolder, "not a folder");
    Start();
    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_RETURN });   // Settings, Default
    ASSERT_TRUE(WaitUntil([&] { return !m_marlin.PopupMenu(); }));
    PressKeys({ VK_RETURN });
    HWND hBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hBox = m_marlin.Box()) != nullptr; }));
    std::string strText = Narrow(ReadMessageBox(hBox).strText);
    EXPECT_EQ(0u, strText.find(Narrow(BACKUP_FAILED_START(strFolder)))) << strText;
    ExpectBox(ReadMessageBox(hBox).strText, MB_OK | MB_ICONSTOP);
    ASSERT_TRUE(m_marlin.Sheet()) << "the sheet stays open";
    EXPECT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL")) << "nothing written";
}

// regedit's dialect and a device image's: the box names the file, the line
// and the reason.
TEST_F(MarlinTest, ABrokenRegistryFileOpensNoSheetAndChangesNothing)
{
    const struct
    {
        const char *pszText;
        Wording message;
    } cases[] = {
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:x\r\n", BAD_NUMBER_FILE },
        { "[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\nIF BSP_LONGHAUL\r\n\"DefaultTTL\"=dword:20\r\n",
          { L"%1 is not a registry file that Marlin can read. Line 2: this IF has no ENDIF.",
            L"%1 は Marlin が読み取れるレジストリ ファイルではありません。2 行目: この IF に対応する ENDIF がありません。" } },
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm]\r\n\"a\"=\"\\0\"\r\n",
          { L"%1 is not a registry file that Marlin can read. Line 3: a quoted name or string holds \\0, which regedit "
            L"cannot read.",
            L"%1 は Marlin が読み取れるレジストリ ファイルではありません。3 行目: 引用符で囲まれた名前または文字列に \\0 が"
            L"含まれていますが、regedit はこれを読み取れません。" } },
    };
    for (const auto &test : cases)
    {
        std::wstring strFile = ScratchFolder(L"broken", {}) + L"\\broken.reg";
        WriteFileText(strFile, test.pszText);
        ASSERT_TRUE(m_marlin.Start(WindowsPath(MARLIN_EXE), L"", strFile));
        EXPECT_EQ(nullptr, m_marlin.Sheet());
        ExpectBox(test.message(strFile), MB_OK | MB_ICONSTOP);   // owned by no sheet
        EXPECT_EQ(1u, m_marlin.ExitCode());
        EXPECT_EQ(test.pszText, ReadFileText(strFile));
        m_marlin.Kill();
    }
}

// A device image's registry file, opened where the build's variables are
// set, is edited in place of the system registry: the sheet shows what the
// build would make of it, and OK changes the line that decides the value, in
// place of the $(NAME) that gave it.
TEST_F(MarlinTest, AnImageFileIsEditedUnderTheBuildVariables)
{
    const std::string IMAGE = "; @CESYSGEN IF CE_MODULES_NDIS\r\n"
                              "#define COMM_ROOT HKEY_LOCAL_MACHINE\\Comm\r\n"
                              "[$(COMM_ROOT)\\Tcpip\\Parms]\r\n"
                              "    \"DefaultTTL\"=dword:40 ; the lab's\r\n"
                              "IF BSP_LONGHAUL\r\n"
                              "    \"DefaultTTL\"=dword:20\r\n"
                              "ENDIF\r\n"
                              "[$(COMM_ROOT)\\ppp1\\Parms\\TcpIp]\r\n"
                              "IF BSP_PPP_WINDOW\r\n"
                              "    \"TcpWindowSize\"=dword:$(BSP_PPP_WINDOW) ; from the build\r\n"
                              "ENDIF\r\n"
                              "; @CESYSGEN ENDIF\r\n";
    std::wstring strFile = ScratchFolder(L"image", {}) + L"\\platform.reg";
    WriteFileText(strFile, IMAGE);
    std::vector<std::wstring> backups = FilesIn(BackupFolder());
    // The program takes a copy of this process's environment.
    SetEnvironmentVariableW(L"BSP_LONGHAUL", L"1");
    SetEnvironmentVariableW(L"BSP_PPP_WINDOW", L"7D78");
    Start(WindowsPath(MARLIN_EXE), L"", strFile);
    SetEnvironmentVariableW(L"BSP_LONGHAUL", nullptr);
    SetEnvironmentVariableW(L"BSP_PPP_WINDOW", nullptr);
    SelectAdapter(0);
    EXPECT_EQ("32120", Narrow(Text(Item(IDC_WINDOW_SIZE)))) << "the build's window";
    Type(Item(IDC_WINDOW_SIZE), L"20000");
    ASSERT_TRUE(ShowPage(m_hSheet, TTL));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_TTL_32), BM_GETCHECK, 0, 0)) << "BSP_LONGHAUL's TTL";
    PressKeys({ VK_RETURN });
    ExpectBox(FILE_WRITTEN(strFile), MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(0u, m_marlin.ExitCode());
    std::string strExpected = IMAGE;
    strExpected.replace(strExpected.find("$(BSP_PPP_WINDOW) ;"), 17, "00004e20");
    EXPECT_EQ(strExpected, ReadFileText(strFile));
    EXPECT_EQ("dword 32120", StoredValue(PPP, WINDOW)) << "the system registry is left alone";
    EXPECT_EQ(backups, FilesIn(BackupFolder())) << "no backup of a file";
}

// What keeps a file from being written leaves it as it was; the message says
// why, and the sheet stays for another OK once that is mended.
TEST_F(MarlinTest, AFileThatCannotBeWrittenStaysAsItWasAndSaysWhy)
{
    const char *const IN_A_BRANCH = "IF BSP_LONGHAUL\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n"
                                    "\"DefaultTTL\"=dword:20\r\nENDIF\r\n";
    const struct
    {
        const char *pszName;
        const char *pszText;   // the sample device's file where null
        std::function<void(const std::wstring &, bool)> block;   // or unblock
        Wording message;   // %1 the file; %2 the platform's reason
    } cases[] = {
        { "read-only", nullptr,
          [](const std::wstring &strFile, bool bBlock) {
              SetFileAttributesW(strFile.c_str(), bBlock ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
          },
          { L"%1 is read-only, so nothing was written to it. Check it out or clear its read-only attribute, then tap OK "
            L"again, or Cancel to leave it as it is.",
            L"%1 は読み取り専用のため、何も書き込んでいません。ファイルをチェックアウトするか読み取り専用属性を解除して"
            L"から、もう一度 [OK] をタップしてください。そのままにするには [キャンセル] をタップしてください。" } },
        { "no room for its new bytes", nullptr,
          [](const std::wstring &strFile, bool bBlock) {
              bBlock ? CreateDirectoryW((strFile + L".marlin-new").c_str(), nullptr) : RemoveDirectoryW((strFile + L".marlin-new").c_str());
          },
          { L"The new settings could not be written to %1 (%2). The file was left as it was. Close this message, then "
            L"tap OK to try again, or Cancel to leave it as it is.",
            L"新しい設定を %1 に書き込めませんでした (%2)。ファイルは元のままです。このメッセージを閉じてから、もう一度"
            L"書き込むには [OK] を、そのままにするには [キャンセル] をタップしてください。" } },
        { "a TTL only a branch not taken sets", IN_A_BRANCH, nullptr,
          { L"The new settings cannot be written into %1 so that it reads back exactly as set and keeps every other "
            L"value, whatever the build variables. The file was left as it was. Change the settings, or tap Cancel to "
            L"leave it as it is.",
            L"新しい設定を、どのビルド変数の下でも設定どおりに読み戻せて、ほかの値もすべて保たれる形で %1 に書き込むこと"
            L"ができません。ファイルは元のままです。設定を変更するか、そのままにするには [キャンセル] をタップして"
            L"ください。" } },
    };
    for (const auto &test : cases)
    {
        SCOPED_TRACE(test.pszName);
        std::wstring strFile = WindowsPath(LOG_DIR) + L"\\unwritten\\device.reg";
        SetFileAttributesW(strFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        ScratchFolder(L"unwritten", { { WindowsPath(SAMPLE_DEVICE_REG), L"device.reg" } });
        if (test.pszText)
            WriteFileText(strFile, test.pszText);
        const std::string strBefore = ReadFileText(strFile);
        if (test.block)
            test.block(strFile, true);
        Start(WindowsPath(MARLIN_EXE), L"", strFile);
        ASSERT_TRUE(ShowPage(m_hSheet, TTL));
        Click(Item(IDC_TTL_32));
        PressKeys({ VK_RETURN });
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = m_marlin.Box()) != nullptr; }));
        // The platform's reason is its own: the text around it is the program's.
        std::wstring strText = ReadMessageBox(hBox).strText, strExpected = test.message(strFile);
        size_t nReason = strExpected.find(L"%2");
        if (nReason != std::wstring::npos)
            strExpected.replace(nReason, 2, strText.substr(nReason, strText.size() - (strExpected.size() - 2)));
        ExpectBox(strExpected, MB_OK | MB_ICONSTOP);
        ASSERT_TRUE(m_marlin.Sheet()) << "the sheet stays open";
        EXPECT_EQ(strBefore, ReadFileText(strFile));
        m_marlin.Activate();
        if (!test.block)
        {
            PressKeys({ VK_ESCAPE });
            EXPECT_TRUE(m_marlin.HasEnded());
            m_marlin.Kill();
            continue;
        }
        test.block(strFile, false);
        PressKeys({ VK_RETURN });
        ExpectBox(FILE_WRITTEN(strFile), MB_OK | MB_ICONEXCLAMATION);
        EXPECT_NE(std::string::npos, ReadFileText(strFile).find("\"DefaultTTL\"=dword:00000020")) << "written this time";
        m_marlin.Kill();
    }
}

// Settings, "Restore Backup...", a file chosen in the platform's own dialog.
class RestoreTest : public MarlinTest
{
protected:
    void Restore(const std::wstring &strFile)
    {
        PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_UP, VK_RETURN });   // Settings: the last item
        HWND hDialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hDialog = m_marlin.OtherDialog()) != nullptr; })) << "no file dialog";
        EXPECT_EQ(m_hSheet, GetWindow(hDialog, GW_OWNER));
        EXPECT_EQ(Narrow(RESTORE_FILTER()), Narrow(Text(GetDlgItem(hDialog, 0x470)))) << "the file types (cmb1)";
        HWND hName = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hName = FocusOf(hDialog)) != nullptr; }));
        SendMessageW(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strFile.c_str()));
        PressKeys({ VK_RETURN });
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hDialog); })) << "the dialog stays";
    }
};

TEST_F(RestoreTest, ABackupIsReadIntoTheSheetAndOkWritesIt)
{
    std::wstring strFile = ScratchFolder(L"restore", {}) + L"\\backup.reg";
    WriteFileText(strFile, "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:00000020\r\n\"SackOpts\"=-\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Comm\\ppp1\\Parms\\TcpIp]\r\n\"TcpWindowSize\"=dword:0000fa00\r\n");
    Start();
    Restore(strFile);
    SelectAdapter(PPP_ADAPTER);
    EXPECT_EQ("64000", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    EXPECT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL")) << "nothing written before OK";
    PressKeys({ VK_RETURN });
    ExpectSaved();
    EXPECT_EQ("dword 32", StoredValue(PARMS, L"DefaultTTL"));
    EXPECT_EQ("absent", StoredValue(PARMS, L"SackOpts"));
    EXPECT_EQ("dword 64000", StoredValue(PPP, WINDOW));
    EXPECT_EQ("dword 16384", StoredValue(ETHERNET, WINDOW)) << "not in the backup: as it was";
}

TEST_F(RestoreTest, AFileThatIsNoBackupChangesNothing)
{
    const struct
    {
        const char *pszText;
        Wording message;
    } cases[] = {
        { "REGEDIT4\r\n[HKEY_CURRENT_USER\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:20\r\n",
          { L"%1 is not a registry file that Marlin can read. Line 2: a backup holds keys of HKEY_LOCAL_MACHINE only.",
            L"%1 は Marlin が読み取れるレジストリ ファイルではありません。2 行目: バックアップに含めることができるのは "
            L"HKEY_LOCAL_MACHINE のキーだけです。" } },
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip]\r\n\"DefaultTTL\"=dword:20\r\n",
          { L"%1 holds none of the settings Marlin manages, so nothing was changed.",
            L"%1 には Marlin が管理する設定が含まれていないため、何も変更していません。" } },
    };
    Start();
    for (const auto &test : cases)
    {
        std::wstring strFile = ScratchFolder(L"restore", {}) + L"\\other.reg";
        WriteFileText(strFile, test.pszText);
        m_marlin.Activate();
        Restore(strFile);
        ExpectBox(test.message(strFile), MB_OK | MB_ICONSTOP);
    }
    m_marlin.Activate();
    PressKeys({ VK_RETURN });
    EXPECT_TRUE(m_marlin.HasEnded()) << "nothing changed: no message, the sheet closes";
    EXPECT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL"));
}

// A file the platform's regedit exported opens on the values it holds.
TEST_F(MarlinTest, ARegistryFileRegeditExportedOpensOnItsValues)
{
    std::wstring strFile = ScratchFolder(L"exported", {}) + L"\\exported.reg";
    DeleteFileW(strFile.c_str());
    CProgram regedit;
    ASSERT_TRUE(regedit.Run(L"regedit.exe /E \"" + strFile + L"\" HKEY_LOCAL_MACHINE\\Comm") && regedit.HasEnded(30000));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
    Start(WindowsPath(MARLIN_EXE), L"", strFile);
    SelectAdapter(PPP_ADAPTER);
    EXPECT_EQ("32120", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    EXPECT_TRUE(ShowPage(m_hSheet, TTL));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_TTL_64), BM_GETCHECK, 0, 0)) << "64";
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
        { IDC_CALC_SPEED, L"0", { L"The line speed must be from 1 to 100000000 kbit/s.",
                                  L"「回線速度」には 1 から 100000000 までの値を指定してください (単位: kbit/s)。" } },
        { IDC_CALC_RTT, L"", { L"The round-trip time is empty: enter from 1 to 60000 ms.",
                               L"「ラウンドトリップ時間」が空です。1 から 60000 までの値を入力してください (単位: ms)。" } },
        { IDC_CALC_RTT, L"60001", { L"The round-trip time must be from 1 to 60000 ms.",
                                    L"「ラウンドトリップ時間」には 1 から 60000 までの値を指定してください (単位: ms)。" } },
        { IDC_CALC_RTT, L"1 s", { L"The round-trip time is not a number: enter digits only, from 1 to 60000 ms.",
                                  L"「ラウンドトリップ時間」が数値ではありません。1 から 60000 までの値を数字だけで入力"
                                  L"してください (単位: ms)。" } },
        { IDC_CALC_MTU, L"67", { L"The MTU must be from 68 to 65535 bytes.",
                                 L"「MTU」には 68 から 65535 までの値を指定してください (単位: バイト)。" } },
    };
    SetDword(PARMS, L"TCP1323Opts", 2);   // window scaling off
    Start();
    SelectAdapter(PPP_ADAPTER);
    Open(L"1000", L"600");
    EXPECT_EQ("75920", Says(IDC_CALC_WINDOW));
    EXPECT_EQ(Narrow(Wording{ L"The bandwidth-delay product is 75000 bytes: the suggested window holds 52 segments of "
                              L"1460 bytes and needs window scaling. With 32120 bytes, one connection reaches at most "
                              L"428 kbit/s at this round trip.",
                              L"帯域幅遅延積は 75000 バイトです。推奨ウィンドウは 1460 バイトのセグメント 52 個分で、"
                              L"ウィンドウ スケーリングが必要です。32120 バイトでは、このラウンドトリップ時間で 1 つの接続"
                              L"が出せる速度は最大 428 kbit/s です。" }()),
              Says(IDC_CALC_EXPLANATION));
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
    EXPECT_EQ(Narrow(Wording{ L"The bandwidth-delay product is 64080 bytes: the suggested window holds 44 segments of "
                              L"1460 bytes and needs no window scaling. There is no network adapter on the RWIN page "
                              L"to use the window for.",
                              L"帯域幅遅延積は 64080 バイトです。推奨ウィンドウは 1460 バイトのセグメント 44 個分で、"
                              L"ウィンドウ スケーリングは不要です。RWIN ページに、このウィンドウを使うネットワーク アダプター"
                              L"がありません。" }()),
              Says(IDC_CALC_EXPLANATION));
    EXPECT_FALSE(CanUse());
    EXPECT_EQ(std::vector<bool>({ false, true, true }), Drawn());
}

// ---- Help ----

TEST_F(MarlinTest, HelpOpensTheDocumentAtItsContentsInTheBrowser)
{
    CLinkRecorder links;
    Start();
    PressKeys({ VK_F1 });
    ASSERT_TRUE(WaitUntil([&] { return !links.Browsed().empty(); })) << "nothing reached the browser";
    EXPECT_EQ(nullptr, m_marlin.OtherDialog()) << "no message of the shell's";
    // The browser has a page that forwards it to the document beside
    // marlin.exe, at the anchor. The paths need no escapes in a file: URL.
    std::string strDocument =
        std::string(MARLIN_EXE).substr(0, std::string(MARLIN_EXE).rfind('/') + 1) + Narrow(HELP_DOCUMENT());
    std::string strPage = ReadFileText(WindowsPath(links.Browsed()[0].substr(strlen("file://"))));
    EXPECT_NE(std::string::npos, strPage.find("content=\"0; url=file://" + strDocument + "#Main_Contents\"")) << strPage;
    EXPECT_NE(std::string::npos, ReadFileText(WindowsPath(strDocument)).find("id=\"Main_Contents\""));
    PressKeys({ VK_F10, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN });   // Help, Contents
    EXPECT_TRUE(WaitUntil([&] { return links.Browsed().size() == 2; })) << "Help, Contents opens it again";
}

TEST_F(MarlinTest, HelpWithoutItsDocumentSaysSoInAMessageOfItsOwn)
{
    CLinkRecorder links;
    Start(ScratchFolder(L"alone", { { WindowsPath(MARLIN_EXE), L"marlin.exe" } }) + L"\\marlin.exe");
    PressKeys({ VK_F1 });
    ExpectBox(NO_HELP(), MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(nullptr, m_marlin.OtherDialog()) << "no message of the shell's";
    EXPECT_TRUE(m_marlin.Sheet());
    EXPECT_TRUE(links.Browsed().empty());
}

TEST_F(MarlinTest, HelpViewerIsStartedFromTheSystemFolderOnly)
{
    CLinkRecorder links;
    WCHAR szSelf[MAX_PATH] = {}, szSystem[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szSelf, MAX_PATH);
    GetSystemDirectoryW(szSystem, MAX_PATH);
    // One planted in the folder the program is started from is not run.
    std::wstring strPlanted = ScratchFolder(L"planted", { { szSelf, L"peghelp.exe" } });
    Start(WindowsPath(MARLIN_EXE), strPlanted);
    PressKeys({ VK_F1 });
    ASSERT_TRUE(WaitUntil([&] { return !links.Browsed().empty(); })) << "the browser stands in";
    EXPECT_EQ("", ReadFileText(strPlanted + L"\\peghelp.exe.log")) << "the planted viewer ran";
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
    EXPECT_EQ(1u, links.Browsed().size()) << "no browser this time";
}

// ---- Texts: the user's language, whole, with real glyphs ----

// Each page's caption, which its tab shows, then the texts of its labels
// and buttons in their order.
const std::vector<Wording> PAGE_TEXTS[] = {
    { { L"RWIN", L"RWIN" }, { L"Network Adapter", L"ネットワーク アダプター" },
      { L"TCP Receive Window", L"TCP 受信ウィンドウ" }, { L"Window Scaling", L"ウィンドウ スケーリング" } },
    { { L"Default TTL", L"既定の TTL" }, { L"Default TTL", L"既定の TTL" }, { L"32", L"32" }, { L"64", L"64" },
      { L"128 (Recommended)", L"128 (推奨)" }, { L"Custom", L"カスタム" } },
    { { L"PMTU", L"PMTU" }, { L"Path MTU Discovery", L"パス MTU 検出" }, { L"Enable (Recommended)", L"有効 (推奨)" },
      { L"Disable", L"無効" } },
    { { L"Other", L"その他" }, { L"Selective Acknowledgements", L"選択的確認応答 (SACK)" },
      { L"Time Stamps", L"タイムスタンプ" }, { L"Other Parameters", L"その他のパラメーター" } } };
const int BOX_WIDTH = 17;   // a check box's or radio button's, with the gap before its text

TEST_F(MarlinTest, PagesSpeakTheUsersLanguageWholeAndInRealGlyphs)
{
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
            RECT rc = {};
            GetClientRect(hItem, &rc);
            EXPECT_LE(TextWidth(Text(hItem), TemplateFont()) + (bLabel ? 0 : BOX_WIDTH), rc.right)
                << "\"" << shown.back() << "\" is cut off";
            EXPECT_EQ("", bLabel ? DrawnWrong(hItem, TemplateFont()) : "");
        }
        EXPECT_EQ(expected, shown);
    }
}

// ---- The About box ----


struct Closing
{
    const char *pszName;
    std::function<void(HWND)> close;
};
void PrintTo(const Closing &test, std::ostream *os) { *os << test.pszName; }

class AboutTest : public MarlinTest, public ::testing::WithParamInterface<Closing>
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

TEST_P(AboutTest, IsOwnedModalCentredWholeAndClosesAtOnce)
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
        RECT rcItem = {};
        GetClientRect(hItem, &rcItem);
        int nID = GetDlgCtrlID(hItem);
        bool bLink = nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL;
        EXPECT_LE(TextWidth(Text(hItem), bLink ? linkFont : TemplateFont()), rcItem.right)
            << "\"" << Narrow(Text(hItem)) << "\" is cut off";
        EXPECT_EQ(bLink, ColoursOnScreen(hItem).nBlue > 0) << "\"" << Narrow(Text(hItem)) << "\": blue only for the links";
    }
    Click(GetDlgItem(hAbout, IDC_ABOUT_MAIL));
    Click(GetDlgItem(hAbout, IDC_ABOUT_URL));
    EXPECT_TRUE(WaitUntil([&] { return !links.Mailed().empty() && !links.Browsed().empty(); }));
    EXPECT_EQ(std::vector<std::string>{ "mailto:marlin@marlin-tuning.example" }, links.Mailed());
    EXPECT_EQ(std::vector<std::string>{ "https://marlin-tuning.example/" }, links.Browsed());

    for (int nTime = 0; nTime < 2; nTime++)
    {
        hAbout = nTime ? OpenAbout() : hAbout;
        ASSERT_TRUE(hAbout) << "opened again";
        GetParam().close(hAbout);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hAbout); }, 1000)) << "still open after 1 s";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_hSheet) != FALSE; }, 1000));
    }
}

INSTANTIATE_TEST_SUITE_P(, AboutTest, ::testing::Values(
    Closing{ "Escape", [](HWND) { PressKeys({ VK_ESCAPE }); } },
    Closing{ "Enter", [](HWND) { PressKeys({ VK_RETURN }); } },
    Closing{ "PostedCancel", [](HWND hAbout) { PostMessageW(hAbout, WM_COMMAND, IDCANCEL, 0); } }),
    [](const ::testing::TestParamInfo<Closing> &info) { return info.param.pszName; });

} // namespace
