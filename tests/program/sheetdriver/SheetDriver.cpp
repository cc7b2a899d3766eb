// Drives a property sheet in another process, for scripts that run the
// program without a user:
//   sheetdriver wait <caption> <timeout-ms>     prints the sheet's rectangle
//   sheetdriver select <caption> <page> <timeout-ms>
//   sheetdriver cancel <caption> <timeout-ms>   returns once the sheet is gone
//   sheetdriver menu <caption> <timeout-ms>     opens Settings from the keyboard,
//                                               prints the sheet's rectangle, then the pop-up's
//   sheetdriver about <caption> <timeout-ms>    opens the About box, prints its rectangle
//   sheetdriver escape <caption> <timeout-ms>   Escape until only the sheet is left
// Each command fails (exit status 1, a message on stderr) when its time
// limit passes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <initializer_list>

namespace
{

const DWORD POLL_MS = 20;
// A sheet that takes longer than this to answer one message is hung.
const UINT ANSWER_MS = 2000;

HWND FindSheet(const WCHAR *pszCaption)
{
    HWND hSheet = FindWindowW(nullptr, pszCaption);
    return hSheet && IsWindowVisible(hSheet) ? hSheet : nullptr;
}

bool Ask(HWND hSheet, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT *plResult)
{
    DWORD_PTR dwResult = 0;
    if (!SendMessageTimeoutW(hSheet, uMsg, wParam, lParam, SMTO_ABORTIFHUNG, ANSWER_MS, &dwResult))
        return false;
    *plResult = static_cast<LRESULT>(dwResult);
    return true;
}

// The page the sheet shows, or -1 while it shows none.
int ShownPage(HWND hSheet)
{
    LRESULT lPage = 0;
    if (!Ask(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0, &lPage) || !lPage)
        return -1;
    HWND hPage = reinterpret_cast<HWND>(lPage);
    if (!IsWindowVisible(hPage))
        return -1;
    LRESULT lIndex = -1;
    if (!Ask(hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(hPage), 0, &lIndex))
        return -1;
    // Once the page has painted, the picture on the screen is complete.
    if (!RedrawWindow(hSheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW))
        return -1;
    return static_cast<int>(lIndex);
}

bool TimedOut(DWORD dwStart, DWORD dwTimeout)
{
    if (GetTickCount() - dwStart >= dwTimeout)
        return true;
    Sleep(POLL_MS);
    return false;
}

HWND WaitForSheet(const WCHAR *pszCaption, DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    for (;;)
    {
        HWND hSheet = FindSheet(pszCaption);
        if (hSheet && ShownPage(hSheet) >= 0)
            return hSheet;
        if (TimedOut(dwStart, dwTimeout))
        {
            std::fwprintf(stderr, L"sheetdriver: no sheet \"%ls\" showing a page after %lu ms\n", pszCaption,
                dwTimeout);
            return nullptr;
        }
    }
}

int Wait(const WCHAR *pszCaption, DWORD dwTimeout)
{
    HWND hSheet = WaitForSheet(pszCaption, dwTimeout);
    if (!hSheet)
        return 1;
    RECT rc;
    GetWindowRect(hSheet, &rc);
    // x y width height, as the screenshot's crop wants them.
    std::wprintf(L"%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}

int Select(const WCHAR *pszCaption, int nPage, DWORD dwTimeout)
{
    HWND hSheet = WaitForSheet(pszCaption, dwTimeout);
    if (!hSheet)
        return 1;
    LRESULT lSelected = 0;
    if (!Ask(hSheet, PSM_SETCURSEL, nPage, 0, &lSelected) || !lSelected)
    {
        std::fwprintf(stderr, L"sheetdriver: the sheet refused page %d\n", nPage);
        return 1;
    }
    DWORD dwStart = GetTickCount();
    int nShown;
    while ((nShown = ShownPage(hSheet)) != nPage)
        if (TimedOut(dwStart, dwTimeout))
        {
            std::fwprintf(stderr, L"sheetdriver: the sheet shows page %d, not %d, after %lu ms\n", nShown, nPage,
                dwTimeout);
            return 1;
        }
    return 0;
}

int Cancel(const WCHAR *pszCaption, DWORD dwTimeout)
{
    HWND hSheet = WaitForSheet(pszCaption, dwTimeout);
    if (!hSheet)
        return 1;
    // Posted: the sheet's modal loop ends inside the handler.
    PostMessageW(hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    DWORD dwStart = GetTickCount();
    while (IsWindow(hSheet))
        if (TimedOut(dwStart, dwTimeout))
        {
            std::fwprintf(stderr, L"sheetdriver: the sheet \"%ls\" is still open after %lu ms\n", pszCaption,
                dwTimeout);
            return 1;
        }
    return 0;
}

void PressKey(WORD wKey)
{
    INPUT inputs[2] = {};
    for (INPUT &input : inputs)
    {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = wKey;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(100);
}

// A visible window of the sheet's thread other than the sheet: a pop-up
// menu ("#32768") or a dialog ("#32770").
HWND FindOwnWindow(HWND hSheet, const WCHAR *pszClass)
{
    struct Search
    {
        DWORD dwThread;
        HWND hSheet;
        const WCHAR *pszClass;
        HWND hFound;
    } search = { GetWindowThreadProcessId(hSheet, nullptr), hSheet, pszClass, nullptr };
    EnumWindows([](HWND hWnd, LPARAM lParam) {
        Search *pSearch = reinterpret_cast<Search *>(lParam);
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (hWnd == pSearch->hSheet || !IsWindowVisible(hWnd) || std::wcscmp(szClass, pSearch->pszClass) != 0 ||
            GetWindowThreadProcessId(hWnd, nullptr) != pSearch->dwThread)
            return TRUE;
        pSearch->hFound = hWnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

HWND WaitForOwnWindow(HWND hSheet, const WCHAR *pszClass, DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    HWND hFound;
    while (!(hFound = FindOwnWindow(hSheet, pszClass)))
        if (TimedOut(dwStart, dwTimeout))
        {
            std::fwprintf(stderr, L"sheetdriver: no %ls window after %lu ms\n", pszClass, dwTimeout);
            return nullptr;
        }
    // Once it has painted, the picture on the screen is complete.
    RedrawWindow(hFound, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(200);
    return hFound;
}

void PrintRect(RECT rc)
{
    std::wprintf(L"%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

// Presses the keys on the sheet and waits for the window of that class
// they open; prints the sheet's rectangle first where asked.
int Open(const WCHAR *pszCaption, std::initializer_list<WORD> keys, const WCHAR *pszClass, bool bWithSheet,
         DWORD dwTimeout)
{
    HWND hSheet = WaitForSheet(pszCaption, dwTimeout);
    if (!hSheet)
        return 1;
    SetForegroundWindow(hSheet);
    for (WORD wKey : keys)
        PressKey(wKey);
    HWND hOpened = WaitForOwnWindow(hSheet, pszClass, dwTimeout);
    if (!hOpened)
        return 1;
    RECT rc;
    if (bWithSheet)
    {
        GetWindowRect(hSheet, &rc);
        PrintRect(rc);
    }
    GetWindowRect(hOpened, &rc);
    PrintRect(rc);
    return 0;
}

// Closes what menu or About box is open; the sheet stays. Escape leaves a
// pop-up menu for its bar, a second one leaves the bar.
int Escape(const WCHAR *pszCaption, DWORD dwTimeout)
{
    HWND hSheet = WaitForSheet(pszCaption, dwTimeout);
    if (!hSheet)
        return 1;
    bool bMenu = FindOwnWindow(hSheet, L"#32768") != nullptr;
    DWORD dwStart = GetTickCount();
    while (FindOwnWindow(hSheet, L"#32768") || FindOwnWindow(hSheet, L"#32770"))
    {
        PressKey(VK_ESCAPE);
        if (TimedOut(dwStart, dwTimeout))
        {
            std::fwprintf(stderr, L"sheetdriver: the sheet still shows more than itself after %lu ms\n", dwTimeout);
            return 1;
        }
    }
    if (bMenu)
        PressKey(VK_ESCAPE);
    return 0;
}

int Usage()
{
    std::fwprintf(stderr, L"usage: sheetdriver wait <caption> <timeout-ms>\n"
                          L"       sheetdriver select <caption> <page> <timeout-ms>\n"
                          L"       sheetdriver cancel <caption> <timeout-ms>\n"
                          L"       sheetdriver menu <caption> <timeout-ms>\n"
                          L"       sheetdriver about <caption> <timeout-ms>\n"
                          L"       sheetdriver escape <caption> <timeout-ms>\n");
    return 2;
}

DWORD Number(const WCHAR *psz)
{
    return static_cast<DWORD>(std::wcstoul(psz, nullptr, 10));
}

} // namespace

int wmain(int argc, WCHAR **argv)
{
    if (argc == 4 && std::wcscmp(argv[1], L"wait") == 0)
        return Wait(argv[2], Number(argv[3]));
    if (argc == 5 && std::wcscmp(argv[1], L"select") == 0)
        return Select(argv[2], static_cast<int>(Number(argv[3])), Number(argv[4]));
    if (argc == 4 && std::wcscmp(argv[1], L"cancel") == 0)
        return Cancel(argv[2], Number(argv[3]));
    if (argc == 4 && std::wcscmp(argv[1], L"menu") == 0)
        return Open(argv[2], { VK_F10, VK_DOWN }, L"#32768", true, Number(argv[3]));
    // Help: Contents, (separator), About.
    if (argc == 4 && std::wcscmp(argv[1], L"about") == 0)
        return Open(argv[2], { VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN }, L"#32770", false, Number(argv[3]));
    if (argc == 4 && std::wcscmp(argv[1], L"escape") == 0)
        return Escape(argv[2], Number(argv[3]));
    return Usage();
}
