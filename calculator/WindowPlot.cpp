#include "WindowPlot.h"

#include "FormatText.h"
#include "ResourceString.h"
#include "resource.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace
{

const int GAP = 4;            // pixels between a label and what it labels
const int SWATCH = 16;        // a legend entry's stroke
const int CURVE_WIDTH = 2;

SIZE TextSize(HDC hDC, const CString &strText)
{
    SIZE size = {};
    GetTextExtentPoint32W(hDC, strText, strText.GetLength(), &size);
    return size;
}

// Text placed by a point: nAlign as for SetTextAlign, centred down.
void Label(HDC hDC, int x, int y, UINT nAlign, const CString &strText)
{
    SetTextAlign(hDC, nAlign | TA_TOP);
    TextOutW(hDC, x, y - TextSize(hDC, strText).cy / 2, strText, strText.GetLength());
}

void Stroke(HDC hDC, COLORREF colour, int nWidth, const std::vector<POINT> &points)
{
    HPEN hPen = CreatePen(PS_SOLID, nWidth, colour);
    HGDIOBJ hOldPen = SelectObject(hDC, hPen);
    Polyline(hDC, points.data(), static_cast<int>(points.size()));
    SelectObject(hDC, hOldPen);
    DeleteObject(hPen);
}

// The axes' area in pixels and what its edges stand for.
struct Axes
{
    RECT rc;
    double dMaxRtt;     // ms at the right
    double dMaxSpeed;   // kbit/s at the top

    int Y(double dSpeed) const
    {
        // Far above the top is as good as infinitely far, and GDI takes it.
        double dY = rc.bottom - dSpeed / dMaxSpeed * (rc.bottom - rc.top);
        return static_cast<int>(std::max(dY, rc.top - 10.0));
    }
};

// One connection sends at most one window per round trip.
void Curve(HDC hDC, const Axes &axes, DWORD dwWindow, COLORREF colour)
{
    std::vector<POINT> points;
    for (int x = axes.rc.left + 1; x <= axes.rc.right; x++)
    {
        double dRtt = (x - axes.rc.left) * axes.dMaxRtt / (axes.rc.right - axes.rc.left);
        points.push_back({ x, axes.Y(dwWindow * 8.0 / dRtt) });
    }
    Stroke(hDC, colour, CURVE_WIDTH, points);
}

// Along the bottom, centred: each line's colour and what it shows.
void Legend(HDC hDC, const RECT &rc, const WindowPlot &plot)
{
    struct Entry
    {
        UINT nIDText;
        COLORREF colour;
    } entries[] = { { IDS_CALC_CURRENT_WINDOW, CURRENT_WINDOW_COLOUR },
                    { IDS_CALC_SUGGESTED_WINDOW, SUGGESTED_WINDOW_COLOUR },
                    { IDS_CALC_LINE_SPEED, LINE_SPEED_COLOUR } };
    const Entry *pFirst = plot.bCurrentWindow ? entries : entries + 1;
    int cxAll = 0;
    for (const Entry *pEntry = pFirst; pEntry != std::end(entries); pEntry++)
        cxAll += SWATCH + GAP + TextSize(hDC, LoadResourceString(pEntry->nIDText)).cx + 3 * GAP;
    int x = (rc.left + rc.right - cxAll + 3 * GAP) / 2;
    int y = rc.bottom - GAP - TextSize(hDC, L"0").cy / 2;
    for (const Entry *pEntry = pFirst; pEntry != std::end(entries); pEntry++)
    {
        CString strText = LoadResourceString(pEntry->nIDText);
        Stroke(hDC, pEntry->colour, CURVE_WIDTH, { { x, y }, { x + SWATCH, y } });
        x += SWATCH + GAP;
        Label(hDC, x, y, TA_LEFT, strText);
        x += TextSize(hDC, strText).cx + 3 * GAP;
    }
}

} // namespace

void DrawWindowPlot(HDC hDC, const RECT &rc, HFONT hFont, const WindowPlot *pPlot)
{
    FillRect(hDC, &rc, GetSysColorBrush(COLOR_WINDOW));
    if (!pPlot)
        return;
    const WindowPlot &plot = *pPlot;
    int nSaved = SaveDC(hDC);
    SelectObject(hDC, hFont);
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, GetSysColor(COLOR_WINDOWTEXT));

    // Round trips from 0 to twice the one entered, speeds to twice the line's.
    CString strTopSpeed = DecimalText(2LL * plot.dwSpeed), strLastRtt = DecimalText(2LL * plot.dwRtt);
    int cyText = TextSize(hDC, L"0").cy;
    Axes axes = { { rc.left + GAP + TextSize(hDC, strTopSpeed).cx + GAP, rc.top + GAP + cyText + GAP,
                    rc.right - GAP - TextSize(hDC, strLastRtt).cx / 2, rc.bottom - GAP - 3 * cyText - GAP },
                  2.0 * plot.dwRtt, 2.0 * plot.dwSpeed };
    const RECT &area = axes.rc;
    int xMiddle = (area.left + area.right) / 2, yMiddle = axes.Y(plot.dwSpeed);

    COLORREF axisColour = GetSysColor(COLOR_WINDOWTEXT), gridColour = GetSysColor(COLOR_GRAYTEXT);
    Stroke(hDC, gridColour, 1, { { xMiddle, area.top }, { xMiddle, area.bottom } });
    Stroke(hDC, axisColour, 1, { { area.left, area.top }, { area.left, area.bottom }, { area.right, area.bottom } });
    for (int nStep = 0; nStep <= 2; nStep++)
    {
        int x = area.left + nStep * (area.right - area.left) / 2;
        int y = area.bottom - nStep * (area.bottom - area.top) / 2;
        Stroke(hDC, axisColour, 1, { { x, area.bottom }, { x, area.bottom + GAP } });
        Stroke(hDC, axisColour, 1, { { area.left - GAP, y }, { area.left, y } });
        Label(hDC, x, area.bottom + GAP + cyText / 2, TA_CENTER, DecimalText(nStep * plot.dwRtt));
        Label(hDC, area.left - GAP, y, TA_RIGHT, DecimalText(nStep * static_cast<long long>(plot.dwSpeed)));
    }
    Label(hDC, rc.left + GAP, rc.top + GAP + cyText / 2, TA_LEFT, LoadResourceString(IDS_CALC_KBITS));
    Label(hDC, xMiddle, area.bottom + GAP + cyText * 3 / 2, TA_CENTER, LoadResourceString(IDS_CALC_RTT_AXIS));
    Legend(hDC, rc, plot);

    IntersectClipRect(hDC, area.left + 1, area.top, area.right + 1, area.bottom);
    Stroke(hDC, LINE_SPEED_COLOUR, CURVE_WIDTH, { { area.left, yMiddle }, { area.right, yMiddle } });
    Curve(hDC, axes, plot.dwSuggestedWindow, SUGGESTED_WINDOW_COLOUR);
    if (plot.bCurrentWindow)
        Curve(hDC, axes, plot.dwCurrentWindow, CURRENT_WINDOW_COLOUR);
    RestoreDC(hDC, nSaved);
}
