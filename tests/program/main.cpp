// The tests' entry point. Copied under the name peghelp.exe, the test
// program plays the handheld's help viewer instead: it writes the command
// line it was given into peghelp.exe.log beside itself, and ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

int main(int argc, char **argv)
{
    WCHAR szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring strPath = szPath;
    const std::wstring strViewer = L"\\peghelp.exe";
    if (strPath.size() > strViewer.size() &&
        lstrcmpiW(strPath.c_str() + strPath.size() - strViewer.size(), strViewer.c_str()) == 0)
    {
        HANDLE hLog = CreateFileW((strPath + L".log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const WCHAR *pszCommandLine = GetCommandLineW();
        DWORD cbWritten = 0;
        WriteFile(hLog, pszCommandLine, static_cast<DWORD>(lstrlenW(pszCommandLine) * sizeof(WCHAR)), &cbWritten, nullptr);
        CloseHandle(hLog);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
