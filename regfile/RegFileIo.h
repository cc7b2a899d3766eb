// Whole files in and out, for registry files, and the build variables an
// image's file is read under. Windows only.
#pragma once

#include "BuildVariables.h"
#include "Platform.h"

#include <vector>

// False with the platform's error in GetLastError().
bool ReadFileBytes(const WCHAR *pszPath, std::vector<BYTE> *pBytes);
// A file that must not exist yet (ERROR_FILE_EXISTS when it does).
bool WriteNewFile(const WCHAR *pszPath, const std::vector<BYTE> &bytes);
// Writes a temporary file beside the original, flushes it and renames it
// over the original, so that a crash leaves the old file or the new one. A
// read-only original is refused (ERROR_ACCESS_DENIED), as Windows' rename
// refuses it; Wine's would replace it.
bool ReplaceFileBytes(const WCHAR *pszPath, const std::vector<BYTE> &bytes);

// The variables of the process's environment, as the image build's window
// sets them.
class CProcessVariables : public IBuildVariables
{
public:
    bool Lookup(const WString &strName, WString *pstrValue) const override;
};
