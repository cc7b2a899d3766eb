// CFont owns exactly one font handle.
#include "Font.h"

#include <gtest/gtest.h>

namespace
{

LOGFONTW TestLogFont(LONG lHeight)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = lHeight;
    logFont.lfUnderline = TRUE;
    lstrcpyW(logFont.lfFaceName, L"Tahoma");
    return logFont;
}

TEST(Font, HandleLivesAsLongAsTheObject)
{
    HFONT hFont;
    {
        CFont font;
        EXPECT_EQ(nullptr, font.GetSafeHandle());
        LOGFONTW logFont = TestLogFont(-12);
        ASSERT_TRUE(font.CreateFontIndirect(&logFont));
        hFont = font.GetSafeHandle();
        EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(hFont));
        LOGFONTW held = {};
        ASSERT_EQ(static_cast<int>(sizeof(held)), GetObjectW(hFont, sizeof(held), &held));
        EXPECT_EQ(-12, held.lfHeight);
        EXPECT_TRUE(held.lfUnderline);
    }
    EXPECT_EQ(0u, GetObjectType(hFont)) << "deleted with the object";
}

TEST(Font, CreatingAgainDeletesTheFontHeldBefore)
{
    CFont font;
    LOGFONTW first = TestLogFont(-12), second = TestLogFont(-20);
    ASSERT_TRUE(font.CreateFontIndirect(&first));
    HFONT hFirst = font.GetSafeHandle();
    ASSERT_TRUE(font.CreateFontIndirect(&second));
    HFONT hSecond = font.GetSafeHandle();
    // Handles carry a use count, so a reused slot still gets a new value.
    ASSERT_NE(hFirst, hSecond);
    EXPECT_EQ(0u, GetObjectType(hFirst));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(hSecond));
}

TEST(Font, DeleteObjectReleasesAndForgetsTheHandle)
{
    CFont font;
    LOGFONTW logFont = TestLogFont(-12);
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    HFONT hFont = font.GetSafeHandle();
    font.DeleteObject();
    EXPECT_EQ(nullptr, font.GetSafeHandle());
    EXPECT_EQ(0u, GetObjectType(hFont));
    font.DeleteObject();
    EXPECT_EQ(nullptr, font.GetSafeHandle());
}

} // namespace
