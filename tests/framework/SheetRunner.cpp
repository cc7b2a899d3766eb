#include "SheetRunner.h"

#include <commctrl.h>

#include <cstdio>

static thread_local CModalScript *s_pRunning;

CModalScript &CModalScript::Then(const char *pszName, ScriptStep step)
{
    m_steps.push_back({ pszName, std::move(step), false, false });
    return *this;
}

CModalScript &CModalScript::Do(const char *pszName, std::function<void()> action)
{
    return Then(pszName, [action]() {
        action();
        return true;
    });
}

bool CModalScript::Completed() const
{
    for (const Entry &entry : m_steps)
        if (!entry.bDone)
            return false;
    return true;
}

INT_PTR CModalScript::Run(const std::function<INT_PTR()> &fnModal, const std::function<void()> &fnClose,
                          DWORD dwTimeLimitMs)
{
    CModalScript *pOuter = s_pRunning;
    s_pRunning = this;
    m_fnClose = fnClose;
    m_ullDeadline = GetTickCount64() + dwTimeLimitMs;
    m_ullClosedAt = 0;
    m_strTimedOutAt.clear();
    UINT_PTR nTimer = SetTimer(nullptr, 0, 20, TimerProc);
    INT_PTR nResult = fnModal();
    KillTimer(nullptr, nTimer);
    s_pRunning = pOuter;
    return nResult;
}

void CALLBACK CModalScript::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_pRunning)
        s_pRunning->Tick();
}

void CModalScript::Tick()
{
    if (m_ullClosedAt)
    {
        // Closing did not end the loop: nothing else will, so the process ends.
        if (GetTickCount64() > m_ullClosedAt + 5000)
        {
            fprintf(stderr, "the modal loop did not end after it was closed\n");
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        return;
    }
    if (GetTickCount64() > m_ullDeadline)
    {
        for (const Entry &entry : m_steps)
            if (!entry.bDone)
            {
                m_strTimedOutAt = entry.strName;
                break;
            }
        Close();
        return;
    }
    for (size_t i = 0; i < m_steps.size(); i++)
    {
        if (m_steps[i].bDone || m_steps[i].bRunning)
            continue;
        m_steps[i].bRunning = true;
        bool bDone = m_steps[i].step();
        m_steps[i].bRunning = false;
        m_steps[i].bDone = bDone;
        if (bDone && Completed() && !m_ullClosedAt)
            Close();
        return;
    }
}

void CModalScript::Close()
{
    m_ullClosedAt = GetTickCount64();
    EndMenu();
    m_fnClose();
}

// The sheet's window, or failing that this thread's top-level dialog.
static HWND SheetWindow(const CPropertySheet &sheet)
{
    if (sheet.GetSafeHwnd())
        return sheet.GetSafeHwnd();
    HWND hFound = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) {
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (lstrcmpW(szClass, L"#32770") != 0)
            return TRUE;
        *reinterpret_cast<HWND *>(lParam) = hWnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

// Cancel is posted, so that a menu the time-out just ended unwinds first.
INT_PTR RunSheet(CPropertySheet &sheet, CModalScript &script, DWORD dwTimeLimitMs)
{
    return script.Run([&sheet]() { return sheet.DoModal(); },
                      [&sheet]() { PostMessageW(SheetWindow(sheet), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); },
                      dwTimeLimitMs);
}

INT_PTR RunDialog(CDialog &dialog, CModalScript &script, DWORD dwTimeLimitMs)
{
    return script.Run([&dialog]() { return dialog.DoModal(); }, [&dialog]() { dialog.EndDialog(IDCANCEL); },
                      dwTimeLimitMs);
}

void ClickAt(POINT ptScreen)
{
    // Absolute positions run from 0 to 65535 across the screen; aim at the
    // middle of the pixel.
    int cxScreen = GetSystemMetrics(SM_CXSCREEN), cyScreen = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT &input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = static_cast<LONG>((2LL * ptScreen.x + 1) * 65536 / (2LL * cxScreen));
    inputs[0].mi.dy = static_cast<LONG>((2LL * ptScreen.y + 1) * 65536 / (2LL * cyScreen));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(ARRAYSIZE(inputs), inputs, sizeof(INPUT));
}

void PressKey(WORD wVirtualKey)
{
    INPUT inputs[2] = {};
    for (INPUT &input : inputs)
    {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = wVirtualKey;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(ARRAYSIZE(inputs), inputs, sizeof(INPUT));
}

POINT CentreOf(const RECT &rc)
{
    return { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

RECT RectInParent(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, GetParent(hWnd), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

std::wstring WindowText(HWND hWnd)
{
    WCHAR szText[256] = {};
    GetWindowTextW(hWnd, szText, ARRAYSIZE(szText));
    return szText;
}

std::vector<std::wstring> TabTexts(HWND hTabControl)
{
    std::vector<std::wstring> texts;
    int nTabs = static_cast<int>(SendMessageW(hTabControl, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < nTabs; i++)
    {
        WCHAR szText[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = szText;
        item.cchTextMax = ARRAYSIZE(szText);
        SendMessageW(hTabControl, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(item.pszText ? item.pszText : L"(none)");
    }
    return texts;
}

HWND FindMenuWindow()
{
    for (HWND hWnd = nullptr; (hWnd = FindWindowExW(nullptr, hWnd, L"#32768", nullptr));)
        if (IsWindowVisible(hWnd) && GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId())
            return hWnd;
    return nullptr;
}

std::vector<std::wstring> MenuTexts(HMENU hMenu)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(hMenu); i++)
    {
        WCHAR szText[64] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = szText;
        info.cch = ARRAYSIZE(szText);
        GetMenuItemInfoW(hMenu, i, TRUE, &info);
        texts.push_back(info.fType & MFT_SEPARATOR ? L"-" : szText);
    }
    return texts;
}

std::string Narrow(const std::wstring &str)
{
    std::string text;
    for (WCHAR ch : str)
        text += ch < 0x80 ? static_cast<char>(ch) : '?';
    return text;
}

std::string Describe(const RECT &rc)
{
    char sz[80];
    snprintf(sz, sizeof(sz), "(%ld,%ld)-(%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}
