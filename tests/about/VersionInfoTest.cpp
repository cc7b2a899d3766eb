// CVersionInfo on the test program's own version block (the program's,
// from res/marlin.rc), and on files that have none.
#include "VersionInfo.h"

#include <gtest/gtest.h>

namespace
{

TEST(VersionInfo, FindsTheProgramsValuesThroughItsTranslation)
{
    const struct
    {
        const WCHAR *pszName, *pszValue;
    } values[] = { { L"ProductName", L"Marlin" }, { L"ProductVersion", L"2.01" },
                   { L"FileDescription", L"Tuning TCP/IP Parameters" }, { L"productname", L"Marlin" },
                   { L"NoSuchName", L"" } };
    CVersionInfo info;
    for (const auto &value : values)
        EXPECT_STREQ(value.pszValue, info.QueryValue(value.pszName)) << "value " << (&value - values);
}

TEST(VersionInfo, AFileWithoutABlockGivesAnEmptyReader)
{
    for (const WCHAR *pszFile : { L"C:\\no-such-file.exe", L"C:\\windows\\win.ini" })
    {
        CVersionInfo info(pszFile);
        EXPECT_EQ(nullptr, info.m_pTranslations);
        EXPECT_EQ(0, info.m_nTranslations);
        EXPECT_STREQ(L"", info.QueryValue(L"ProductName"));
    }
}

} // namespace
