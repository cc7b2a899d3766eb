// marlin.exe as a user meets it: started as a process of its own, found
// through its windows, and driven from this process with real input. Every
// wait has a limit; a program still running when its test ends is ended.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

const DWORD WAIT_MS = 10000;

// Tries fn until it returns true or the time has passed; false then.
bool WaitUntil(const std::function<bool()> &fn, DWORD dwMilliseconds = WAIT_MS);

class CProgram
{
public:
    CProgram() = default;
    ~CProgram();
    CProgram(const CProgram &) = delete;
    CProgram &operator=(const CProgram &) = delete;

    // Starts the program with the command line's arguments, in the folder
    // given or the program's own, and waits for its sheet.
    bool Start(const std::wstring &strExe, const std::wstring &strDirectory = L"");
    bool HasEnded(DWORD dwMilliseconds = WAIT_MS);
    void Kill();

    // The program's visible top-level windows, null when there is none.
    HWND Sheet() const;
    HWND Box() const;
    HWND AboutBox() const;
    HWND PopupMenu() const;
    // Another dialog of the program's: the shell's own message, say.
    HWND OtherDialog() const;

    // The sheet in front, so that keys go to it.
    void Activate() const;

private:
    HWND FindWindow(const std::function<bool(HWND)> &fnIs) const;

    PROCESS_INFORMATION m_process = {};
};

// Reading another process's windows.
std::wstring Text(HWND hWnd);
HWND CurrentPage(HWND hSheet);
HWND Control(HWND hSheet, int nID);   // on the page in front
HWND FocusOf(HWND hWnd);               // the control with the keyboard focus in hWnd's thread

struct MessageBoxSeen
{
    std::wstring strText;
    std::wstring strCaption;
    HWND hOwner = nullptr;
    UINT nType = 0;   // MB_ buttons and icon, as far as they show on the screen
};
MessageBoxSeen ReadMessageBox(HWND hBox);

// Real input: keys to the window in front, clicks at a window's centre.
// Each key pressed and released in turn, with the modifier (VK_CONTROL, say)
// held down throughout.
void PressKeys(std::initializer_list<WORD> keys, WORD wModifier = 0);
void TypeText(const std::wstring &str);
void Click(HWND hWnd);
// Clicks a button of a message box and waits for the box to go.
bool Answer(HWND hBox, int nButton);

// The registry, through the platform's calls.
void DeleteComm();
// Imports a .reg file with the platform's regedit.
bool ImportRegFile(const std::wstring &strFile);
// "dword 64", "absent"; path under HKEY_LOCAL_MACHINE.
std::string RegValue(const wchar_t *pszPath, const wchar_t *pszName);

// Files: Windows paths of the build's files, and what a file holds.
std::wstring WindowsPath(const char *pszUnixPath);
std::string ReadFileText(const std::wstring &strPath);

// What the host's browser and mail program were handed under Wine: the
// recording script stands in for both.
class CLinkRecorder
{
public:
    CLinkRecorder();
    ~CLinkRecorder();
    std::vector<std::string> Browsed() const;
    std::vector<std::string> Mailed() const;

private:
    std::wstring m_strBrowserLog, m_strMailerLog;
};

// A folder of the test's own, removed with everything in it.
class CScratchFolder
{
public:
    explicit CScratchFolder(const std::wstring &strPath);
    ~CScratchFolder();
    const std::wstring &Path() const { return m_strPath; }
    // Copies a file into the folder under the name given.
    bool Add(const std::wstring &strFile, const wchar_t *pszName) const;

private:
    std::wstring m_strPath;
};

std::wstring FolderOf(const std::wstring &strPath);
