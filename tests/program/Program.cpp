#include "Program.h"

#include <commctrl.h>

#include <algorithm>

namespace
{

// A window of the program's that takes longer than this to answer is hung.
const UINT ANSWER_MS = 2000;

bool IsShown(HWND hWnd, const WCHAR *pszClass)
{
    WCHAR szClass[16] = {};
    GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
    return lstrcmpW(szClass, pszClass) == 0 && IsWindowVisible(hWnd);
}

bool IsDialog(HWND hWnd)
{
    return IsShown(hWnd, L"#32770");
}

bool IsSheet(HWND hWnd)
{
    return IsDialog(hWnd) && FindWindowExW(hWnd, nullptr, WC_TABCONTROLW, nullptr);
}

bool IsAboutBox(HWND hWnd)
{
    return IsDialog(hWnd) && !IsSheet(hWnd) && GetDlgItem(hWnd, 1001);
}

bool IsMessageBox(HWND hWnd)
{
    return IsDialog(hWnd) && !IsSheet(hWnd) && !IsAboutBox(hWnd) && GetDlgItem(hWnd, 0xFFFF) &&
           (GetDlgItem(hWnd, IDOK) || GetDlgItem(hWnd, IDYES));
}

// The platform's message-box icons by their colour on the screen: a red
// stop sign, a yellow warning, a blue question mark. Icon handles belong to
// the box's process and do not compare across processes.
UINT IconOnScreen(HWND hIcon)
{
    Colours colours = ColoursOnScreen(hIcon);
    int nMost = std::max({ colours.nRed, colours.nYellow, colours.nBlue });
    if (nMost < 20)
        return 0;
    return nMost == colours.nRed ? MB_ICONSTOP : nMost == colours.nYellow ? MB_ICONEXCLAMATION : MB_ICONQUESTION;
}

INPUT Key(WORD wVirtualKey, DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = wVirtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(wVirtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = dwFlags;
    return input;
}

void Send(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // The program's thread takes them in.
    Sleep(60);
}

} // namespace

Colours ColoursOnScreen(HWND hWnd)
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
        }
    ReleaseDC(nullptr, hScreen);
    return colours;
}

bool WaitUntil(const std::function<bool()> &fn, DWORD dwMilliseconds)
{
    for (ULONGLONG ullUntil = GetTickCount64() + dwMilliseconds; !fn(); Sleep(20))
        if (GetTickCount64() > ullUntil)
            return false;
    return true;
}

bool CProgram::Start(const std::wstring &strExe, const std::wstring &strDirectory)
{
    std::wstring strCommandLine = L"\"" + strExe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(strExe.c_str(), &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          strDirectory.empty() ? nullptr : strDirectory.c_str(), &startup, &m_process) &&
           WaitUntil([this] { return Sheet() != nullptr; });
}

bool CProgram::Attach(const wchar_t *pszCaption)
{
    return WaitUntil([&] {
        HWND hSheet = FindWindowW(nullptr, pszCaption);
        if (!hSheet || !IsSheet(hSheet))
            return false;
        m_process.dwThreadId = GetWindowThreadProcessId(hSheet, &m_process.dwProcessId);
        return true;
    });
}

bool CProgram::HasEnded(DWORD dwMilliseconds) const
{
    if (!m_process.hProcess)
        return WaitUntil([this] { return !Sheet(); }, dwMilliseconds);
    return WaitForSingleObject(m_process.hProcess, dwMilliseconds) == WAIT_OBJECT_0;
}

void CProgram::Kill()
{
    if (!m_process.hProcess)
        return;
    if (!HasEnded(0))
        TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, WAIT_MS);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = {};
}

HWND CProgram::Find(bool (*pfnIs)(HWND)) const
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

HWND CProgram::Sheet() const { return Find(IsSheet); }
HWND CProgram::Box() const { return Find(IsMessageBox); }
HWND CProgram::AboutBox() const { return Find(IsAboutBox); }
HWND CProgram::PopupMenu() const { return Find([](HWND hWnd) { return IsShown(hWnd, L"#32768"); }); }
HWND CProgram::OtherDialog() const
{
    return Find([](HWND hWnd) { return IsDialog(hWnd) && !IsSheet(hWnd) && !IsAboutBox(hWnd); });
}

void CProgram::Activate() const
{
    HWND hSheet = Sheet();
    SetForegroundWindow(hSheet);
    WaitUntil([hSheet] { return GetForegroundWindow() == hSheet; }, 2000);
}

std::wstring Text(HWND hWnd)
{
    WCHAR szText[512] = {};
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutW(hWnd, WM_GETTEXT, ARRAYSIZE(szText), reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG,
                        ANSWER_MS, &dwResult);
    return szText;
}

HWND CurrentPage(HWND hSheet)
{
    DWORD_PTR dwPage = 0;
    SendMessageTimeoutW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, ANSWER_MS, &dwPage);
    return reinterpret_cast<HWND>(dwPage);
}

int CurrentPageIndex(HWND hSheet)
{
    return static_cast<int>(SendMessageW(hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(hSheet)), 0));
}

bool ShowPage(HWND hSheet, int nPage)
{
    SendMessageW(hSheet, PSM_SETCURSEL, nPage, 0);
    return WaitUntil([&] { return CurrentPageIndex(hSheet) == nPage; });
}

HWND Control(HWND hSheet, int nID)
{
    return GetDlgItem(CurrentPage(hSheet), nID);
}

HWND FocusOf(HWND hWnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info);
    return info.hwndFocus;
}

MessageBoxSeen ReadMessageBox(HWND hBox)
{
    MessageBoxSeen seen;
    seen.strText = Text(GetDlgItem(hBox, 0xFFFF));
    seen.strCaption = Text(hBox);
    seen.hOwner = GetWindow(hBox, GW_OWNER);
    seen.nType = GetDlgItem(hBox, IDYES) ? MB_YESNO : MB_OK;
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        if ((GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(hChild))
            seen.nType |= IconOnScreen(hChild);
    return seen;
}

void PressKeys(std::initializer_list<WORD> keys, WORD wModifier)
{
    for (WORD wKey : keys)
    {
        std::vector<INPUT> inputs = { Key(wKey, 0), Key(wKey, KEYEVENTF_KEYUP) };
        if (wModifier)
        {
            inputs.insert(inputs.begin(), Key(wModifier, 0));
            inputs.push_back(Key(wModifier, KEYEVENTF_KEYUP));
        }
        Send(inputs);
    }
}

void TypeText(const std::wstring &str)
{
    for (wchar_t ch : str)
        PressKeys({ LOBYTE(VkKeyScanW(ch)) });
}

void Click(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    // Absolute positions run from 0 to 65535 across the screen; aim at the
    // middle of the pixel.
    int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
    std::vector<INPUT> inputs(3);
    for (INPUT &input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = static_cast<LONG>((2LL * x + 1) * 65536 / (2LL * GetSystemMetrics(SM_CXSCREEN)));
    inputs[0].mi.dy = static_cast<LONG>((2LL * y + 1) * 65536 / (2LL * GetSystemMetrics(SM_CYSCREEN)));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send(inputs);
}

bool Answer(HWND hBox, int nButton)
{
    if (!GetDlgItem(hBox, nButton))
        return false;
    SetForegroundWindow(hBox);
    Click(GetDlgItem(hBox, nButton));
    return WaitUntil([hBox] { return !IsWindowVisible(hBox); });
}

bool ImportRegFile(const std::wstring &strFile)
{
    std::wstring strCommandLine = L"regedit.exe /S \"" + strFile + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    bool bDone = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!bDone)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return bDone;
}

void SetDword(const wchar_t *pszPath, const wchar_t *pszName, DWORD dwValue)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, pszPath, pszName, REG_DWORD, &dwValue, sizeof(dwValue));
}

std::string RegValue(const wchar_t *pszPath, const wchar_t *pszName)
{
    DWORD dwValue = 0, cbValue = sizeof(dwValue);
    LONG lStatus = RegGetValueW(HKEY_LOCAL_MACHINE, pszPath, pszName, RRF_RT_REG_DWORD, nullptr, &dwValue, &cbValue);
    return lStatus == ERROR_SUCCESS ? "dword " + std::to_string(dwValue) : "absent";
}

std::wstring WindowsPath(const std::string &strUnixPath)
{
    std::wstring str = L"Z:";
    for (char ch : strUnixPath)
        str += ch == '/' ? L'\\' : static_cast<wchar_t>(ch);
    return str;
}

std::string ReadFileText(const std::wstring &strPath)
{
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    std::string strText;
    char buffer[4096];
    DWORD cbRead = 0;
    while (hFile != INVALID_HANDLE_VALUE && ReadFile(hFile, buffer, sizeof(buffer), &cbRead, nullptr) && cbRead)
        strText.append(buffer, cbRead);
    if (hFile != INVALID_HANDLE_VALUE)
        CloseHandle(hFile);
    return strText;
}

namespace
{

const wchar_t WINE_BROWSER[] = L"Software\\Wine\\WineBrowser";

// Wine runs the script with the log it appends to, then the address.
void SetRecorder(const wchar_t *pszValue, const std::string &strLog)
{
    std::string strCommand = std::string("\"") + RECORD_LINK + "\" \"" + strLog + "\"";
    std::wstring strValue(strCommand.begin(), strCommand.end());
    RegSetKeyValueW(HKEY_CURRENT_USER, WINE_BROWSER, pszValue, REG_SZ, strValue.c_str(),
                    static_cast<DWORD>((strValue.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::string> Lines(const std::wstring &strLog)
{
    std::vector<std::string> lines;
    std::string strText = ReadFileText(strLog);
    for (size_t nStart = 0, nEnd; (nEnd = strText.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        lines.push_back(strText.substr(nStart, nEnd - nStart));
    return lines;
}

} // namespace

CLinkRecorder::CLinkRecorder()
    : m_strBrowserLog(WindowsPath(LOG_DIR "/browsed.log")), m_strMailerLog(WindowsPath(LOG_DIR "/mailed.log"))
{
    DeleteFileW(m_strBrowserLog.c_str());
    DeleteFileW(m_strMailerLog.c_str());
    SetRecorder(L"Browsers", LOG_DIR "/browsed.log");
    SetRecorder(L"Mailers", LOG_DIR "/mailed.log");
}

CLinkRecorder::~CLinkRecorder()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, WINE_BROWSER);
}

std::vector<std::string> CLinkRecorder::Browsed() const { return Lines(m_strBrowserLog); }
std::vector<std::string> CLinkRecorder::Mailed() const { return Lines(m_strMailerLog); }

std::wstring ScratchFolder(const wchar_t *pszName, std::vector<std::pair<std::wstring, const wchar_t *>> files)
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
