// The user's browser on a document of the program's, at an anchor.
#pragma once

#include "String.h"

#include <windows.h>
#include <shellapi.h>

// False when the document is missing or nothing could open it; the shell
// shows no message of its own.
bool OpenInBrowser(HWND hOwner, const CString &strDocument, const WCHAR *pszAnchor);

// ShellExecuteExW, the shell loaded when first needed.
bool OpenWithShellExecute(SHELLEXECUTEINFOW *pInfo);
