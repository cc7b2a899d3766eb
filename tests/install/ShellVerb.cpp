// shell_verb.exe VERB FILE: runs a verb of a file through the shell, as
// Explorer runs what a user picks from a file's menu; 0 when it started.
#include <windows.h>
#include <shellapi.h>

int wmain(int argc, wchar_t **argv)
{
    SHELLEXECUTEINFOW info = { sizeof(info), SEE_MASK_FLAG_NO_UI };
    info.lpVerb = argc == 3 ? argv[1] : nullptr;
    info.lpFile = argc == 3 ? argv[2] : nullptr;
    info.nShow = SW_SHOWNORMAL;
    return argc == 3 && ShellExecuteExW(&info) ? 0 : 1;
}
