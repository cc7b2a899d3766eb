// The string table: every text the program shows or looks up by number.
#include "ResourceReader.h"

#include <gtest/gtest.h>

namespace
{

struct StringCase
{
    UINT nID;
    const WCHAR *pszText;
};

void PrintTo(const StringCase &entry, std::ostream *os) { *os << entry.nID; }

const StringCase strings[] = {
    { 10001, L"In order to specify 64K or more Tcp Window Size, you must enable Window Scaling. "
             L"Do you want to enable Window Scaling?" },
    { 10002, L"You must specify Default TTL of 1 to 255." },
    { 10003, L"You must perform soft reset before the new settings will take effect. "
             L"Do you want to perform soft reset?" },
    { 10004, L"Settings were changed. You must perform soft reset before the new settings will take effect." },
    { 20001, L"PPP Adapter" },
    { 30001, L"Settings" },
    { 30002, L"Help" },
};

class StringTable : public ::testing::TestWithParam<StringCase>
{
};

TEST_P(StringTable, HoldsTheExactText)
{
    StringResource string = LoadStringResource(GetParam().nID);
    ASSERT_TRUE(string.bFound) << "no string " << GetParam().nID;
    EXPECT_EQ(GetParam().pszText, string.strText);
}

INSTANTIATE_TEST_SUITE_P(, StringTable, ::testing::ValuesIn(strings),
                         [](const ::testing::TestParamInfo<StringCase> &info) {
                             return "String" + std::to_string(info.param.nID);
                         });

} // namespace
