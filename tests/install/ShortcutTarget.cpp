// Prints the program a shortcut (.lnk) starts, as the shell resolves it:
// the installer test starts the installed program by its Start-menu entry.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2 || FAILED(CoInitialize(nullptr)))
        return 2;
    IShellLinkW *pLink = nullptr;
    IPersistFile *pFile = nullptr;
    WCHAR szTarget[MAX_PATH] = {};
    bool bResolved = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                                reinterpret_cast<void **>(&pLink))) &&
                     SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&pFile))) &&
                     SUCCEEDED(pFile->Load(argv[1], STGM_READ)) &&
                     SUCCEEDED(pLink->GetPath(szTarget, MAX_PATH, nullptr, 0)) && szTarget[0];
    if (pFile)
        pFile->Release();
    if (pLink)
        pLink->Release();
    CoUninitialize();
    if (bResolved)
        wprintf(L"%ls\n", szTarget);
    return bResolved ? 0 : 1;
}
