#include "gfx/PaletteBitmap.h"

#include "resource.h"
#include "support/Surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A packed device-independent bitmap built in memory: header, colour
// table, bottom-up rows padded to four bytes.
struct PackedDib {
    std::vector<BYTE> bytes;
    const void* data() const { return bytes.data(); }
};

PackedDib MakeDib(int width, int height, int bitCount, int tableSize, DWORD coloursUsed,
                  COLORREF (*tableColour)(int), void (*setPixel)(BYTE* row, int x, int y))
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitCount);
    header.biCompression = BI_RGB;
    header.biClrUsed = coloursUsed;
    int stride = ((width * bitCount + 31) / 32) * 4;
    PackedDib dib;
    dib.bytes.resize(sizeof header + 4 * tableSize + static_cast<size_t>(stride) * height);
    std::memcpy(dib.bytes.data(), &header, sizeof header);
    auto* table = reinterpret_cast<RGBQUAD*>(dib.bytes.data() + sizeof header);
    for (int i = 0; i < tableSize; ++i) {
        COLORREF colour = tableColour(i);
        table[i] = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    }
    BYTE* bits = dib.bytes.data() + sizeof header + 4 * tableSize;
    for (int y = 0; y < height; ++y) {
        // Rows are stored from the bottom up.
        BYTE* row = bits + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x)
            setPixel(row, x, y);
    }
    return dib;
}

DWORD Rgb(COLORREF colour)
{
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

HPALETTE Palette(const PaletteBitmap& bitmap)
{
    return static_cast<HPALETTE>(bitmap.m_palette.GetSafeHandle());
}

int PaletteEntries(HPALETTE palette)
{
    WORD entries = 0;
    if (!palette || !GetObjectA(palette, sizeof entries, &entries))
        return 0;
    return entries;
}

// Distinct colours, none white.
COLORREF TableColour(int i)
{
    return RGB((i * 37) % 200, (i * 91) % 230, 40 + (i * 13) % 180);
}

TEST(PaletteBitmap, ColourTableSizeFollowsBitCountAndColoursUsed)
{
    // 4 bits without colours-used: 16 entries, pixels right after them.
    auto four = MakeDib(8, 2, 4, 16, 0, TableColour, [](BYTE* row, int x, int) {
        int index = 15 - x; // 15, 14, ... 8
        row[x / 2] |= static_cast<BYTE>(x % 2 ? index : index << 4);
    });
    PaletteBitmap fourBit;
    fourBit.LoadFromPackedDib(four.data());
    EXPECT_EQ(16, PaletteEntries(Palette(fourBit)));
    Surface fourOut(8, 2);
    fourBit.Draw(fourOut.dc(), {0, 0, 7, 1}, 0, 0);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(Rgb(TableColour(15 - x)), fourOut.At(x, 0)) << "x " << x;

    // 8 bits with colours-used 186: 186 entries, and the pixels start after
    // those 186, not after a full table of 256.
    auto eight = MakeDib(200, 3, 8, 186, 186, TableColour, [](BYTE* row, int x, int y) {
        row[x] = static_cast<BYTE>((x + y) % 186);
    });
    PaletteBitmap eightBit;
    eightBit.LoadFromPackedDib(eight.data());
    EXPECT_EQ(186, PaletteEntries(Palette(eightBit)));
    Surface eightOut(200, 3);
    eightBit.Draw(eightOut.dc(), {0, 0, 199, 2}, 0, 0);
    for (int y = 0; y < 3; ++y)
        for (int x : {0, 1, 100, 185, 199})
            EXPECT_EQ(Rgb(TableColour((x + y) % 186)), eightOut.At(x, y)) << x << "," << y;
}

TEST(PaletteBitmap, TrueColourPictureHasNoPaletteAndItsBitsFollowTheHeader)
{
    auto dib = MakeDib(5, 2, 24, 0, 0, TableColour, [](BYTE* row, int x, int y) {
        row[3 * x] = static_cast<BYTE>(10 + x);      // blue
        row[3 * x + 1] = static_cast<BYTE>(50 * y);  // green
        row[3 * x + 2] = static_cast<BYTE>(200 - x); // red
    });
    PaletteBitmap picture;
    picture.LoadFromPackedDib(dib.data());
    EXPECT_EQ(nullptr, Palette(picture));
    ASSERT_NE(nullptr, picture.m_hObject);
    Surface out(5, 2);
    picture.Draw(out.dc(), {0, 0, 4, 1}, 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(static_cast<DWORD>(((200 - x) << 16) | ((50 * y) << 8) | (10 + x)), out.At(x, y));
}

// A 1280 x 40 strip whose colour changes every 32 pixels across.
PackedDib MakeStrip()
{
    return MakeDib(1280, 40, 8, 40, 40, TableColour, [](BYTE* row, int x, int) {
        row[x] = static_cast<BYTE>(x / 32);
    });
}

TEST(PaletteBitmap, CellsAreCutFromTheSourceOrigin)
{
    auto strip = MakeStrip();
    PaletteBitmap bitmap;
    bitmap.LoadFromPackedDib(strip.data());
    // Loading makes the whole picture one cell.
    int width = 0, height = 0;
    bitmap.GetCellSize(&width, &height);
    EXPECT_EQ(1280, width);
    EXPECT_EQ(40, height);
    EXPECT_EQ(1279, bitmap.m_rcSource.right);
    EXPECT_EQ(39, bitmap.m_rcSource.bottom);

    bitmap.SetCellSize(320, 40);
    Surface out(320, 40);
    bitmap.Draw(out.dc(), {0, 0, 319, 39}, 2, 0);
    // Cell (2, 0) covers x 640 to 959 of the strip.
    EXPECT_EQ(Rgb(TableColour(640 / 32)), out.At(0, 0));
    EXPECT_EQ(Rgb(TableColour(959 / 32)), out.At(319, 39));

    // A source rectangle moves the origin of every cell.
    bitmap.SetSourceRect({64, 0, 1279, 39});
    bitmap.Draw(out.dc(), {0, 0, 319, 39}, 1, 0);
    EXPECT_EQ(Rgb(TableColour((64 + 320) / 32)), out.At(0, 0));
}

TEST(PaletteBitmap, DestinationIsInclusiveWhereverItStarts)
{
    // A picture larger than the cell, so that one more row and column exist.
    auto picture = MakeDib(400, 80, 8, 40, 40, TableColour, [](BYTE* row, int x, int) {
        row[x] = static_cast<BYTE>(x / 32);
    });
    PaletteBitmap bitmap;
    bitmap.LoadFromPackedDib(picture.data());
    bitmap.SetCellSize(320, 40);

    Surface exact(400, 100);
    bitmap.Draw(exact.dc(), {0, 0, 319, 39}, 0, 0);
    SIZE copied = exact.ChangedExtent();
    EXPECT_EQ(320, copied.cx);
    EXPECT_EQ(40, copied.cy);

    Surface larger(400, 100);
    bitmap.Draw(larger.dc(), {0, 0, 320, 40}, 0, 0);
    copied = larger.ChangedExtent();
    EXPECT_EQ(321, copied.cx);
    EXPECT_EQ(41, copied.cy);

    // Away from the corner the size is the same: right - left + 1.
    Surface moved(400, 100);
    bitmap.Draw(moved.dc(), {10, 5, 329, 44}, 0, 0);
    copied = moved.ChangedExtent();
    EXPECT_EQ(330, copied.cx);
    EXPECT_EQ(45, copied.cy);
    EXPECT_EQ(0xFFFFFFu, moved.At(9, 4) & 0xFFFFFF);
}

TEST(PaletteBitmap, ProgramPicturesLoadFromResources)
{
    PaletteBitmap background;
    ASSERT_TRUE(background.LoadFromResource(IDB_BACKGROUND));
    EXPECT_EQ(624, background.m_header.biWidth);
    EXPECT_EQ(464, background.m_header.biHeight);
    EXPECT_EQ(8, background.m_header.biBitCount);
    EXPECT_GT(PaletteEntries(Palette(background)), 16);
    EXPECT_EQ(623, background.m_rcSource.right);
    EXPECT_EQ(463, background.m_rcSource.bottom);

    for (UINT id : {IDB_STRIP_EXIT, IDB_STRIP_INSTALL, IDB_STRIP_UNINSTALL, IDB_STRIP_GAME,
                    IDB_STRIP_CONFIG, IDB_STRIP_INTRO}) {
        PaletteBitmap strip;
        ASSERT_TRUE(strip.LoadFromResource(id)) << id;
        EXPECT_EQ(1280, strip.m_header.biWidth) << id;
        EXPECT_EQ(40, strip.m_header.biHeight) << id;
        EXPECT_NE(nullptr, Palette(strip)) << id;
    }

    // No such picture: the object stays empty and draws nothing.
    PaletteBitmap missing;
    EXPECT_FALSE(missing.LoadFromResource(4242));
    EXPECT_EQ(nullptr, missing.m_hObject);
    Surface out(10, 10);
    missing.Draw(out.dc(), {0, 0, 9, 9}, 0, 0);
    EXPECT_EQ(0, out.ChangedExtent().cx);
}

} // namespace
