#include "SystemLibrary.h"

FARPROC SystemFunction(const WCHAR *pszLibrary, const char *pszName)
{
    // Loaded once and kept for the rest of the process.
    HMODULE hLibrary = GetModuleHandleW(pszLibrary);
    if (!hLibrary)
        hLibrary = LoadLibraryExW(pszLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!hLibrary && GetLastError() == ERROR_INVALID_PARAMETER)
        hLibrary = LoadLibraryW(pszLibrary);   // a system without the flag; these are known libraries there
    return hLibrary ? GetProcAddress(hLibrary, pszName) : nullptr;
}
