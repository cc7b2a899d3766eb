// The program's icon (group 106, which the About box shows): a 16x16 and a
// 32x32 image, each 8 bits per pixel with a palette, stored as bitmaps.
#include "resource.h"

#include <windows.h>

#include <set>

#include <gtest/gtest.h>

namespace
{

#pragma pack(push, 2)
struct GroupIconEntry
{
    BYTE bWidth;
    BYTE bHeight;
    BYTE bColorCount;
    BYTE bReserved;
    WORD wPlanes;
    WORD wBitCount;
    DWORD dwBytesInRes;
    WORD nId;
};
#pragma pack(pop)

const BYTE *Resource(LPCWSTR pszName, LPCWSTR pszType, DWORD *pdwSize)
{
    HRSRC hInfo = FindResourceW(nullptr, pszName, pszType);
    if (!hInfo)
        return nullptr;
    *pdwSize = SizeofResource(nullptr, hInfo);
    return static_cast<const BYTE *>(LockResource(LoadResource(nullptr, hInfo)));
}

TEST(ProgramIcon, HasA16And32PixelImageOf256ColoursEach)
{
    DWORD dwSize = 0;
    const BYTE *pGroup = Resource(MAKEINTRESOURCEW(IDI_MARLIN), RT_GROUP_ICON, &dwSize);
    ASSERT_NE(nullptr, pGroup);
    const WORD *pHeader = reinterpret_cast<const WORD *>(pGroup);
    ASSERT_EQ(1, pHeader[1]) << "an icon";
    ASSERT_EQ(2, pHeader[2]) << "two images";
    ASSERT_GE(dwSize, 6 + 2 * sizeof(GroupIconEntry));

    std::set<int> sizes;
    const GroupIconEntry *pEntries = reinterpret_cast<const GroupIconEntry *>(pGroup + 6);
    for (int i = 0; i < 2; ++i)
    {
        const GroupIconEntry &entry = pEntries[i];
        EXPECT_EQ(entry.bWidth, entry.bHeight);
        EXPECT_EQ(8, entry.wBitCount);
        sizes.insert(entry.bWidth);

        DWORD dwImageSize = 0;
        const BYTE *pImage = Resource(MAKEINTRESOURCEW(entry.nId), RT_ICON, &dwImageSize);
        ASSERT_NE(nullptr, pImage);
        ASSERT_GE(dwImageSize, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        const BITMAPINFOHEADER *pInfo = reinterpret_cast<const BITMAPINFOHEADER *>(pImage);
        EXPECT_EQ(sizeof(BITMAPINFOHEADER), pInfo->biSize) << "a bitmap, not PNG";
        EXPECT_EQ(entry.bWidth, pInfo->biWidth);
        EXPECT_EQ(2 * entry.bWidth, pInfo->biHeight) << "colours and mask";
        EXPECT_EQ(8, pInfo->biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), pInfo->biCompression);
        // Header, 256 palette entries, one byte per pixel, one bit of mask
        // per pixel with 32-bit rows.
        DWORD dwMaskRow = (entry.bWidth + 31) / 32 * 4;
        EXPECT_EQ(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + entry.bWidth * entry.bWidth +
                      dwMaskRow * entry.bWidth,
                  dwImageSize);
    }
    EXPECT_EQ((std::set<int>{16, 32}), sizes);
}

} // namespace
