// The Window Calculator's arithmetic: the presets come out of it, the
// largest window caps it, and no input overflows it or is misread. The
// end-to-end tests see the fields' other edges refused.
#include "WindowAdvice.h"

#include <gtest/gtest.h>

namespace
{

const DWORD LARGEST = 1073725440;

TEST(WindowAdvice, IsTheDelayProductInWholeSegmentsUpToTheLargestWindow)
{
    const struct
    {
        const char *pszName;
        DWORD dwSpeed, dwRtt, dwMtu;
        uint64_t qwDelayProduct;
        DWORD dwWindow, dwSegments;
        bool bLargest;
    } cases[] = {
        // The Settings menu's presets, from links like theirs.
        { "FOMA", 384, 1335, 1500, 64080, 64240, 44, false },
        { "PacketOne", 144, 1750, 1500, 31500, 32120, 22, false },
        { "AirH", 128, 1050, 1500, 16800, 17520, 12, false },
        { "@FreeD", 64, 1800, 1456, 14400, 15576, 11, false },
        { "needs scaling", 1000, 600, 1500, 75000, 75920, 52, false },
        { "an eighth of a byte", 1, 1, 1500, 1, 1460, 1, false },
        { "smallest segment", 100, 100, 68, 1250, 1260, 45, false },
        { "exactly the largest", 262140, 32768, 1320, LARGEST, LARGEST, 838848, false },
        { "a byte more", 262141, 32768, 1320, 1073729536, LARGEST, 838848, true },
        { "fits, its segments do not", 262140, 32768, 1500, LARGEST, LARGEST, 735428, true },
        { "every input at its most", 100000000, 60000, 65535, 750000000000, LARGEST, 16394, true },
        { "more segments than 32 bits count", 100000000, 60000, 68, 750000000000, LARGEST, 38347337, true },
    };
    for (const auto &test : cases)
    {
        WindowAdvice advice = AdviseWindow(test.dwSpeed, test.dwRtt, test.dwMtu);
        EXPECT_EQ(test.qwDelayProduct, advice.qwDelayProduct) << test.pszName;
        EXPECT_EQ(test.dwWindow, advice.dwWindow) << test.pszName;
        EXPECT_EQ(test.dwSegments, advice.dwSegments) << test.pszName;
        EXPECT_EQ(test.bLargest, advice.bLargest) << test.pszName;
        // What the window is for: one connection at the line's speed, where any window can carry it.
        EXPECT_EQ(test.qwDelayProduct <= LARGEST, MostThroughput(advice.dwWindow, test.dwRtt) >= test.dwSpeed)
            << test.pszName;
    }
}

TEST(WindowAdvice, ReadsDigitsInTheRangeOnly)
{
    const DWORD UNTOUCHED = 0xdeadbeef;
    const struct
    {
        const WCHAR *pszText;
        const InputRange &range;
        InputFault fault;
        DWORD dwValue;
    } cases[] = {
        { TEXT(""), SPEED_RANGE, InputFault::Empty, UNTOUCHED },
        { TEXT("0384"), SPEED_RANGE, InputFault::None, 384 },
        { TEXT("100000000"), SPEED_RANGE, InputFault::None, 100000000 },
        { TEXT("100000001"), SPEED_RANGE, InputFault::OutOfRange, UNTOUCHED },
        { TEXT("184467440737095516161"), SPEED_RANGE, InputFault::OutOfRange, UNTOUCHED },   // 1 more than 10 * 2^64
        { TEXT("184467440737095516161x"), SPEED_RANGE, InputFault::NotANumber, UNTOUCHED },
        { TEXT("-5"), SPEED_RANGE, InputFault::NotANumber, UNTOUCHED },
        { TEXT("\uff15"), RTT_RANGE, InputFault::NotANumber, UNTOUCHED },   // a full-width 5
        { TEXT("60000"), RTT_RANGE, InputFault::None, 60000 },
        { TEXT("68"), MTU_RANGE, InputFault::None, 68 },
        { TEXT("65535"), MTU_RANGE, InputFault::None, 65535 },
        { TEXT("65536"), MTU_RANGE, InputFault::OutOfRange, UNTOUCHED },
    };
    for (const auto &test : cases)
    {
        DWORD dwValue = UNTOUCHED;
        EXPECT_EQ(int(test.fault), int(ReadInput(test.pszText, test.range, dwValue))) << "case " << (&test - cases);
        EXPECT_EQ(test.dwValue, dwValue) << "case " << (&test - cases);
    }
}

} // namespace
