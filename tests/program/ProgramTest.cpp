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

const wchar_t SCALING[] = L"In order to specify 64K or more Tcp Window Size, you must enable Window Scaling. "
                          L"Do you want to enable Window Scaling?";
const wchar_t TTL_RANGE[] = L"You must specify Default TTL of 1 to 255.";
const wchar_t CHANGED[] =
    L"Settings were changed. You must perform soft reset before the new settings will take effect.";
const wchar_t SAVE_FAILED[] = L"Some of the new settings could not be written to the registry; others may have "
                              L"been written already. Close this message, then tap OK to try again, or Cancel to "
                              L"leave the registry as it is now.";
const wchar_t WINDOW_RANGE[] = L"You must specify a TCP Receive Window of 1 to 1073725440 bytes.";
const wchar_t BAD_FILE[] = L"is not a registry file that Marlin can read. Line 3: a number is not written in "
                           L"hexadecimal digits that fit.";
const wchar_t NO_HELP[] = L"Help cannot be shown. The help document marlin.htm must lie in the folder that holds "
                          L"Marlin, and a program to show it must be installed.";

std::string Narrow(const std::wstring &str) { return std::string(str.begin(), str.end()); }

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
    void ExpectBox(const wchar_t *pszText, UINT nType, int nAnswer = IDOK)
    {
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = m_marlin.Box()) != nullptr; })) << "no \"" << Narrow(pszText) << '"';
        MessageBoxSeen seen = ReadMessageBox(hBox);
        EXPECT_EQ(Narrow(pszText), Narrow(seen.strText));
        EXPECT_EQ("Marlin", Narrow(seen.strCaption));
        EXPECT_EQ(m_hSheet, seen.hOwner) << "owned by the sheet";
        EXPECT_EQ(nType, seen.nType) << Narrow(seen.strText);
        EXPECT_TRUE(Answer(hBox, nAnswer)) << "\"" << Narrow(seen.strText) << "\" stays";
    }
    // What OK shows when it has written: a notice, and the program ends.
    void ExpectSaved()
    {
        ExpectBox(CHANGED, MB_OK | MB_ICONEXCLAMATION);
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

void WriteText(const std::wstring &strFile, const std::string &strText)
{
    HANDLE hFile = CreateFileW(strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD cbWritten = 0;
    WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &cbWritten, nullptr);
    CloseHandle(hFile);
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
    PressKeys({ VK_F10, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN });
    ASSERT_TRUE(WaitUntil([&] { return !m_marlin.PopupMenu(); }));
    SelectAdapter(PPP_ADAPTER);
    EXPECT_EQ("PPP Adapter", Narrow(Text(Item(IDC_ADAPTER))));
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

TEST_F(MarlinTest, CancelAfterChangesWritesNothing)
{
    Start();
    Type(Item(IDC_WINDOW_SIZE), L"20000");
    EXPECT_TRUE(ShowPage(m_hSheet, PMTU));
    Click(Item(IDC_PMTU_DISABLE));
    m_marlin.Activate();
    PressKeys({ VK_ESCAPE });
    EXPECT_TRUE(m_marlin.HasEnded());
    EXPECT_EQ("dword 16384", StoredValue(ETHERNET, WINDOW));
    EXPECT_EQ("absent", StoredValue(PARMS, L"EnablePMTUDiscovery"));
}

TEST_F(MarlinTest, WithoutAdaptersTheWindowFieldIsClosed)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PPP);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ETHERNET);
    Start();
    EXPECT_EQ(0, SendMessageW(Item(IDC_ADAPTER), CB_GETCOUNT, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINDOW_SIZE)));
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

// "Default" gives every adapter the stack-wide window, 17520.
INSTANTIATE_TEST_SUITE_P(, KeysTest, ::testing::Values(
    Keys{ "F10DownEnterChoosesDefault", { VK_F10, VK_DOWN, VK_RETURN }, "17520", false },
    Keys{ "AltDownEnterChoosesDefault", { VK_MENU, VK_DOWN, VK_RETURN }, "17520", false },
    Keys{ "EnterOpensThePopUp", { VK_F10, VK_RETURN, VK_RETURN }, "17520", false },
    Keys{ "RightThenLeftComesBack", { VK_F10, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN }, "17520", false },
    Keys{ "RightInAPopUpMovesToTheNext", { VK_F10, VK_DOWN, VK_RIGHT, VK_RETURN }, "16384", true },
    Keys{ "EscapeLeavesTheMenuNotTheSheet", { VK_F10, VK_DOWN, VK_ESCAPE, VK_ESCAPE }, "16384", false }),
    [](const ::testing::TestParamInfo<Keys> &info) { return info.param.pszName; });

TEST_F(MarlinTest, CtrlTabAndCtrlPageDownTurnThePages)
{
    Start();
    PressKeys({ VK_TAB }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return CurrentPageIndex(m_hSheet) == TTL; }, 2000));
    PressKeys({ VK_NEXT }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return CurrentPageIndex(m_hSheet) == PMTU; }, 2000));
    PressKeys({ VK_PRIOR }, VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return CurrentPageIndex(m_hSheet) == TTL; }, 2000));
}

// ---- What OK does with what the user entered ----

struct Entry
{
    const char *pszName;
    std::function<void(HWND)> enter;                 // on the sheet, on RWIN with the PPP adapter selected
    int nScalingAnswer;                              // IDYES or IDNO to the question, 0 where none comes
    const wchar_t *pszRefusal;                       // the message that keeps the sheet open, or null
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
        ExpectBox(SCALING, MB_YESNO | MB_ICONQUESTION, test.nScalingAnswer);
        if (test.nScalingAnswer == IDYES)
        {
            EXPECT_EQ(RWIN, CurrentPageIndex(m_hSheet));
            EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_WINDOW_SCALING), BM_GETCHECK, 0, 0));
        }
    }
    if (!test.pszRefusal)
    {
        ExpectSaved();
        EXPECT_EQ(test.pszWritten, StoredValue(test.pszPath, test.pszValue));
        return;
    }
    bool bWindow = test.pszRefusal == WINDOW_RANGE;
    ExpectBox(test.pszRefusal, MB_OK | MB_ICONSTOP);
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
void PasteWindow(HWND hSheet)
{
    Type(Control(hSheet, IDC_WINDOW_SIZE), L"");
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, sizeof(L"big"));
    memcpy(GlobalLock(hText), L"big", sizeof(L"big"));
    GlobalUnlock(hText);
    SetClipboardData(CF_UNICODETEXT, hText);
    CloseClipboard();
    PressKeys({ 'V' }, VK_CONTROL);
}
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
    Entry{ "WindowEmptied", std::bind(Window, _1, L""), 0, WINDOW_RANGE },
    Entry{ "WindowZero", std::bind(Window, _1, L"0"), 0, WINDOW_RANGE },
    Entry{ "WindowPasted", PasteWindow, 0, WINDOW_RANGE },
    Entry{ "WindowAboveTheLargestScaled", std::bind(Window, _1, L"1073725441"), 0, WINDOW_RANGE },
    Entry{ "WindowTheLargestScaled", std::bind(Window, _1, L"1073725440"), IDNO, nullptr, PPP, WINDOW,
           "dword 1073725440" },
    Entry{ "Window65535NeedsNoScaling", std::bind(Window, _1, L"65535"), 0, nullptr, PARMS,
           L"TCP1323Opts", "dword 2" },
    Entry{ "Window65536ScalingDeclined", std::bind(Window, _1, L"65536"), IDNO, nullptr, PARMS,
           L"TCP1323Opts", "dword 2" },
    Entry{ "Window65536ScalingAccepted", std::bind(Window, _1, L"65536"), IDYES, nullptr, PARMS,
           L"TCP1323Opts", "absent" },
    Entry{ "TtlTenDigits", std::bind(Ttl, _1, L"9999999999"), 0, TTL_RANGE },
    Entry{ "Ttl0", std::bind(Ttl, _1, L"0"), 0, TTL_RANGE },
    Entry{ "Ttl256", std::bind(Ttl, _1, L"256"), 0, TTL_RANGE },
    Entry{ "Ttl255", std::bind(Ttl, _1, L"255"), 0, nullptr, PARMS, L"DefaultTTL", "dword 255" },
    Entry{ "SwitchesOff", Switches, 0, nullptr, PARMS, L"EnablePMTUDiscovery", "dword 0" }),
    [](const ::testing::TestParamInfo<Entry> &info) { return info.param.pszName; });

TEST_F(MarlinTest, WindowFieldFollowsTheSelectionAfterAResetShrankTheTable)
{
    Start();
    SelectAdapter(PPP_ADAPTER);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm\\NE20001"));
    m_marlin.Activate();
    PressKeys({ VK_F10, VK_DOWN, VK_DOWN, VK_RETURN });   // Settings, Reset
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
    ExpectBox(SAVE_FAILED, MB_OK | MB_ICONSTOP);
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
    PressKeys({ VK_F10, VK_DOWN, VK_RETURN });   // Settings, Default
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
    WriteText(strFolder, "not a folder");
    Start();
    PressKeys({ VK_F10, VK_DOWN, VK_RETURN });   // Settings, Default
    ASSERT_TRUE(WaitUntil([&] { return !m_marlin.PopupMenu(); }));
    PressKeys({ VK_RETURN });
    HWND hBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hBox = m_marlin.Box()) != nullptr; }));
    std::string strText = Narrow(ReadMessageBox(hBox).strText);
    EXPECT_EQ(0u, strText.find("Nothing was changed: a backup of the current settings could not be written in " +
                               Narrow(strFolder) + " (")) << strText;
    ExpectBox(ReadMessageBox(hBox).strText.c_str(), MB_OK | MB_ICONSTOP);
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
        const wchar_t *pszMessage;
    } cases[] = {
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:x\r\n", BAD_FILE },
        { "[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\nIF BSP_LONGHAUL\r\n\"DefaultTTL\"=dword:20\r\n",
          L"is not a registry file that Marlin can read. Line 2: this IF has no ENDIF." },
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm]\r\n\"a\"=\"\\0\"\r\n",
          L"is not a registry file that Marlin can read. Line 3: a quoted name or string holds \\0, which regedit cannot read." },
    };
    for (const auto &test : cases)
    {
        std::wstring strFile = ScratchFolder(L"broken", {}) + L"\\broken.reg";
        WriteText(strFile, test.pszText);
        CProgram marlin;
        ASSERT_TRUE(marlin.Start(WindowsPath(MARLIN_EXE), L"", strFile));
        EXPECT_EQ(nullptr, marlin.Sheet());
        HWND hBox = marlin.Box();
        ASSERT_TRUE(hBox) << "no message";
        MessageBoxSeen seen = ReadMessageBox(hBox);
        EXPECT_EQ(Narrow(strFile + L" ") + Narrow(test.pszMessage), Narrow(seen.strText));
        EXPECT_EQ("Marlin", Narrow(seen.strCaption));
        EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), seen.nType);
        EXPECT_TRUE(Answer(hBox, IDOK));
        EXPECT_EQ(1u, marlin.ExitCode());
        EXPECT_EQ(test.pszText, ReadFileText(strFile));
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
    WriteText(strFile, IMAGE);
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
    ExpectBox((L"The new settings were written to " + strFile + L".").c_str(), MB_OK | MB_ICONEXCLAMATION);
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
        const wchar_t *pszStart, *pszEnd;   // of the message, around the file's name
    } cases[] = {
        { "read-only", nullptr,
          [](const std::wstring &strFile, bool bBlock) {
              SetFileAttributesW(strFile.c_str(), bBlock ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
          },
          L"", L" is read-only, so nothing was written to it. Check it out or clear its read-only attribute, then tap "
               L"OK again, or Cancel to leave it as it is." },
        { "no room for its new bytes", nullptr,
          [](const std::wstring &strFile, bool bBlock) {
              bBlock ? CreateDirectoryW((strFile + L".marlin-new").c_str(), nullptr) : RemoveDirectoryW((strFile + L".marlin-new").c_str());
          },
          L"The new settings could not be written to ", L"). The file was left as it was. Close this message, then tap "
                                                        L"OK to try again, or Cancel to leave it as it is." },
        { "a TTL only a branch not taken sets", IN_A_BRANCH, nullptr, L"The new settings cannot be written into ",
          L" so that it reads back exactly as set and keeps every other value, whatever the build variables. The file "
          L"was left as it was. Change the settings, or tap Cancel to leave it as it is." },
    };
    for (const auto &test : cases)
    {
        SCOPED_TRACE(test.pszName);
        std::wstring strFile = WindowsPath(LOG_DIR) + L"\\unwritten\\device.reg";
        SetFileAttributesW(strFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        ScratchFolder(L"unwritten", { { WindowsPath(SAMPLE_DEVICE_REG), L"device.reg" } });
        if (test.pszText)
            WriteText(strFile, test.pszText);
        const std::string strBefore = ReadFileText(strFile);
        if (test.block)
            test.block(strFile, true);
        Start(WindowsPath(MARLIN_EXE), L"", strFile);
        ASSERT_TRUE(ShowPage(m_hSheet, TTL));
        Click(Item(IDC_TTL_32));
        PressKeys({ VK_RETURN });
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = m_marlin.Box()) != nullptr; }));
        std::wstring strText = ReadMessageBox(hBox).strText, strStart = test.pszStart + strFile;
        EXPECT_EQ(Narrow(strStart), Narrow(strText.substr(0, strStart.size())));
        EXPECT_EQ(Narrow(test.pszEnd), Narrow(strText.substr(strText.size() - std::min(strText.size(), wcslen(test.pszEnd)))));
        ExpectBox(strText.c_str(), MB_OK | MB_ICONSTOP);
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
        ExpectBox((L"The new settings were written to " + strFile + L".").c_str(), MB_OK | MB_ICONEXCLAMATION);
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
        PressKeys({ VK_F10, VK_DOWN, VK_UP, VK_RETURN });   // Settings: the last item
        HWND hDialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hDialog = m_marlin.OtherDialog()) != nullptr; })) << "no file dialog";
        EXPECT_EQ(m_hSheet, GetWindow(hDialog, GW_OWNER));
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
    WriteText(strFile, "Windows Registry Editor Version 5.00\r\n\r\n"
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
        const char *pszMessage;
    } cases[] = {
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=\"open\r\n",
          " is not a registry file that Marlin can read. Line 3: a quoted name or string is not closed." },
        { "REGEDIT4\r\n[HKEY_CURRENT_USER\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:20\r\n",
          " is not a registry file that Marlin can read. Line 2: a backup holds keys of HKEY_LOCAL_MACHINE only." },
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip]\r\n\"DefaultTTL\"=dword:20\r\n",
          " holds none of the settings Marlin manages, so nothing was changed." },
    };
    Start();
    for (const auto &test : cases)
    {
        std::wstring strFile = ScratchFolder(L"restore", {}) + L"\\other.reg";
        WriteText(strFile, test.pszText);
        m_marlin.Activate();
        Restore(strFile);
        ExpectBox((strFile + std::wstring(test.pszMessage, test.pszMessage + strlen(test.pszMessage))).c_str(),
                  MB_OK | MB_ICONSTOP);
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
    std::string strDocument = std::string(MARLIN_EXE).substr(0, std::string(MARLIN_EXE).rfind('/')) + "/marlin.htm";
    std::string strPage = ReadFileText(WindowsPath(links.Browsed()[0].substr(strlen("file://"))));
    EXPECT_NE(std::string::npos, strPage.find("content=\"0; url=file://" + strDocument + "#Main_Contents\"")) << strPage;
    EXPECT_NE(std::string::npos, ReadFileText(WindowsPath(strDocument)).find("id=\"Main_Contents\""));
    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_RETURN });
    EXPECT_TRUE(WaitUntil([&] { return links.Browsed().size() == 2; })) << "Help, Contents opens it again";
}

TEST_F(MarlinTest, HelpWithoutItsDocumentSaysSoInAMessageOfItsOwn)
{
    CLinkRecorder links;
    Start(ScratchFolder(L"alone", { { WindowsPath(MARLIN_EXE), L"marlin.exe" } }) + L"\\marlin.exe");
    PressKeys({ VK_F1 });
    ExpectBox(NO_HELP, MB_OK | MB_ICONEXCLAMATION);
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
    EXPECT_EQ("file:marlin.htm#Main_Contents",
              Narrow(std::wstring(reinterpret_cast<const wchar_t *>(strLog.data()), strLog.size() / 2)));
    EXPECT_EQ(1u, links.Browsed().size()) << "no browser this time";
}

// ---- The About box ----

// A text's width in the font the dialog manager makes from the About box's
// template ("System", 9 points), or in the links' (the system font).
int TextWidth(const std::wstring &strText, bool bLink)
{
    HDC hDC = GetDC(nullptr);
    HFONT hFont = CreateFontW(-MulDiv(9, GetDeviceCaps(hDC, LOGPIXELSY), 72), 0, 0, 0, FW_DONTCARE, FALSE, FALSE,
                              FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, L"System");
    HGDIOBJ hOld = SelectObject(hDC, bLink ? GetStockObject(SYSTEM_FONT) : hFont);
    SIZE size = {};
    GetTextExtentPoint32W(hDC, strText.c_str(), static_cast<int>(strText.size()), &size);
    SelectObject(hDC, hOld);
    DeleteObject(hFont);
    ReleaseDC(nullptr, hDC);
    return size.cx;
}

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
        PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN });   // Help: Contents, (separator), About
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
    EXPECT_EQ("Tuning TCP/IP Parameters", Narrow(Text(GetDlgItem(hAbout, IDC_ABOUT_DESCRIPTION))));
    RECT rcAbout = {}, rcSheet = {};
    GetWindowRect(hAbout, &rcAbout);
    GetWindowRect(m_hSheet, &rcSheet);
    EXPECT_LE(std::abs(rcAbout.left + rcAbout.right - rcSheet.left - rcSheet.right), 2) << "centred across";
    EXPECT_LE(std::abs(rcAbout.top + rcAbout.bottom - rcSheet.top - rcSheet.bottom), 2) << "centred down";
    for (HWND hItem = GetWindow(hAbout, GW_CHILD); hItem; hItem = GetWindow(hItem, GW_HWNDNEXT))
    {
        if ((GetWindowLongW(hItem, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        RECT rcItem = {};
        GetClientRect(hItem, &rcItem);
        int nID = GetDlgCtrlID(hItem);
        bool bLink = nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL;
        EXPECT_LE(TextWidth(Text(hItem), bLink), rcItem.right) << "\"" << Narrow(Text(hItem)) << "\" is cut off";
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
