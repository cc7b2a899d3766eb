// The version block, as the platform's version calls read it from the file.
#include "ResourceReader.h"

#include <gtest/gtest.h>

namespace
{

class VersionBlock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WCHAR szPath[MAX_PATH];
        GetModuleFileNameW(nullptr, szPath, MAX_PATH);
        DWORD cbBlock = GetFileVersionInfoSizeW(szPath, nullptr);
        ASSERT_NE(0u, cbBlock) << "no version block, error " << GetLastError();
        m_block.resize(cbBlock);
        ASSERT_TRUE(GetFileVersionInfoW(szPath, 0, cbBlock, m_block.data()));
    }

    // The value's text, or "(none)".
    std::wstring Text(const WCHAR *pszName)
    {
        WCHAR *pszValue = nullptr;
        UINT cchValue = 0;
        std::wstring strPath = std::wstring(L"\\StringFileInfo\\040904b0\\") + pszName;
        if (!VerQueryValueW(m_block.data(), strPath.c_str(), reinterpret_cast<void **>(&pszValue), &cchValue) ||
            !pszValue)
            return L"(none)";
        return pszValue;
    }

    std::vector<BYTE> m_block;
};

TEST_F(VersionBlock, FixedPartIsVersion2019OfAnApplication)
{
    VS_FIXEDFILEINFO *pInfo = nullptr;
    UINT cbInfo = 0;
    ASSERT_TRUE(VerQueryValueW(m_block.data(), L"\\", reinterpret_cast<void **>(&pInfo), &cbInfo));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), cbInfo);
    EXPECT_EQ(Hex(0xFEEF04BD), Hex(pInfo->dwSignature));
    EXPECT_EQ(Hex(0x00020000), Hex(pInfo->dwFileVersionMS));
    EXPECT_EQ(Hex(0x00010009), Hex(pInfo->dwFileVersionLS));
    EXPECT_EQ(Hex(0x00020000), Hex(pInfo->dwProductVersionMS));
    EXPECT_EQ(Hex(0x00010009), Hex(pInfo->dwProductVersionLS));
    EXPECT_EQ(Hex(0x3F), Hex(pInfo->dwFileFlagsMask));
    EXPECT_EQ(Hex(0), Hex(pInfo->dwFileFlags));
    EXPECT_EQ(Hex(4), Hex(pInfo->dwFileOS)) << "32-bit Windows";
    EXPECT_EQ(Hex(1), Hex(pInfo->dwFileType)) << "an application";
    EXPECT_EQ(Hex(0), Hex(pInfo->dwFileSubtype));
    EXPECT_EQ(Hex(0), Hex(pInfo->dwFileDateMS | pInfo->dwFileDateLS));
}

TEST_F(VersionBlock, HasOneTranslationUsEnglishUnicode)
{
    DWORD *pTranslations = nullptr;
    UINT cbTranslations = 0;
    ASSERT_TRUE(VerQueryValueW(m_block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void **>(&pTranslations), &cbTranslations));
    ASSERT_EQ(4u, cbTranslations);
    EXPECT_EQ(Hex(MAKELONG(0x0409, 1200)), Hex(pTranslations[0]));
}

TEST_F(VersionBlock, StringTableHoldsTheValuesTheProgramReads)
{
    EXPECT_EQ(L"Marlin", Text(L"ProductName"));
    EXPECT_EQ(L"2.01", Text(L"ProductVersion"));
    EXPECT_EQ(L"Tuning TCP/IP Parameters", Text(L"FileDescription"));
    EXPECT_EQ(L"2.01", Text(L"FileVersion"));
}

TEST_F(VersionBlock, StringTableHoldsTheOtherKeys)
{
    for (const WCHAR *pszName : { L"Comments", L"InternalName", L"LegalCopyright", L"OriginalFilename" })
        EXPECT_NE(L"(none)", Text(pszName)) << Narrow(pszName);
}

} // namespace
