// marlin.exe as a user meets it: a process of its own, found through its
// windows and driven from this process with real input. Every wait has a
// limit; a program still running when its object goes is ended.
#pragma once

#include "resource.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

const DWORD WAIT_MS = 10000;
// A window of the program's that takes longer than this to answer is hung.
const UINT ANSWER_MS = 2000;

// Tries fn until it returns true or the time has passed; false then.
inline bool WaitUntil(const std::function<bool()> &fn, DWORD dwMilliseconds = WAIT_MS)
{
    for (ULONGLONG ullUntil = GetTickCount64() + dwMilliseconds; !fn(); Sleep(20))
        if (GetTickCount64() > ullUntil)
            return false;
    return true;
}

inline bool IsShown(HWND hWnd, const WCHAR *pszClass)
{
    WCHAR szClass[16] = {};
    GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
    return lstrcmpW(szClass, pszClass) == 0 && IsWindowVisible(hWnd);
}
inline bool IsSheet(HWND hWnd)
{
    return IsShown(hWnd, L"#32770") && FindWindowExW(hWnd, nullptr, WC_TABCONTROLW, nullptr);
}
inline bool IsAboutBox(HWND hWnd) { return IsShown(hWnd, L"#32770") && !IsSheet(hWnd) && GetDlgItem(hWnd, IDC_ABOUT_PRODUCT); }
inline bool IsMessageBox(HWND hWnd)
{
    return IsShown(hWnd, L"#32770") && !IsSheet(hWnd) && !IsAboutBox(hWnd) && GetDlgItem(hWnd, 0xFFFF) &&
           (GetDlgItem(hWnd, IDOK) || GetDlgItem(hWnd, IDYES));
}

class CProgram
{
public:
    CProgram() = default;
    ~CProgram() { Kill(); }
    CProgram(const CProgram &) = delete;
    CProgram &operator=(const CProgram &) = delete;

    bool Run(std::wstring strCommandLine, const std::wstring &strDirectory = L"")
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        return CreateProcessW(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                              strDirectory.empty() ? nullptr : strDirectory.c_str(), &startup, &m_process);
    }
    // Starts the program in the folder given or its own and waits for its
    // sheet, or for what it shows instead.
    bool Start(const std::wstring &strExe, const std::wstring &strDirectory = L"", const std::wstring &strArgument = L"")
    {
        return Run(L"\"" + strExe + L"\"" + (strArgument.empty() ? L"" : L" \"" + strArgument + L"\""), strDirectory) &&
               WaitUntil([this] { return Sheet() || Box(); });
    }
    DWORD ExitCode() const
    {
        DWORD dwCode = STILL_ACTIVE;
        return HasEnded() && GetExitCodeProcess(m_process.hProcess, &dwCode) ? dwCode : STILL_ACTIVE;
    }
    bool HasEnded(DWORD dwMilliseconds = WAIT_MS) const
    {
        return WaitForSingleObject(m_process.hProcess, dwMilliseconds) == WAIT_OBJECT_0;
    }
    void Kill()
    {
        if (!m_process.hProcess)
            return;
        TerminateProcess(m_process.hProcess, 1);   // fails harmlessly once it has ended
        WaitForSingleObject(m_process.hProcess, WAIT_MS);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
        m_process = {};
    }

    // The program's visible top-level windows; null when there is none.
    HWND Sheet() const { return Find(IsSheet); }
    HWND Box() const { return Find(IsMessageBox); }
    HWND AboutBox() const { return Find(IsAboutBox); }
    HWND PopupMenu() const { return Find([](HWND hWnd) { return IsShown(hWnd, L"#32768"); }); }
    HWND OtherDialog() const   // the shell's own message, the Window Calculator
    {
        return Find([](HWND hWnd) { return IsShown(hWnd, L"#32770") && !IsSheet(hWnd) && !IsAboutBox(hWnd); });
    }
    // The sheet in front, so that keys go to it.
    void Activate() const
    {
        HWND hSheet = Sheet();
        SetForegroundWindow(hSheet);
        WaitUntil([hSheet] { return GetForegroundWindow() == hSheet; }, 2000);
    }

private:
    HWND Find(bool (*pfnIs)(HWND)) const
    {
        struct Search
        {
            DWORD dwProcessId;
            bool (*pfnIs)(HWND);
            HWND hFound;
        } search = { m_process.dwProcessId, pfnIs, nullptr };
        EnumWindows([](HWND hWnd, LPARAM lParam) {
            Search *pSearch = reinterpret_cast<Search *>(lParam);
            DWORD dwProcessId = 0;
            GetWindowThreadProcessId(hWnd, &dwProcessId);
            if (dwProcessId != pSearch->dwProcessId || !pSearch->pfnIs(hWnd))
                return TRUE;
            pSearch->hFound = hWnd;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&search));
        return search.dwProcessId ? search.hFound : nullptr;
    }

    PROCESS_INFORMATION m_process = {};
};

// ---- The user's language ----

// ctest runs every scenario twice, the second time with a Japanese locale:
// Wine then gives this process and the program it starts a Japanese user
// interface language.
inline bool InJapanese()
{
    const char *pszLocale = std::getenv("LC_ALL");
    return pszLocale && std::strncmp(pszLocale, "ja", 2) == 0;
}

// A text the program shows, in both its languages.
struct Wording
{
    std::wstring strEnglish, strJapanese;

    // In the language of this run, with "%1" replaced.
    std::wstring operator()(const std::wstring &strArgument = L"") const
    {
        std::wstring str = InJapanese() ? strJapanese : strEnglish;
        size_t nMarker = str.find(L"%1");
        return nMarker == std::wstring::npos ? str : str.replace(nMarker, 2, strArgument);
    }
};

inline std::string Narrow(const std::wstring &str)   // UTF-8, for comparisons that print
{
    std::string strNarrow(3 * str.size(), '\0');
    strNarrow.resize(WideCharToMultiByte(CP_UTF8, 0, str.c_str(), static_cast<int>(str.size()), &strNarrow[0],
                                         static_cast<int>(strNarrow.size()), nullptr, nullptr));
    return strNarrow;
}

// ---- Another process's windows, read ----

inline std::wstring Text(HWND hWnd)
{
    WCHAR szText[512] = {};
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutW(hWnd, WM_GETTEXT, ARRAYSIZE(szText), reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG,
                        ANSWER_MS, &dwResult);
    return szText;
}

inline HWND CurrentPage(HWND hSheet)
{
    DWORD_PTR dwPage = 0;
    SendMessageTimeoutW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, ANSWER_MS, &dwPage);
    return reinterpret_cast<HWND>(dwPage);
}
inline int CurrentPageIndex(HWND hSheet)
{
    return static_cast<int>(SendMessageW(hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(hSheet)), 0));
}
// Turns the sheet to the page and waits until it shows; false when it does not.
inline bool ShowPage(HWND hSheet, int nPage)
{
    SendMessageW(hSheet, PSM_SETCURSEL, nPage, 0);
    return WaitUntil([&] { return CurrentPageIndex(hSheet) == nPage; });
}
inline HWND Control(HWND hSheet, int nID) { return GetDlgItem(CurrentPage(hSheet), nID); }   // on the page in front

inline HWND FocusOf(HWND hWnd)   // in hWnd's thread
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info);
    return info.hwndFocus;
}

// How many of a window's pixels on the screen are red, yellow, blue and green.
struct Colours
{
    int nRed, nYellow, nBlue, nGreen;
};
inline Colours ColoursOnScreen(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    HDC hScreen = GetDC(nullptr);
    Colours colours = {};
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
        {
            COLORREF colour = GetPixel(hScreen, x, y);
            int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
            colours.nRed += r > 150 && g < 90 && b < 90;
            colours.nYellow += r > 180 && g > 150 && b < 90;
            colours.nBlue += b > 150 && r < 110;
            colours.nGreen += g > 120 && r < 90 && b < 90;
        }
    ReleaseDC(nullptr, hScreen);
    return colours;
}

struct MessageBoxSeen
{
    std::wstring strText;
    std::wstring strCaption;
    HWND hOwner = nullptr;
    UINT nType = 0;   // the MB_ buttons and icon, as far as the screen shows them
};
// The platform's icons by their colour on the screen: a red stop sign, a
// yellow warning, a blue question mark. Icon handles belong to the box's
// process and do not compare across processes.
inline MessageBoxSeen ReadMessageBox(HWND hBox)
{
    MessageBoxSeen seen;
    seen.strText = Text(GetDlgItem(hBox, 0xFFFF));
    seen.strCaption = Text(hBox);
    seen.hOwner = GetWindow(hBox, GW_OWNER);
    seen.nType = !GetDlgItem(hBox, IDYES) ? MB_OK : GetDlgItem(hBox, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if ((GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(hChild))
            continue;
        Colours colours = ColoursOnScreen(hChild);
        int nMost = std::max({ colours.nRed, colours.nYellow, colours.nBlue });
        if (nMost >= 20)
            seen.nType |= nMost == colours.nRed      ? MB_ICONSTOP
                          : nMost == colours.nYellow ? MB_ICONEXCLAMATION
                                                     : MB_ICONQUESTION;
    }
    return seen;
}

// ---- Texts on the screen ----

// The font the dialog manager makes from the templates: 9 points of
// "System", in Japanese of "MS UI Gothic".
inline LOGFONTW TemplateFont()
{
    LOGFONTW font = {};
    HDC hScreen = GetDC(nullptr);
    font.lfHeight = -MulDiv(9, GetDeviceCaps(hScreen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, hScreen);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    lstrcpynW(font.lfFaceName, Wording{ L"System", L"MS UI Gothic" }().c_str(), LF_FACESIZE);
    return font;
}

// Whether a control's text in a font fits it (less a check box's box), on
// as many lines as it holds, one at least; and which pixels of a control are
// ink (darker than mid-grey): on the screen, or as drawn here in the font.
inline bool TextFits(HWND hItem, const LOGFONTW &font, int nBoxWidth = 0)
{
    RECT rcItem = {}, rcText = {};
    GetClientRect(hItem, &rcItem);
    rcText.right = rcItem.right - nBoxWidth;
    HDC hScreen = GetDC(nullptr);
    HGDIOBJ hOldFont = SelectObject(hScreen, CreateFontIndirectW(&font));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(hScreen, &metrics);
    DrawTextW(hScreen, Text(hItem).c_str(), -1, &rcText, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    DeleteObject(SelectObject(hScreen, hOldFont));
    ReleaseDC(nullptr, hScreen);
    return rcText.right <= rcItem.right - nBoxWidth && rcText.bottom <= std::max(rcItem.bottom, metrics.tmHeight);
}
inline std::vector<bool> Ink(HWND hItem, const LOGFONTW &font, const std::wstring *pstrText = nullptr)
{
    RECT rc = {};
    GetClientRect(hItem, &rc);
    POINT ptScreen = {};
    ClientToScreen(hItem, &ptScreen);
    HDC hScreen = GetDC(nullptr), hDC = CreateCompatibleDC(hScreen);
    HGDIOBJ hOldBitmap = SelectObject(hDC, CreateCompatibleBitmap(hScreen, rc.right, rc.bottom));
    HGDIOBJ hOldFont = SelectObject(hDC, CreateFontIndirectW(&font));
    FillRect(hDC, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (pstrText)
        DrawTextW(hDC, pstrText->c_str(), -1, &rc, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX);
    std::vector<bool> ink;
    for (int y = 0; y < rc.bottom; y++)
        for (int x = 0; x < rc.right; x++)
        {
            COLORREF colour = pstrText ? GetPixel(hDC, x, y) : GetPixel(hScreen, ptScreen.x + x, ptScreen.y + y);
            ink.push_back(GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 128);
        }
    DeleteObject(SelectObject(hDC, hOldFont));
    DeleteObject(SelectObject(hDC, hOldBitmap));
    DeleteDC(hDC);
    ReleaseDC(nullptr, hScreen);
    return ink;
}

// What is wrong with a static control's text on the screen, "" if nothing.
// Characters beyond ASCII must be drawn in glyphs, not in the empty boxes a
// font without their glyphs draws: drawn here, the text and the text with a
// character no font has for each of those differ, and where they do, the
// screen shows the first.
inline std::string DrawnWrong(HWND hItem, const LOGFONTW &font)
{
    std::wstring strText = Text(hItem), strBoxes = strText;
    for (wchar_t &ch : strBoxes)
        ch = ch > 0x7F ? 0x0378 : ch;   // unassigned
    std::vector<bool> text = Ink(hItem, font, &strText), boxes = Ink(hItem, font, &strBoxes);
    size_t nDiffering = 0, nAsText = 0;
    WaitUntil([&] {   // until it is painted
        std::vector<bool> onScreen = Ink(hItem, font);
        nDiffering = nAsText = 0;
        for (size_t i = 0; i < text.size(); i++)
        {
            nDiffering += text[i] != boxes[i];
            nAsText += text[i] != boxes[i] && onScreen[i] == text[i];
        }
        return nAsText >= nDiffering * 9 / 10;
    }, 2000);
    if (strBoxes != strText && nDiffering < 10)
        return "\"" + Narrow(strText) + "\" has no glyphs: the font draws it in empty boxes";
    return nAsText < nDiffering * 9 / 10 ? "\"" + Narrow(strText) + "\" is drawn unlike its glyphs" : "";
}

// ---- Real input ----

inline void SendAll(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(60);   // the program's thread takes them in
}

inline INPUT Key(WORD wVirtualKey, DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = wVirtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(wVirtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = dwFlags;
    return input;
}

// Keys to the window in front, each pressed and released in turn with the
// modifier held throughout.
inline void PressKeys(std::initializer_list<WORD> keys, WORD wModifier = 0)
{
    for (WORD wKey : keys)
    {
        std::vector<INPUT> inputs = { Key(wKey, 0), Key(wKey, KEYEVENTF_KEYUP) };
        if (wModifier)
        {
            inputs.insert(inputs.begin(), Key(wModifier, 0));
            inputs.push_back(Key(wModifier, KEYEVENTF_KEYUP));
        }
        SendAll(inputs);
    }
}

inline void TypeText(const std::wstring &str)
{
    for (wchar_t ch : str)
        PressKeys({ LOBYTE(VkKeyScanW(ch)) });
}

// At the window's centre. Absolute positions run from 0 to 65535 across the
// screen; aim at the middle of the pixel.
inline void Click(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
    std::vector<INPUT> inputs(3);
    for (INPUT &input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = static_cast<LONG>((2LL * x + 1) * 65536 / (2LL * GetSystemMetrics(SM_CXSCREEN)));
    inputs[0].mi.dy = static_cast<LONG>((2LL * y + 1) * 65536 / (2LL * GetSystemMetrics(SM_CYSCREEN)));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendAll(inputs);
}

// Clicks a message box's button and waits for the box to go.
inline bool Answer(HWND hBox, int nButton)
{
    if (!GetDlgItem(hBox, nButton))
        return false;
    SetForegroundWindow(hBox);
    Click(GetDlgItem(hBox, nButton));
    return WaitUntil([hBox] { return !IsWindowVisible(hBox); });
}

// ---- The registry, with the platform's calls; paths under HKEY_LOCAL_MACHINE ----

// regedit /S on the files, from the folder given, as many at a time as a
// command holds; false when it does not end.
inline bool ImportRegFiles(const std::vector<std::wstring> &files, const std::wstring &strFolder = L"")
{
    for (size_t i = 0; i < files.size();)
    {
        std::wstring strCommand = L"regedit.exe /S";
        for (; i < files.size() && strCommand.size() < 30000; i++)
            strCommand += L" \"" + files[i] + L"\"";
        CProgram regedit;
        if (!regedit.Run(strCommand, strFolder) || !regedit.HasEnded(60000))
            return false;
    }
    return true;
}
inline bool ImportRegFile(const std::wstring &strFile) { return ImportRegFiles({ strFile }); }

inline void SetDword(const wchar_t *pszPath, const wchar_t *pszName, DWORD dwValue)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, pszPath, pszName, REG_DWORD, &dwValue, sizeof(dwValue));
}

inline std::string StoredValue(const wchar_t *pszPath, const wchar_t *pszName)   // "dword 64", "absent"
{
    DWORD dwValue = 0, cbValue = sizeof(dwValue);
    LONG lStatus = RegGetValueW(HKEY_LOCAL_MACHINE, pszPath, pszName, RRF_RT_REG_DWORD, nullptr, &dwValue, &cbValue);
    return lStatus == ERROR_SUCCESS ? "dword " + std::to_string(dwValue) : "absent";
}

// ---- The build's files seen from Windows ----

inline std::wstring WindowsPath(const std::string &strUnixPath)
{
    std::wstring str = L"Z:";
    for (char ch : strUnixPath)
        str += ch == '/' ? L'\\' : static_cast<wchar_t>(ch);
    return str;
}

inline std::string ReadFileText(const std::wstring &strPath)
{
    std::ifstream file(std::filesystem::path(strPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
inline void WriteFileText(const std::wstring &strPath, const std::string &strText)
{
    std::ofstream(std::filesystem::path(strPath), std::ios::binary) << strText;
}

// The files in a folder, by name.
inline std::vector<std::wstring> FilesIn(const std::wstring &strFolder)
{
    std::vector<std::wstring> files;
    std::error_code error;   // a missing folder has none
    for (const auto &entry : std::filesystem::directory_iterator(strFolder, error))
        if (entry.is_regular_file())
            files.push_back(entry.path().filename().wstring());
    std::sort(files.begin(), files.end());
    return files;
}

// A folder of the test's own in the build tree, with copies of these files.
inline std::wstring ScratchFolder(const wchar_t *pszName, std::vector<std::pair<std::wstring, const wchar_t *>> files)
{
    std::wstring strFolder = WindowsPath(LOG_DIR) + L"\\" + pszName;
    CreateDirectoryW(strFolder.c_str(), nullptr);
    for (const auto &file : files)
    {
        CopyFileW(file.first.c_str(), (strFolder + L"\\" + file.second).c_str(), FALSE);
        DeleteFileW((strFolder + L"\\" + file.second + L".log").c_str());
    }
    return strFolder;
}

// What the host's browser and mail program were handed under Wine: while
// this lives, Wine runs a script (record-link.sh) instead, with the log it
// appends to, then the address.
class CLinkRecorder
{
public:
    CLinkRecorder()
    {
        for (const char *pszName : { "Browsers", "Mailers" })
        {
            std::string strLog = std::string(LOG_DIR "/") + pszName + ".log";
            DeleteFileW(WindowsPath(strLog).c_str());
            std::string strCommand = std::string("\"") + RECORD_LINK + "\" \"" + strLog + "\"";
            std::wstring strValue(strCommand.begin(), strCommand.end()), strName(pszName, pszName + strlen(pszName));
            RegSetKeyValueW(HKEY_CURRENT_USER, WINE_BROWSER, strName.c_str(), REG_SZ, strValue.c_str(),
                            static_cast<DWORD>((strValue.size() + 1) * sizeof(wchar_t)));
        }
    }
    ~CLinkRecorder() { RegDeleteTreeW(HKEY_CURRENT_USER, WINE_BROWSER); }

    std::vector<std::string> Browsed() const { return Lines("Browsers"); }
    std::vector<std::string> Mailed() const { return Lines("Mailers"); }

private:
    static constexpr const wchar_t *WINE_BROWSER = L"Software\\Wine\\WineBrowser";

    static std::vector<std::string> Lines(const char *pszName)
    {
        std::vector<std::string> lines;
        std::string strText = ReadFileText(WindowsPath(std::string(LOG_DIR "/") + pszName + ".log"));
        for (size_t nStart = 0, nEnd; (nEnd = strText.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
            lines.push_back(strText.substr(nStart, nEnd - nStart));
        return lines;
    }
};
