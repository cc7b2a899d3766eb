// Choosing a receive window for a link: one connection carries at most one
// window per round trip, so the window should hold what the link carries in
// one round trip (the bandwidth-delay product), in whole segments. No
// windows here, so that it builds natively as well.
#pragma once

#include "Platform.h"

#include <cstdint>

// The numbers a field of the calculator takes, both ends included.
struct InputRange
{
    DWORD dwLow;
    DWORD dwHigh;
};
const InputRange SPEED_RANGE = { 1, 100000000 };   // kbit/s
const InputRange RTT_RANGE = { 1, 60000 };         // ms
// From the smallest datagram every IPv4 link carries to the largest there is.
const InputRange MTU_RANGE = { 68, 65535 };        // bytes
const DWORD ETHERNET_MTU = 1500;

enum class InputFault
{
    None,
    Empty,
    NotANumber,   // anything but decimal digits
    OutOfRange,
};

// Reads a field's text into dwValue, which is left alone unless the text is
// a number in the range.
InputFault ReadInput(const WCHAR *pszText, const InputRange &range, DWORD &dwValue);

struct WindowAdvice
{
    uint64_t qwDelayProduct;   // bytes in flight at full speed, rounded up
    DWORD dwSegmentSize;       // the MSS: the MTU less the IP and TCP headers
    DWORD dwWindow;            // the suggested receive window
    DWORD dwSegments;          // whole segments the window holds
    // Whole segments would make more than the largest window there is,
    // which is suggested instead: enough, though not a whole number of them.
    bool bLargest;
};

// For inputs in their ranges; 64-bit throughout, so that none overflows.
WindowAdvice AdviseWindow(DWORD dwSpeed, DWORD dwRtt, DWORD dwMtu);

// The most one connection with this window reaches at this round trip, in
// kbit/s (rounded down).
uint64_t MostThroughput(DWORD dwWindow, DWORD dwRtt);
