// marlin.exe as a user meets it: a process of its own, found through its
// windows and driven from this process with real input. Every wait has a
// limit; a program still running when its object goes is ended.
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
    ~CProgram() { Kill(); }
    CProgram(const CProgram &) = delete;
    CProgram &operator=(const CProgram &) = delete;

    // Starts the program in the folder given or its own and waits for its sheet.
    bool Start(const std::wstring &strExe, const std::wstring &strDirectory = L"");
    // The program whose sheet has this caption, started by someone else.
    bool Attach(const wchar_t *pszCaption);
    bool HasEnded(DWORD dwMilliseconds = WAIT_MS) const;
    void Kill();

    // The program's visible top-level windows; null when there is none.
    HWND Sheet() const;
    HWND Box() const;
    HWND AboutBox() const;
    HWND PopupMenu() const;
    HWND OtherDialog() const;   // the shell's own message, say
    // The sheet in front, so that keys go to it.
    void Activate() const;

private:
    HWND Find(bool (*pfnIs)(HWND)) const;

    PROCESS_INFORMATION m_process = {};
};

// Another process's windows, read.
std::wstring Text(HWND hWnd);
HWND CurrentPage(HWND hSheet);
int CurrentPageIndex(HWND hSheet);
// Turns the sheet to the page and waits until it shows; false when it does not.
bool ShowPage(HWND hSheet, int nPage);
HWND Control(HWND hSheet, int nID);   // on the page in front
HWND FocusOf(HWND hWnd);              // in hWnd's thread

struct MessageBoxSeen
{
    std::wstring strText;
    std::wstring strCaption;
    HWND hOwner = nullptr;
    UINT nType = 0;   // the MB_ buttons and icon, as far as the screen shows them
};
MessageBoxSeen ReadMessageBox(HWND hBox);
// How many of a window's pixels on the screen are red, yellow and blue.
struct Colours
{
    int nRed, nYellow, nBlue;
};
Colours ColoursOnScreen(HWND hWnd);

// Real input: keys to the window in front, each pressed and released in
// turn with the modifier held throughout; clicks at a window's centre.
void PressKeys(std::initializer_list<WORD> keys, WORD wModifier = 0);
void TypeText(const std::wstring &str);
void Click(HWND hWnd);
// Clicks a message box's button and waits for the box to go.
bool Answer(HWND hBox, int nButton);

// The registry, with the platform's calls; paths under HKEY_LOCAL_MACHINE.
bool ImportRegFile(const std::wstring &strFile);   // with regedit /S
void SetDword(const wchar_t *pszPath, const wchar_t *pszName, DWORD dwValue);
std::string RegValue(const wchar_t *pszPath, const wchar_t *pszName);   // "dword 64", "absent"

// The build's files seen from Windows, and what a file holds.
std::wstring WindowsPath(const std::string &strUnixPath);
std::string ReadFileText(const std::wstring &strPath);

// What the host's browser and mail program were handed under Wine: a script
// (record-link.sh) stands in for both while this lives.
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

// A folder of the test's own in the build tree, with copies of these files.
std::wstring ScratchFolder(const wchar_t *pszName, std::vector<std::pair<std::wstring, const wchar_t *>> files);
