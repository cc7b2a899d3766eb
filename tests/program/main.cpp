// The tests' entry point, which plays two other parts:
// - copied as peghelp.exe, the handheld's help viewer: it writes the command
//   line it was given into peghelp.exe.log beside itself;
// - with --drive, the hand tools/run.sh takes its pictures with, on the
//   "Marlin" it started. Each command prints "x y width height" of what it
//   opened (the menu: the sheet's first) and fails when its time is up:
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
    std::wstring strPath(szPath, GetModuleFileNameW(nullptr, szPath, MAX_PATH));
    if (strPath.size() < 12 || lstrcmpiW(strPath.c_str() + strPath.size() - 12, L"\\peghelp.exe") != 0)
        return false;
    HANDLE hLog = CreateFileW((strPath + L".log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD cbWritten = 0;
    WriteFile(hLog, GetCommandLineW(), lstrlenW(GetCommandLineW()) * sizeof(WCHAR), &cbWritten, nullptr);
    CloseHandle(hLog);
    return true;
}

// Once painted, the window shows whole in a picture of the screen.
bool Print(HWND hWnd)
{
    RECT rc = {};
    if (!hWnd || !RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW))
        return false;
    Sleep(200);
    GetWindowRect(hWnd, &rc);
    printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return true;
}

int Drive(const std::string &strCommand, int nPage)
{
    CProgram marlin;
    if (!marlin.Attach(L"Marlin"))
        return fprintf(stderr, "no sheet \"Marlin\"\n"), 1;
    HWND hSheet = marlin.Sheet(), hAbout = marlin.AboutBox(), hShown = nullptr;
    if (hAbout)
        SetForegroundWindow(hAbout);
    else
        marlin.Activate();
    if (strCommand == "wait")
        hShown = hSheet;
    else if (strCommand == "select" && ShowPage(hSheet, nPage))
        hShown = hSheet;
    else if (strCommand == "menu")
    {
        PressKeys({ VK_F10, VK_DOWN });
        Print(hSheet);
        WaitUntil([&] { return (hShown = marlin.PopupMenu()) != nullptr; });
    }
    else if (strCommand == "about")
    {
        PressKeys({ VK_F10, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN });   // Help: Contents, (separator), About
        WaitUntil([&] { return (hShown = marlin.AboutBox()) != nullptr; });
    }
    else if (strCommand == "escape")
    {
        // Escape leaves a pop-up for its bar; a second one leaves the bar.
        bool bMenu = marlin.PopupMenu() != nullptr;
        PressKeys({ VK_ESCAPE });
        if (bMenu)
            PressKeys({ VK_ESCAPE });
        return WaitUntil([&] { return !marlin.PopupMenu() && !marlin.AboutBox(); }) ? 0 : 1;
    }
    else if (strCommand == "cancel")
    {
        PostMessageW(hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return marlin.HasEnded() ? 0 : 1;
    }
    return Print(hShown) ? 0 : (fprintf(stderr, "--drive %s: not done in time\n", strCommand.c_str()), 1);
}

} // namespace

int main(int argc, char **argv)
{
    if (PlayHelpViewer())
        return 0;
    if (argc > 2 && !strcmp(argv[1], "--drive"))
        return Drive(argv[2], argc > 3 ? atoi(argv[3]) : 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
