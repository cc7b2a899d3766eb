// Icon group 106: the format of its images, not their pixels.
#include "ResourceReader.h"

#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

#pragma pack(push, 2)
struct GroupIconHeader
{
    WORD wReserved;
    WORD wType;       // 1: icons
    WORD wCount;
};
struct GroupIconEntry
{
    BYTE bWidth;
    BYTE bHeight;
    BYTE bColorCount;
    BYTE bReserved;
    WORD wPlanes;
    WORD wBitCount;
    DWORD dwBytesInRes;
    WORD nID;         // the RT_ICON resource with the image
};
#pragma pack(pop)

struct IconImage
{
    int nWidth;
    int nHeight;
    int nBitsPerPixel;

    bool operator==(const IconImage &other) const
    {
        return nWidth == other.nWidth && nHeight == other.nHeight && nBitsPerPixel == other.nBitsPerPixel;
    }
};

void PrintTo(const IconImage &image, std::ostream *os)
{
    *os << image.nWidth << "x" << image.nHeight << " at " << image.nBitsPerPixel << " bpp";
}

std::vector<GroupIconEntry> GroupEntries(UINT nID)
{
    std::vector<BYTE> bytes = ResourceBytes(RT_GROUP_ICON, nID);
    GroupIconHeader header;
    if (bytes.size() < sizeof(header))
        return {};
    memcpy(&header, bytes.data(), sizeof(header));
    std::vector<GroupIconEntry> entries(header.wCount);
    if (header.wType != 1 || bytes.size() < sizeof(header) + header.wCount * sizeof(GroupIconEntry))
        return {};
    memcpy(entries.data(), bytes.data() + sizeof(header), entries.size() * sizeof(GroupIconEntry));
    return entries;
}

// The image itself says what it is: a DIB header, height doubled for the mask.
IconImage ImageFormat(UINT nIconID)
{
    std::vector<BYTE> bytes = ResourceBytes(RT_ICON, nIconID);
    BITMAPINFOHEADER header;
    if (bytes.size() < sizeof(header))
        return { -1, -1, -1 };
    memcpy(&header, bytes.data(), sizeof(header));
    if (header.biSize < sizeof(header))
        return { -2, -2, -2 };    // a PNG or another format
    return { header.biWidth, header.biHeight / 2, header.biBitCount };
}

TEST(IconGroup, HasA16And32PixelImageAt256Colours)
{
    std::vector<GroupIconEntry> entries = GroupEntries(106);
    std::vector<IconImage> listed, stored;
    for (const GroupIconEntry &entry : entries)
    {
        listed.push_back({ entry.bWidth, entry.bHeight, entry.wBitCount });
        stored.push_back(ImageFormat(entry.nID));
    }
    EXPECT_THAT(listed, ::testing::UnorderedElementsAre(IconImage{ 16, 16, 8 }, IconImage{ 32, 32, 8 }))
        << "the group's directory";
    EXPECT_THAT(stored, ::testing::UnorderedElementsAre(IconImage{ 16, 16, 8 }, IconImage{ 32, 32, 8 }))
        << "the images' own headers";
}

// The platform picks the image of the size asked for.
TEST(IconGroup, LoadsAtBothSizes)
{
    for (int nSize : { 16, 32 })
    {
        HICON hIcon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(106), IMAGE_ICON, nSize, nSize, LR_DEFAULTCOLOR));
        ASSERT_NE(nullptr, hIcon) << "size " << nSize << ", error " << GetLastError();
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(hIcon, &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        EXPECT_EQ(nSize, bitmap.bmWidth);
        EXPECT_EQ(nSize, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(hIcon);
    }
}

} // namespace
