// shell_verb.exe VERB FILE: runs a verb of a file through the shell, as
// Explorer runs the command a user picks from a file's menu. Exits with 0
// when the shell started it.
#include <windows.h>
#include <shellapi.h>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3)
        return 2;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = argv[1];
    info.lpFile = argv[2];
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) ? 0 : 1;
}
