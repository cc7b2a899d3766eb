// The running program's own file, and the parts of a path. Windows only.
#pragma once

#include "String.h"

// The whole path of the executable; "" when it cannot be had whole.
CString ProgramPath();
// Its folder, with the closing backslash.
CString ProgramFolder();
// Its name without folder or extension ("marlin").
CString ProgramBaseName();

// The part of a path after its last folder (or drive).
const WCHAR *FileNameOf(const WCHAR *pszPath);
