// marlin.exe and files: the backup OK writes, registry files edited in
// place of the system registry, Restore, and the File menu.
#include "MarlinTest.h"

namespace
{

const Wording UNTITLED = { L"Untitled - Marlin", L"無題 - Marlin" };
const Wording NO_DEVICE_NOTE = { L"This computer keeps no handheld's settings. Open a device's registry file, or save these "
                                 L"settings for devices.",
                                 L"このコンピューターにはハンドヘルドの設定がありません。デバイスのレジストリ ファイルを開くか、"
                                 L"この設定をデバイス用に保存してください。" };
const Wording SAVE_CHANGES = { L"Save changes to %1?", L"%1 への変更内容を保存しますか?" };
const Wording DEVICE_REGISTRY = { L"this device's registry", L"このデバイスのレジストリ" };
const Wording OPEN_TYPES = { L"Registry files (*.reg)", L"レジストリ ファイル (*.reg)" };
const Wording SAVE_TYPES = { L"Registry file (*.reg)", L"レジストリ ファイル (*.reg)" };
const Wording BAD_NUMBER_FILE = { L"%1 is not a registry file that Marlin can read. Line 3: a number is not written in "
                                  L"hexadecimal digits that fit.",
                                  L"%1 は Marlin が読み取れるレジストリ ファイルではありません。3 行目: 数値が、範囲に"
                                  L"収まる 16 進数で記述されていません。" };
const Wording BACKUP_FAILED_START = { L"Nothing was changed: a backup of the current settings could not be written in %1 (",
                                      L"何も変更していません。現在の設定のバックアップを %1 に書き込めませんでした (" };
const Wording FILE_WRITTEN = { L"The new settings were written to %1.", L"新しい設定を %1 に書き込みました。" };
const Wording RESTORE_FILTER = { L"Registry Files (*.reg)", L"レジストリ ファイル (*.reg)" };

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
        ChooseFile(RESTORE_FILTER, strFile);
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

// ---- The File menu ----

bool HasComm()
{
    HKEY hKey = nullptr;
    bool bHas = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Comm", 0, KEY_READ, &hKey) == ERROR_SUCCESS;
    RegCloseKey(hKey);
    return bHas;
}

// A computer's registry holds no handheld's settings: the sheet offers
// untitled ones and says why. OK saves them as a file, which regedit
// imports to exactly what the sheet showed; the computer's registry is
// never written.
TEST_F(MarlinTest, OnAComputerOkSavesUntitledSettingsAsAFileThatRegeditImports)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
    std::vector<std::wstring> backups = FilesIn(BackupFolder());
    std::wstring strFile = ScratchFolder(L"untitled", {}) + L"\\settings.reg";
    DeleteFileW(strFile.c_str());
    Start();
    EXPECT_EQ(Narrow(UNTITLED()), Narrow(Text(m_hSheet)));
    HWND hNote = Item(IDC_NO_DEVICE_NOTE);
    RECT rcNote = {}, rcText = {};
    GetClientRect(hNote, &rcNote);
    rcText.right = rcNote.right;
    HDC hScreen = GetDC(nullptr);
    LOGFONTW font = TemplateFont();
    HGDIOBJ hOldFont = SelectObject(hScreen, CreateFontIndirectW(&font));
    DrawTextW(hScreen, NO_DEVICE_NOTE().c_str(), -1, &rcText, DT_CALCRECT | DT_WORDBREAK);
    DeleteObject(SelectObject(hScreen, hOldFont));
    ReleaseDC(nullptr, hScreen);
    EXPECT_TRUE(IsWindowVisible(hNote));
    EXPECT_EQ(Narrow(NO_DEVICE_NOTE()), Narrow(Text(hNote)));
    EXPECT_LE(rcText.bottom, rcNote.bottom) << "the note is cut off";
    EXPECT_EQ("", DrawnWrong(hNote, TemplateFont()));
    EXPECT_EQ(1, SendMessageW(Item(IDC_ADAPTER), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(Narrow(PPP_ADAPTER_NAME()), Narrow(Text(Item(IDC_ADAPTER))));
    EXPECT_EQ("17520", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN });   // Settings, Optimize for FOMA
    Ttl(m_hSheet, L"100");
    for (int nTry = 0; nTry < 2; nTry++)
    {
        m_marlin.Activate();
        PressKeys({ VK_RETURN });
        if (nTry)
            ChooseFile(SAVE_TYPES, strFile);
        else
        {
            HWND hDialog = nullptr;
            ASSERT_TRUE(WaitUntil([&] { return (hDialog = m_marlin.OtherDialog()) != nullptr; })) << "no Save As";
            PressKeys({ VK_ESCAPE });
            ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hDialog); }));
            EXPECT_EQ("100", Narrow(Text(Item(IDC_TTL)))) << "the sheet stays with its values";
        }
    }
    EXPECT_TRUE(m_marlin.HasEnded());
    EXPECT_FALSE(HasComm()) << "the computer's registry was written";
    EXPECT_EQ(backups, FilesIn(BackupFolder())) << "a backup of the computer's registry";
    SetDword(PARMS, L"SackOpts", 0);
    SetDword(PPP, WINDOW, 1000);
    ASSERT_TRUE(ImportRegFile(strFile));
    EXPECT_EQ("dword 64240", StoredValue(PPP, WINDOW));
    EXPECT_EQ("dword 100", StoredValue(PARMS, L"DefaultTTL"));
    EXPECT_EQ("absent", StoredValue(PARMS, L"SackOpts")) << "on, the default: deleted";
}

// Open, from the keyboard and from the menu: changes not yet written are
// offered to be saved, and each answer does what it says; a file that is
// refused leaves the sheet on its document.
TEST_F(MarlinTest, OpenAsksToSaveChangesFirstAndARefusedFileLeavesTheDocument)
{
    std::wstring strFolder = ScratchFolder(L"open", { { WindowsPath(SAMPLE_DEVICE_REG), L"device.reg" } });
    std::wstring strDevice = strFolder + L"\\device.reg", strBroken = strFolder + L"\\broken.reg";
    WriteFileText(strBroken, "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:x\r\n");
    Start();
    ASSERT_TRUE(ShowPage(m_hSheet, TTL));
    ASSERT_TRUE(ClickRadio(IDC_TTL_32));
    PressKeys({ 'O' }, VK_CONTROL);
    ExpectBox(SAVE_CHANGES(DEVICE_REGISTRY()), MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDCANCEL);
    EXPECT_FALSE(WaitUntil([&] { return m_marlin.OtherDialog() != nullptr; }, 1000)) << "Cancel opened a dialog";
    m_marlin.Activate();
    PressKeys({ 'O' }, VK_CONTROL);
    ExpectBox(SAVE_CHANGES(DEVICE_REGISTRY()), MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDNO);
    ChooseFile(OPEN_TYPES, strDevice);
    EXPECT_TRUE(WaitUntil([&] { return Text(m_hSheet) == L"device.reg - Marlin"; })) << Narrow(Text(m_hSheet));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_TTL_64), BM_GETCHECK, 0, 0)) << "the file's TTL, the change dropped";
    ASSERT_TRUE(ClickRadio(IDC_TTL_128));
    PressKeys({ VK_F10, VK_DOWN, VK_RETURN });   // File, Open...
    ExpectBox(SAVE_CHANGES(L"device.reg"), MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDYES);
    ExpectBox(FILE_WRITTEN(strDevice), MB_OK | MB_ICONEXCLAMATION);
    ChooseFile(OPEN_TYPES, strBroken);
    ExpectBox(BAD_NUMBER_FILE(strBroken), MB_OK | MB_ICONSTOP);
    EXPECT_EQ("device.reg - Marlin", Narrow(Text(m_hSheet)));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_TTL_128), BM_GETCHECK, 0, 0));
    EXPECT_EQ(std::string::npos, ReadFileText(strDevice).find("DefaultTTL")) << "128, the default, saved by Yes";
    EXPECT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL")) << "the registry was written";
}

// A file dropped on the sheet: the window is handed the file's name in its
// own memory, as a drop from the shell or the host's file manager hands it.
TEST_F(MarlinTest, AFileDroppedOnTheSheetOpens)
{
    std::wstring strFile = ScratchFolder(L"dropped", { { WindowsPath(SAMPLE_DEVICE_REG), L"dropped.reg" } }) + L"\\dropped.reg";
    Start();
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(m_hSheet, &dwProcessId);
    std::vector<BYTE> drop(sizeof(DROPFILES) + (strFile.size() + 2) * sizeof(wchar_t));
    DROPFILES *pDrop = reinterpret_cast<DROPFILES *>(drop.data());
    pDrop->pFiles = sizeof(DROPFILES);
    pDrop->fWide = TRUE;
    memcpy(pDrop + 1, strFile.c_str(), strFile.size() * sizeof(wchar_t));
    HANDLE hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcessId);
    void *pRemote = VirtualAllocEx(hProcess, nullptr, drop.size(), MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(pRemote && WriteProcessMemory(hProcess, pRemote, drop.data(), drop.size(), nullptr));
    CloseHandle(hProcess);
    PostMessageW(m_hSheet, WM_DROPFILES, reinterpret_cast<WPARAM>(pRemote), 0);
    EXPECT_TRUE(WaitUntil([&] { return Text(m_hSheet) == L"dropped.reg - Marlin"; })) << Narrow(Text(m_hSheet));
}

// Save As a device image's file writes what the image build reads, only
// what differs from the defaults; the sheet then edits that file, which
// reads back as it was written: OK finds nothing to write.
TEST_F(MarlinTest, SaveAsADeviceImageFileWritesWhatDiffersAndTheSheetEditsIt)
{
    std::wstring strFile = ScratchFolder(L"saved", {}) + L"\\project.reg";
    DeleteFileW(strFile.c_str());
    Start();
    PressKeys({ VK_F10, VK_DOWN, VK_DOWN, VK_RETURN });   // File, Save As...
    ChooseFile(SAVE_TYPES, strFile, 2);
    EXPECT_TRUE(WaitUntil([&] { return Text(m_hSheet) == L"project.reg - Marlin"; })) << Narrow(Text(m_hSheet));
    EXPECT_EQ("[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:00000040\r\n\"SackOpts\"=dword:00000000\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Comm\\NE20001\\Parms\\TcpIp]\r\n\"TcpWindowSize\"=dword:00004000\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Comm\\ppp1\\Parms\\TcpIp]\r\n\"TcpWindowSize\"=dword:00007d78\r\n\r\n",
              ReadFileText(strFile));
    SelectAdapter(PPP_ADAPTER);
    EXPECT_EQ("32120", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    PressKeys({ VK_RETURN });
    EXPECT_TRUE(m_marlin.HasEnded()) << "no message: the file holds what the sheet shows";
}

} // namespace
