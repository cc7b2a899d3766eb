// Whole files in and out, for registry files. Windows only.
#pragma once

#include "Platform.h"

#include <vector>

// False with the platform's error in GetLastError().
bool ReadFileBytes(const WCHAR *pszPath, std::vector<BYTE> *pBytes);
// A file that must not exist yet (ERROR_FILE_EXISTS when it does).
bool WriteNewFile(const WCHAR *pszPath, const std::vector<BYTE> &bytes);
// Writes a temporary file beside the original, flushes it and renames it
// over the original, so that a crash leaves the old file or the new one.
bool ReplaceFileBytes(const WCHAR *pszPath, const std::vector<BYTE> &bytes);
