// Functions of the platform's libraries that only a command needs (the
// shell, the common dialogs), loaded from the system folder when first asked
// for. Linked, each library would load with the program, with the libraries
// it brings along, and lengthen every start.
#pragma once

#include <windows.h>

// The function, or nullptr when the library or the function is missing.
FARPROC SystemFunction(const WCHAR *pszLibrary, const char *pszName);

template <class Function>
Function *SystemFunction(const WCHAR *pszLibrary, const char *pszName)
{
    // Through void *: the platform hands out every export as one type.
    return reinterpret_cast<Function *>(reinterpret_cast<void *>(SystemFunction(pszLibrary, pszName)));
}
