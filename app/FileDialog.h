// The platform's dialogs that choose a file to open or a name to save as.
#pragma once

#include "String.h"

#include <windows.h>

// The types offered come from a string of the string table, its parts
// separated by '|' ("Registry files (*.reg)|*.reg|"). *pstrPath holds the
// name the dialog starts with and, after it, the one chosen; *pnType the type
// chosen, from 1. False when the user cancelled or the dialog cannot be had.
bool ChooseFileToOpen(HWND hOwner, UINT nIDFilter, const WCHAR *pszFolder, CString *pstrPath);
bool ChooseFileToSave(HWND hOwner, UINT nIDFilter, CString *pstrPath, DWORD *pnType);
