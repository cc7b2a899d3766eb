#include "Input.h"

#include <gtest/gtest.h>

#include <commctrl.h>

static void SendInputs(INPUT *pInputs, UINT nInputs)
{
    UINT nSent = SendInput(nInputs, pInputs, sizeof(INPUT));
    EXPECT_EQ(nInputs, nSent) << "SendInput, error " << GetLastError();
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
    SendInputs(inputs, ARRAYSIZE(inputs));
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

void PumpMessages(DWORD dwMilliseconds)
{
    DWORD dwStart = GetTickCount();
    do
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            HWND hRoot = GetAncestor(msg.hwnd, GA_ROOT);
            if (hRoot && (SendMessageW(hRoot, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg)) ||
                          IsDialogMessageW(hRoot, &msg)))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (dwMilliseconds)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - dwStart < dwMilliseconds);
}

void PressKeyNow(WORD wVirtualKey, bool bControl)
{
    PressKey(wVirtualKey, bControl);
    PumpMessages(20);
}

void TypeText(const wchar_t *pszText)
{
    for (const wchar_t *p = pszText; *p; p++)
    {
        SHORT vk = VkKeyScanW(*p);
        ASSERT_NE(-1, vk) << "no key for '" << static_cast<char>(*p) << "'";
        PressKeyNow(LOBYTE(vk));
    }
}

void ClickWindow(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    ClickAt({ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 });
    PumpMessages(20);
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
    MapWindowPoints(hTab, nullptr, reinterpret_cast<POINT *>(&rc), 2);
    ClickAt({ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 });
    PumpMessages(20);
}
