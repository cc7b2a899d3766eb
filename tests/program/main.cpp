// The tests' entry point, which plays two other parts:
// - copied under the name peghelp.exe, the handheld's help viewer: it writes
//   the command line it was given into peghelp.exe.log beside itself;
// - with --drive, the hand that tools/run.sh needs to take its pictures of
//   the program "Marlin" that it started. Each command prints what it saw
//   ("x y width height" of a window) and fails when its time limit passes:
//     --drive wait | select <page> | menu | about | escape | cancel
#include "Program.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace
{

bool PlayHelpViewer()
{
    WCHAR szPath[MAX_PATH] = {};
    DWORD cchPath = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    const WCHAR szViewer[] = L"\\peghelp.exe";
    if (cchPath < ARRAYSIZE(szViewer) || lstrcmpiW(szPath + cchPath - (ARRAYSIZE(szViewer) - 1), szViewer) != 0)
        return false;
    HANDLE hLog = CreateFileW((std::wstring(szPath) + L".log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    DWORD cbWritten = 0;
    WriteFile(hLog, GetCommandLineW(), static_cast<DWORD>(lstrlenW(GetCommandLineW()) * sizeof(WCHAR)), &cbWritten,
              nullptr);
    CloseHandle(hLog);
    return true;
}

void PrintRect(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

// Once the window has painted, a picture of the screen shows it whole.
HWND Painted(HWND hWnd)
{
    if (hWnd)
        RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(200);
    return hWnd;
}

int Drive(int argc, char **argv)
{
    CProgram marlin;
    if (!marlin.Attach(L"Marlin"))
        return fprintf(stderr, "no sheet \"Marlin\"\n"), 1;
    HWND hSheet = marlin.Sheet(), hShown = nullptr;
    const char *pszCommand = argv[2];
    if (HWND hAbout = marlin.AboutBox())
        SetForegroundWindow(hAbout);
    else
        marlin.Activate();
    if (!strcmp(pszCommand, "wait"))
        hShown = hSheet;
    else if (!strcmp(pszCommand, "select") && argc > 3)
    {
        int nPage = atoi(argv[3]);
        SendMessageW(hSheet, PSM_SETCURSEL, nPage, 0);
        if (WaitUntil([&] { return CurrentPageIndex(hSheet) == nPage && IsWindowVisible(CurrentPage(hSheet)); }))
            return Painted(hSheet), 0;
    }
    else if (!strcmp(pszCommand, "menu"))
    {
        PressKeys({ VK_F10, VK_DOWN });
        if (WaitUntil([&] { return (hShown = marlin.PopupMenu()) != nullptr; }))
            PrintRect(hSheet);
    }
    else if (!strcmp(pszCommand, "about"))
    {
        // Help: Contents, (separator), About.
        PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN });
        WaitUntil([&] { return (hShown = marlin.AboutBox()) != nullptr; });
    }
    else if (!strcmp(pszCommand, "escape"))
    {
        // Escape leaves a pop-up for its bar; a second one leaves the bar.
        bool bMenu = marlin.PopupMenu();
        PressKeys({ VK_ESCAPE });
        if (bMenu)
            PressKeys({ VK_ESCAPE });
        if (WaitUntil([&] { return !marlin.PopupMenu() && !marlin.AboutBox(); }))
            return 0;
    }
    else if (!strcmp(pszCommand, "cancel"))
    {
        PostMessageW(hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        if (marlin.HasEnded())
            return 0;
    }
    if (!Painted(hShown))
        return fprintf(stderr, "--drive %s: not done in time\n", pszCommand), 1;
    PrintRect(hShown);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (PlayHelpViewer())
        return 0;
    if (argc > 2 && !strcmp(argv[1], "--drive"))
        return Drive(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
