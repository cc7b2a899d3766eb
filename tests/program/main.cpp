// The tests' entry point, which also plays the handheld's help viewer: copied
// as peghelp.exe, it writes the command line it was given into
// peghelp.exe.log beside itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

} // namespace

int main(int argc, char **argv)
{
    if (PlayHelpViewer())
        return 0;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
