// What the platform shows, read back for the tests' checks and messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

POINT CentreOf(const RECT &rc);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hWnd);
std::wstring WindowText(HWND hWnd);
std::vector<std::wstring> TabTexts(HWND hTabControl);
// The visible pop-up menu window ("#32768") of this thread, or null.
HWND FindMenuWindow();
// Item texts of a menu; separators as "-".
std::vector<std::wstring> MenuTexts(HMENU hMenu);

std::string Narrow(const std::wstring &str);
std::string Describe(const RECT &rc);
