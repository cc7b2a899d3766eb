#include "SheetScript.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

struct Script
{
    const std::function<void(HWND)> *pScript;
    DWORD dwStart;
    bool bDone;
};
thread_local Script *s_pScript;

HWND FindVisibleDialog()
{
    struct Search
    {
        HWND hFound;
    } search = { nullptr };
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) -> BOOL {
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (IsWindowVisible(hWnd) && lstrcmpW(szClass, L"#32770") == 0)
        {
            reinterpret_cast<Search *>(lParam)->hFound = hWnd;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR idTimer, DWORD)
{
    Script *pScript = s_pScript;
    if (!pScript || pScript->bDone)
        return;
    HWND hSheet = FindVisibleDialog();
    if (!hSheet)
    {
        if (GetTickCount() - pScript->dwStart > 10000)
        {
            KillTimer(nullptr, idTimer);
            pScript->bDone = true;
            ADD_FAILURE() << "the sheet did not appear within 10 s";
        }
        return;
    }
    KillTimer(nullptr, idTimer);
    pScript->bDone = true;
    (*pScript->pScript)(hSheet);
    if (IsWindow(hSheet))
        PostMessageW(hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    // The sheet's loop sees that it has ended only when it next wakes.
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

void SendInputs(INPUT *pInputs, UINT nInputs)
{
    UINT nSent = SendInput(nInputs, pInputs, sizeof(INPUT));
    EXPECT_EQ(nInputs, nSent) << "SendInput, error " << GetLastError();
    PumpMessages(20);
}

} // namespace

void RunWithSheet(const std::function<void()> &runModal, const std::function<void(HWND)> &script)
{
    Script state = { &script, GetTickCount(), false };
    s_pScript = &state;
    SetTimer(nullptr, 0, 10, ScriptTimer);
    runModal();
    s_pScript = nullptr;
    EXPECT_TRUE(state.bDone) << "the sheet closed before the script ran";
}

void PumpMessages(DWORD dwMilliseconds)
{
    DWORD dwStart = GetTickCount();
    do
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            HWND hSheet = GetAncestor(msg.hwnd, GA_ROOT);
            if (hSheet && SendMessageW(hSheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg)))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (dwMilliseconds)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - dwStart < dwMilliseconds);
}

void PressKey(WORD wVirtualKey, bool bControl)
{
    INPUT inputs[4] = {};
    UINT n = 0;
    auto key = [&](WORD wVk, DWORD dwFlags) {
        inputs[n].type = INPUT_KEYBOARD;
        inputs[n].ki.wVk = wVk;
        inputs[n].ki.wScan = static_cast<WORD>(MapVirtualKeyW(wVk, MAPVK_VK_TO_VSC));
        inputs[n].ki.dwFlags = dwFlags;
        n++;
    };
    if (bControl)
        key(VK_CONTROL, 0);
    key(wVirtualKey, 0);
    key(wVirtualKey, KEYEVENTF_KEYUP);
    if (bControl)
        key(VK_CONTROL, KEYEVENTF_KEYUP);
    SendInputs(inputs, n);
}

void TypeText(const wchar_t *pszText)
{
    for (const wchar_t *p = pszText; *p; p++)
    {
        SHORT vk = VkKeyScanW(*p);
        ASSERT_NE(-1, vk) << "no key for '" << static_cast<char>(*p) << "'";
        PressKey(LOBYTE(vk));
    }
}

void ClickAt(HWND hWnd, POINT pt)
{
    ClientToScreen(hWnd, &pt);
    int cxScreen = GetSystemMetrics(SM_CXSCREEN), cyScreen = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT &input : inputs)
    {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(pt.x, 65536, cxScreen) + 1;
        input.mi.dy = MulDiv(pt.y, 65536, cyScreen) + 1;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInputs(inputs, 3);
}

void ClickWindow(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    ClickAt(hWnd, { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 });
}

void FocusControl(HWND hControl)
{
    SetForegroundWindow(GetAncestor(hControl, GA_ROOT));
    SetFocus(hControl);
    PumpMessages();
}

void ClickTab(HWND hSheet, int nTab)
{
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0));
    RECT rc = {};
    ASSERT_TRUE(SendMessageW(hTab, TCM_GETITEMRECT, nTab, reinterpret_cast<LPARAM>(&rc))) << "no tab " << nTab;
    ClickAt(hTab, { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 });
}

int TabCount(HWND hSheet)
{
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0));
    return static_cast<int>(SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0));
}

std::wstring TabText(HWND hSheet, int nTab)
{
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0));
    WCHAR szText[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = szText;
    item.cchTextMax = ARRAYSIZE(szText);
    SendMessageW(hTab, TCM_GETITEMW, nTab, reinterpret_cast<LPARAM>(&item));
    return szText;
}

std::wstring WindowText(HWND hWnd)
{
    WCHAR szText[256] = {};
    GetWindowTextW(hWnd, szText, ARRAYSIZE(szText));
    return szText;
}

HWND FindPopupMenu()
{
    HWND hMenu = FindWindowW(L"#32768", nullptr);
    return hMenu && IsWindowVisible(hMenu) ? hMenu : nullptr;
}
