#include "Program.h"

#include <commctrl.h>
#include <algorithm>

namespace
{

const DWORD POLL_MS = 20;
// A window of the program's that takes longer than this to answer is hung.
const UINT ANSWER_MS = 2000;

std::wstring ClassOf(HWND hWnd)
{
    WCHAR szClass[64] = {};
    GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
    return szClass;
}

bool IsDialog(HWND hWnd)
{
    return ClassOf(hWnd) == L"#32770" && IsWindowVisible(hWnd);
}

bool HasChildOfClass(HWND hWnd, const wchar_t *pszClass)
{
    return FindWindowExW(hWnd, nullptr, pszClass, nullptr) != nullptr;
}

bool IsSheet(HWND hWnd)
{
    return IsDialog(hWnd) && HasChildOfClass(hWnd, WC_TABCONTROLW);
}

bool IsAboutBox(HWND hWnd)
{
    return IsDialog(hWnd) && GetDlgItem(hWnd, 1001) && !IsSheet(hWnd);
}

const int ANSWERS[] = { IDOK, IDCANCEL, IDYES, IDNO };

bool IsMessageBox(HWND hWnd)
{
    if (!IsDialog(hWnd) || IsSheet(hWnd) || IsAboutBox(hWnd) || !GetDlgItem(hWnd, 0xFFFF))
        return false;
    for (int nButton : ANSWERS)
        if (GetDlgItem(hWnd, nButton))
            return true;
    return false;
}

void SendInputs(std::vector<INPUT> &inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // Give the program's thread the time to take them in.
    Sleep(60);
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

// The platform's message-box icons by their colour as the screen shows them:
// a red stop sign, a yellow warning, a blue question mark. Icon handles are
// the box's own process's, so they do not compare across processes.
UINT IconOnScreen(HWND hIcon)
{
    RECT rc = {};
    GetWindowRect(hIcon, &rc);
    HDC hScreen = GetDC(nullptr);
    int nRed = 0, nYellow = 0, nBlue = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
        {
            COLORREF colour = GetPixel(hScreen, x, y);
            int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
            nRed += r > 150 && g < 90 && b < 90;
            nYellow += r > 180 && g > 150 && b < 90;
            nBlue += b > 150 && r < 110;
        }
    ReleaseDC(nullptr, hScreen);
    int nMost = std::max(nRed, std::max(nYellow, nBlue));
    if (nMost < 20)
        return 0;
    return nMost == nRed ? MB_ICONSTOP : nMost == nYellow ? MB_ICONEXCLAMATION : MB_ICONQUESTION;
}

} // namespace

bool WaitUntil(const std::function<bool()> &fn, DWORD dwMilliseconds)
{
    ULONGLONG ullUntil = GetTickCount64() + dwMilliseconds;
    for (;;)
    {
        if (fn())
            return true;
        if (GetTickCount64() > ullUntil)
            return false;
        Sleep(POLL_MS);
    }
}

CProgram::~CProgram()
{
    Kill();
}

bool CProgram::Start(const std::wstring &strExe, const std::wstring &strDirectory)
{
    std::wstring strCommandLine = L"\"" + strExe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(strExe.c_str(), &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        strDirectory.empty() ? nullptr : strDirectory.c_str(), &startup, &m_process))
        return false;
    return WaitUntil([this] { return Sheet() != nullptr; });
}

bool CProgram::HasEnded(DWORD dwMilliseconds)
{
    return !m_process.hProcess || WaitForSingleObject(m_process.hProcess, dwMilliseconds) == WAIT_OBJECT_0;
}

void CProgram::Kill()
{
    if (!m_process.hProcess)
        return;
    if (!HasEnded(0))
    {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, WAIT_MS);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = {};
}

HWND CProgram::FindWindow(const std::function<bool(HWND)> &fnIs) const
{
    struct Search
    {
        DWORD dwProcessId;
        const std::function<bool(HWND)> *pfnIs;
        HWND hFound;
    } search = { m_process.dwProcessId, &fnIs, nullptr };
    if (!search.dwProcessId)
        return nullptr;
    EnumWindows([](HWND hWnd, LPARAM lParam) {
        Search *pSearch = reinterpret_cast<Search *>(lParam);
        DWORD dwProcessId = 0;
        GetWindowThreadProcessId(hWnd, &dwProcessId);
        if (dwProcessId != pSearch->dwProcessId || !(*pSearch->pfnIs)(hWnd))
            return TRUE;
        pSearch->hFound = hWnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

HWND CProgram::Sheet() const
{
    return FindWindow(IsSheet);
}

HWND CProgram::Box() const
{
    return FindWindow(IsMessageBox);
}

HWND CProgram::AboutBox() const
{
    return FindWindow(IsAboutBox);
}

HWND CProgram::PopupMenu() const
{
    return FindWindow([](HWND hWnd) { return ClassOf(hWnd) == L"#32768" && IsWindowVisible(hWnd); });
}

HWND CProgram::OtherDialog() const
{
    return FindWindow([](HWND hWnd) { return IsDialog(hWnd) && !IsSheet(hWnd) && !IsAboutBox(hWnd); });
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
    auto shows = [hBox](int nButton) { return GetDlgItem(hBox, nButton) && IsWindowVisible(GetDlgItem(hBox, nButton)); };
    seen.nType = shows(IDYES) && shows(IDNO) ? MB_YESNO : shows(IDOK) ? MB_OK : 0xF;
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if ((GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(hChild))
            continue;
        seen.nType |= IconOnScreen(hChild);
    }
    return seen;
}

void PressKeys(std::initializer_list<WORD> keys, WORD wModifier)
{
    std::vector<INPUT> inputs;
    if (wModifier)
        inputs.push_back(Key(wModifier, 0));
    for (WORD wKey : keys)
    {
        inputs.push_back(Key(wKey, 0));
        inputs.push_back(Key(wKey, KEYEVENTF_KEYUP));
        if (!wModifier)
        {
            SendInputs(inputs);
            inputs.clear();
        }
    }
    if (wModifier)
    {
        inputs.push_back(Key(wModifier, KEYEVENTF_KEYUP));
        SendInputs(inputs);
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
    int cxScreen = GetSystemMetrics(SM_CXSCREEN), cyScreen = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(3);
    for (INPUT &input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = static_cast<LONG>((2LL * ((rc.left + rc.right) / 2) + 1) * 65536 / (2LL * cxScreen));
    inputs[0].mi.dy = static_cast<LONG>((2LL * ((rc.top + rc.bottom) / 2) + 1) * 65536 / (2LL * cyScreen));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInputs(inputs);
}

bool Answer(HWND hBox, int nButton)
{
    HWND hButton = GetDlgItem(hBox, nButton);
    if (!hButton)
        return false;
    SetForegroundWindow(hBox);
    Click(hButton);
    return WaitUntil([hBox] { return !IsWindow(hBox) || !IsWindowVisible(hBox); });
}

void DeleteComm()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
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

std::string RegValue(const wchar_t *pszPath, const wchar_t *pszName)
{
    BYTE data[512] = {};
    DWORD dwType = 0, cbData = sizeof(data) - sizeof(WCHAR);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, pszPath, pszName, RRF_RT_ANY | RRF_NOEXPAND, &dwType, data, &cbData) !=
        ERROR_SUCCESS)
        return "absent";
    if (dwType == REG_DWORD)
        return "dword " + std::to_string(*reinterpret_cast<DWORD *>(data));
    return "type " + std::to_string(dwType);
}

std::wstring WindowsPath(const char *pszUnixPath)
{
    std::wstring str = L"Z:";
    for (const char *p = pszUnixPath; *p; p++)
        str += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return str;
}

std::string ReadFileText(const std::wstring &strPath)
{
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return std::string();
    std::string strText;
    char buffer[4096];
    DWORD cbRead = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &cbRead, nullptr) && cbRead)
        strText.append(buffer, cbRead);
    CloseHandle(hFile);
    return strText;
}

namespace
{

const wchar_t WINE_BROWSER[] = L"Software\\Wine\\WineBrowser";

std::vector<std::string> Lines(const std::string &strText)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strText.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        lines.push_back(strText.substr(nStart, nEnd - nStart));
    return lines;
}

// The command Wine runs: the script, then the log it appends to.
std::wstring RecorderCommand(const std::string &strLog)
{
    std::wstring strCommand = L"\"";
    for (const char *p = RECORD_LINK; *p; p++)
        strCommand += static_cast<wchar_t>(*p);
    strCommand += L"\" \"";
    for (char ch : strLog)
        strCommand += static_cast<wchar_t>(ch);
    return strCommand + L"\"";
}

} // namespace

CLinkRecorder::CLinkRecorder()
{
    std::string strBrowserLog = std::string(LOG_DIR) + "/browsed.log";
    std::string strMailerLog = std::string(LOG_DIR) + "/mailed.log";
    m_strBrowserLog = WindowsPath(strBrowserLog.c_str());
    m_strMailerLog = WindowsPath(strMailerLog.c_str());
    DeleteFileW(m_strBrowserLog.c_str());
    DeleteFileW(m_strMailerLog.c_str());
    HKEY hKey = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, WINE_BROWSER, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr);
    for (const auto &value : { std::make_pair(L"Browsers", RecorderCommand(strBrowserLog)),
                               std::make_pair(L"Mailers", RecorderCommand(strMailerLog)) })
        RegSetValueExW(hKey, value.first, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.second.c_str()),
                       static_cast<DWORD>((value.second.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
}

CLinkRecorder::~CLinkRecorder()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, WINE_BROWSER);
}

std::vector<std::string> CLinkRecorder::Browsed() const
{
    return Lines(ReadFileText(m_strBrowserLog));
}

std::vector<std::string> CLinkRecorder::Mailed() const
{
    return Lines(ReadFileText(m_strMailerLog));
}

CScratchFolder::CScratchFolder(const std::wstring &strPath) : m_strPath(strPath)
{
    CreateDirectoryW(m_strPath.c_str(), nullptr);
}

CScratchFolder::~CScratchFolder()
{
    WIN32_FIND_DATAW found;
    HANDLE hFind = FindFirstFileW((m_strPath + L"\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
            DeleteFileW((m_strPath + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(hFind, &found));
        FindClose(hFind);
    }
    RemoveDirectoryW(m_strPath.c_str());
}

bool CScratchFolder::Add(const std::wstring &strFile, const wchar_t *pszName) const
{
    return CopyFileW(strFile.c_str(), (m_strPath + L"\\" + pszName).c_str(), FALSE) != FALSE;
}

std::wstring FolderOf(const std::wstring &strPath)
{
    return strPath.substr(0, strPath.rfind(L'\\'));
}
