#include "WindowAdvice.h"

#include "TcpipKeys.h"

// IPv4 and TCP headers without options.
static const DWORD HEADER_BYTES = 40;

InputFault ReadInput(const WCHAR *pszText, const InputRange &range, DWORD &dwValue)
{
    if (!*pszText)
        return InputFault::Empty;
    // Past the range the digits are still checked but no longer added up.
    uint64_t qwValue = 0;
    for (const WCHAR *pch = pszText; *pch; pch++)
    {
        if (*pch < '0' || *pch > '9')
            return InputFault::NotANumber;
        if (qwValue <= range.dwHigh)
            qwValue = qwValue * 10 + (*pch - '0');
    }
    if (qwValue < range.dwLow || qwValue > range.dwHigh)
        return InputFault::OutOfRange;
    dwValue = static_cast<DWORD>(qwValue);
    return InputFault::None;
}

WindowAdvice AdviseWindow(DWORD dwSpeed, DWORD dwRtt, DWORD dwMtu)
{
    WindowAdvice advice = {};
    // kbit/s times ms is bits.
    uint64_t qwBits = uint64_t(dwSpeed) * dwRtt;
    advice.qwDelayProduct = (qwBits + 7) / 8;
    advice.dwSegmentSize = dwMtu - HEADER_BYTES;
    uint64_t qwSegments = (advice.qwDelayProduct + advice.dwSegmentSize - 1) / advice.dwSegmentSize;
    uint64_t qwWindow = qwSegments * advice.dwSegmentSize;
    advice.bLargest = qwWindow > TcpipKeys::LARGEST_WINDOW;
    advice.dwWindow = advice.bLargest ? TcpipKeys::LARGEST_WINDOW : static_cast<DWORD>(qwWindow);
    advice.dwSegments = advice.dwWindow / advice.dwSegmentSize;
    return advice;
}

uint64_t MostThroughput(DWORD dwWindow, DWORD dwRtt)
{
    return uint64_t(dwWindow) * 8 / dwRtt;
}
