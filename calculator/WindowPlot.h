// The Window Calculator's picture: the most one connection reaches (kbit/s)
// against the round-trip time, for the current and the suggested window,
// with the line speed across it. Where a window's curve falls below the
// line, that window, not the link, sets the speed.
#pragma once

#include <windows.h>

struct WindowPlot
{
    DWORD dwSpeed;            // kbit/s, drawn at half the height
    DWORD dwRtt;              // ms, at half the width
    DWORD dwSuggestedWindow;
    bool bCurrentWindow;      // false: there is no current window to draw
    DWORD dwCurrentWindow;
};

// Colours a reader tells apart: red where the link is capped now.
const COLORREF CURRENT_WINDOW_COLOUR = RGB(0xD0, 0, 0);
const COLORREF SUGGESTED_WINDOW_COLOUR = RGB(0, 0, 0xE0);
const COLORREF LINE_SPEED_COLOUR = RGB(0, 0x90, 0);

// Paints rc, with labels in hFont; only the background without a plot.
void DrawWindowPlot(HDC hDC, const RECT &rc, HFONT hFont, const WindowPlot *pPlot);
