// Real input through the system's input queue (SendInput), as a user gives it.
#pragma once

#include <windows.h>

// Queued only: whatever loop the thread is in (a menu's, say) receives them.
void ClickAt(POINT ptScreen);
void PressKey(WORD wVirtualKey, bool bControl = false);

// Handles what is queued for this thread, passing a dialog's keys to it,
// then keeps doing so for the time given.
void PumpMessages(DWORD dwMilliseconds = 0);

// These also handle what they caused before returning, so they belong in
// the loop of the sheet or dialog itself, never in a menu's.
void PressKeyNow(WORD wVirtualKey, bool bControl = false);
void TypeText(const wchar_t *pszText);
void ClickWindow(HWND hWnd);
// Gives a control the keyboard focus, as a click would.
void FocusControl(HWND hControl);
// Selects a sheet's tab by clicking it.
void ClickTab(HWND hSheet, int nTab);
