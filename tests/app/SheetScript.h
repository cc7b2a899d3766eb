// Drives a modal sheet as a user would: a script runs inside the sheet's own
// message loop once the sheet is on screen, and sends it real keystrokes and
// clicks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Calls runModal, which shows a modal sheet; once the sheet is visible the
// script runs with its window. A sheet the script leaves open is cancelled.
void RunWithSheet(const std::function<void()> &runModal, const std::function<void(HWND hSheet)> &script);

// Handles what is queued for this thread, then keeps doing so for the time given.
void PumpMessages(DWORD dwMilliseconds = 0);

// Real input: the text as keystrokes to the focused control, one key, a
// left click in the middle of a window or at a point of a window.
void TypeText(const wchar_t *pszText);
void PressKey(WORD wVirtualKey, bool bControl = false);
void ClickWindow(HWND hWnd);
void ClickAt(HWND hWnd, POINT ptClient);

// Gives a control of the sheet the keyboard focus, as a click would.
void FocusControl(HWND hControl);

// Selects a tab by clicking it.
void ClickTab(HWND hSheet, int nTab);
std::wstring TabText(HWND hSheet, int nTab);
int TabCount(HWND hSheet);

std::wstring WindowText(HWND hWnd);
// The visible pop-up menu of this thread, or null.
HWND FindPopupMenu();
