// marlin.exe and files: the backup OK writes, registry files edited in
// place of the system registry, Restore, and the File menu.
#include "MarlinTest.h"

namespace
{

const Wording UNTITLED = Words("UNTITLED");
const Wording SAVE_CHANGES = Words("SAVE_CHANGES");
const Wording DEVICE_REGISTRY = Words("DEVICE_REGISTRY");
const Wording OPEN_TYPES = Words("OPEN_TYPES");
const Wording SAVE_TYPES = Words("SAVE_TYPES");
const Wording BAD_NUMBER_FILE = Words("BAD_NUMBER_FILE");
const Wording BACKUP_FAILED_START = Words("BACKUP_FAILED_START");
const Wording FILE_WRITTEN = Words("FILE_WRITTEN");
const Wording RESTORE_FILTER = Words("RESTORE_FILTER");

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

// Files that do not parse, regedit's and a device image's: the box names the
// file, the line and the reason.
const struct
{
    const char *pszText;
    Wording message;
} BROKEN_FILES[] = {
    { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:x\r\n", BAD_NUMBER_FILE },
    { "[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\nIF BSP_LONGHAUL\r\n\"DefaultTTL\"=dword:20\r\n",
      Words("IF_WITHOUT_ENDIF") },
    { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm]\r\n\"a\"=\"\\0\"\r\n",
      Words("NUL_IN_QUOTES") },
};

// On the command line, such a file opens no sheet; Open refuses them all
// (OpenAsksToSaveChangesFirst...).
TEST_F(MarlinTest, ABrokenRegistryFileOpensNoSheetAndChangesNothing)
{
    std::wstring strFile = ScratchFolder(L"broken", {}) + L"\\broken.reg";
    WriteFileText(strFile, BROKEN_FILES[1].pszText);
    ASSERT_TRUE(m_marlin.Start(WindowsPath(MARLIN_EXE), L"", strFile));
    EXPECT_EQ(nullptr, m_marlin.Sheet());
    ExpectBox(BROKEN_FILES[1].message(strFile), MB_OK | MB_ICONSTOP);   // owned by no sheet
    EXPECT_EQ(1u, m_marlin.ExitCode());
    EXPECT_EQ(BROKEN_FILES[1].pszText, ReadFileText(strFile));
}

// A device image's registry file, opened where the build's variables are
// set, is edited in place of the system registry: the sheet shows what the
// build would make of it, and OK changes the line that decides the value, in
// place of the $(NAME) that gave it.
TEST_F(MarlinTest, AnImageFileIsEditedUnderTheBuildVariables)
{
    const std::string IMAGE = ReadFileText(WindowsPath(SAMPLE_IMAGE_REG));
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
          Words("READ_ONLY") },
        { "no room for its new bytes", nullptr,
          [](const std::wstring &strFile, bool bBlock) {
              bBlock ? CreateDirectoryW((strFile + L".marlin-new").c_str(), nullptr) : RemoveDirectoryW((strFile + L".marlin-new").c_str());
          },
          Words("NOT_WRITTEN") },
        { "a TTL only a branch not taken sets", IN_A_BRANCH, nullptr,
          Words("NO_LINE_FOR_VALUE") },
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

// Settings, "Restore Backup...", a file chosen in the platform's own dialog:
// files that are no backups change nothing; a backup is read into the sheet,
// and OK writes it.
TEST_F(MarlinTest, RestoreReadsABackupIntoTheSheetAndOkWritesItOtherFilesChangeNothing)
{
    const struct
    {
        const char *pszText;
        Wording message;
    } cases[] = {
        { "REGEDIT4\r\n[HKEY_CURRENT_USER\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:20\r\n",
          Words("BACKUP_NOT_MACHINE") },
        { "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip]\r\n\"DefaultTTL\"=dword:20\r\n",
          Words("NO_MANAGED_SETTINGS") },
    };
    Start();
    std::wstring strFile = ScratchFolder(L"restore", {}) + L"\\backup.reg";
    auto Restore = [&] {
        PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_UP, VK_RETURN });   // Settings: the last item
        ChooseFile(RESTORE_FILTER, strFile);
    };
    for (const auto &test : cases)
    {
        WriteFileText(strFile, test.pszText);
        m_marlin.Activate();
        Restore();
        ExpectBox(test.message(strFile), MB_OK | MB_ICONSTOP);
    }
    SelectAdapter(PPP_ADAPTER);
    EXPECT_EQ("32120", Narrow(Text(Item(IDC_WINDOW_SIZE)))) << "changed by a file that is no backup";
    WriteFileText(strFile, "Windows Registry Editor Version 5.00\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:00000020\r\n\"SackOpts\"=-\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\Comm\\ppp1\\Parms\\TcpIp]\r\n\"TcpWindowSize\"=dword:0000fa00\r\n");
    m_marlin.Activate();
    Restore();
    EXPECT_TRUE(WaitUntil([&] { return Text(Item(IDC_WINDOW_SIZE)) == L"64000"; }));
    EXPECT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL")) << "nothing written before OK";
    PressKeys({ VK_RETURN });
    ExpectSaved();
    EXPECT_EQ("dword 32", StoredValue(PARMS, L"DefaultTTL"));
    EXPECT_EQ("absent", StoredValue(PARMS, L"SackOpts"));
    EXPECT_EQ("dword 64000", StoredValue(PPP, WINDOW));
    EXPECT_EQ("dword 16384", StoredValue(ETHERNET, WINDOW)) << "not in the backup: as it was";
}

// ---- The File menu ----

// A computer gets untitled settings (the note: PagesSpeakTheUsersLanguage...),
// which OK asks where to save. Saved as regedit's file, regedit imports
// them as the sheet showed them; as an image's, only what differs from the
// defaults. The computer's registry is never written.
TEST_F(MarlinTest, OnAComputerUntitledSettingsAreSavedAsFilesForDevices)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
    std::vector<std::wstring> backups = FilesIn(BackupFolder());
    std::wstring strFolder = ScratchFolder(L"saved", {});
    Start();
    EXPECT_EQ(Narrow(UNTITLED()), Narrow(Text(m_hSheet)));
    EXPECT_EQ(Narrow(PPP_ADAPTER_NAME()), Narrow(Text(Item(IDC_ADAPTER))));
    EXPECT_EQ("17520", Narrow(Text(Item(IDC_WINDOW_SIZE))));
    PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN });   // Settings, Optimize for FOMA
    Ttl(m_hSheet, L"100");
    m_marlin.Activate();
    PressKeys({ VK_RETURN });
    HWND hDialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hDialog = m_marlin.OtherDialog()) != nullptr; })) << "OK opened no Save As";
    PressKeys({ VK_ESCAPE });
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hDialog); }));
    EXPECT_EQ("100", Narrow(Text(Item(IDC_TTL)))) << "the sheet stays with its values";
    for (const wchar_t *pszName : { L"settings.reg", L"project.reg" })
    {
        DeleteFileW((strFolder + L"\\" + pszName).c_str());
        m_marlin.Activate();
        PressKeys({ VK_F10, VK_DOWN, VK_DOWN, VK_RETURN });   // File, Save As...
        ChooseFile(SAVE_TYPES, strFolder + L"\\" + pszName, pszName[0] == L'p');
        EXPECT_TRUE(WaitUntil([&] { return Text(m_hSheet) == pszName + std::wstring(L" - Marlin"); }));
    }
    EXPECT_EQ("[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n\"DefaultTTL\"=dword:00000064\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Comm\\ppp1\\Parms\\TcpIp]\r\n\"TcpWindowSize\"=dword:0000faf0\r\n\r\n",
              ReadFileText(strFolder + L"\\project.reg"));
    m_marlin.Activate();
    PressKeys({ VK_RETURN });
    EXPECT_TRUE(m_marlin.HasEnded()) << "a message: the file does not read back as the sheet shows";
    HKEY hComm = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Comm", 0, KEY_READ, &hComm)) << "written";
    EXPECT_EQ(backups, FilesIn(BackupFolder())) << "a backup of the computer's registry";
    SetDword(PARMS, L"SackOpts", 0);
    SetDword(PPP, WINDOW, 1000);
    ASSERT_TRUE(ImportRegFile(strFolder + L"\\settings.reg"));
    EXPECT_EQ("dword 64240", StoredValue(PPP, WINDOW));
    EXPECT_EQ("dword 100", StoredValue(PARMS, L"DefaultTTL"));
    EXPECT_EQ("absent", StoredValue(PARMS, L"SackOpts")) << "on, the default: deleted";
}

// Open, by key and by menu, of a file regedit exported: unsaved changes are
// offered to be saved first; a refused file leaves the sheet on its
// document. A dropped file opens: the window is handed its name in its own
// memory, as a drop from the shell or the host's file manager hands it.
TEST_F(MarlinTest, OpenAsksToSaveChangesFirstARefusedFileLeavesTheDocumentADroppedFileOpens)
{
    std::wstring strFolder = ScratchFolder(L"open", { { WindowsPath(SAMPLE_DEVICE_REG), L"dropped.reg" } });
    std::wstring strDevice = strFolder + L"\\device.reg", strBroken = strFolder + L"\\broken.reg";
    DeleteFileW(strDevice.c_str());
    CProgram regedit;
    ASSERT_TRUE(regedit.Run(L"regedit.exe /E \"" + strDevice + L"\" HKEY_LOCAL_MACHINE\\Comm") && regedit.HasEnded(30000));
    SetDword(PARMS, L"DefaultTTL", 100);
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
    for (const auto &broken : BROKEN_FILES)
    {
        WriteFileText(strBroken, broken.pszText);
        if (&broken != BROKEN_FILES)   // the first goes into the dialog Yes led to
        {
            m_marlin.Activate();
            PressKeys({ 'O' }, VK_CONTROL);
        }
        ChooseFile(OPEN_TYPES, strBroken);
        ExpectBox(broken.message(strBroken), MB_OK | MB_ICONSTOP);
    }
    EXPECT_EQ("device.reg - Marlin", Narrow(Text(m_hSheet)));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_TTL_128), BM_GETCHECK, 0, 0));
    EXPECT_EQ(std::string::npos, ReadFileText(strDevice).find("DefaultTTL")) << "128, the default, saved by Yes";
    EXPECT_EQ("dword 100", StoredValue(PARMS, L"DefaultTTL")) << "the registry was written";

    std::wstring strDropped = strFolder + L"\\dropped.reg";
    DROPFILES drop = { sizeof(DROPFILES), {}, FALSE, TRUE };
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(m_hSheet, &dwProcessId);
    HANDLE hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcessId);
    // Zeroed: the name and the list end there.
    BYTE *pRemote = static_cast<BYTE *>(VirtualAllocEx(hProcess, nullptr, sizeof(drop) + (strDropped.size() + 2) * 2,
                                                       MEM_COMMIT, PAGE_READWRITE));
    ASSERT_TRUE(pRemote && WriteProcessMemory(hProcess, pRemote, &drop, sizeof(drop), nullptr) &&
                WriteProcessMemory(hProcess, pRemote + sizeof(drop), strDropped.c_str(), strDropped.size() * 2, nullptr));
    CloseHandle(hProcess);
    PostMessageW(m_hSheet, WM_DROPFILES, reinterpret_cast<WPARAM>(pRemote), 0);
    EXPECT_TRUE(WaitUntil([&] { return Text(m_hSheet) == L"dropped.reg - Marlin"; })) << "nothing to save: no question";
}

} // namespace
