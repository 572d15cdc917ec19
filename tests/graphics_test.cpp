// The pictures and the buttons drawn from them, and which cell a button shows in each state.
#include "fw/Dialog.h"
#include "gfx/BitmapButton.h"
#include "gfx/PaletteBitmap.h"
#include "resource.h"
#include "support/Surface.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Distinct colours, none white, as 0x00RRGGBB.
DWORD Colour(int i) { return (i * 37 % 200) << 16 | (i * 91 % 230) << 8 | (40 + i * 13 % 180); }

// A picture whose pixel (x, y) shows Colour(index(x, y)), with a table of `tableSize` colours Colour(0), Colour(1)...
struct Layout { const char* name; LONG width, height; WORD bitCount; DWORD coloursUsed, tableSize; int (*index)(int, int); };

// The packed device-independent bitmap: header, colour table, bottom-up rows padded to four bytes.
std::vector<BYTE> MakeDib(const Layout& l)
{
    const BITMAPINFOHEADER header = {sizeof header, l.width, l.height, 1, l.bitCount, BI_RGB, 0, 0, 0, l.coloursUsed, 0};
    const size_t stride = (l.width * l.bitCount + 31) / 32 * 4, bits = sizeof header + 4 * l.tableSize;
    std::vector<BYTE> dib(bits + stride * l.height);
    // Little-endian 0x00RRGGBB is an RGBQUAD, and its first three bytes a 24-bit pixel.
    auto put = [&](size_t at, int i, size_t size) { const DWORD colour = Colour(i); std::memcpy(&dib[at], &colour, size); };
    std::memcpy(dib.data(), &header, sizeof header);
    for (DWORD i = 0; i < l.tableSize; ++i)
        put(sizeof header + 4 * i, i, 4);
    for (int y = 0; y < l.height; ++y)
        for (int x = 0, row = bits + (l.height - 1 - y) * stride; x < l.width; ++x)
            if (l.bitCount > 8)
                put(row + 3 * x, l.index(x, y), 3);
            else // the leftmost pixel in the high bits
                dib[row + x * l.bitCount / 8] |= l.index(x, y) << (8 - l.bitCount - x * l.bitCount % 8);
    return dib;
}

DWORD StripColour(int x) { return Colour(x / 32); } // the strip's colour changes every 32 pixels across
enum Cell { kNormal, kHover, kPressed, kDisabled }; // a strip's cells, left to right

class DibLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(DibLayouts, DrawEveryPixelInItsColourWithAPaletteForATable)
{
    const Layout& l = GetParam();
    PaletteBitmap bitmap;
    bitmap.LoadFromPackedDib(MakeDib(l).data());
    EXPECT_EQ(l.tableSize != 0, bitmap.m_palette.GetSafeHandle() != nullptr);
    Surface out(l.width, l.height);
    bitmap.Draw(out.dc(), {0, 0, l.width - 1, l.height - 1}, 0, 0);
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x)
            ASSERT_EQ(Colour(l.index(x, y)), out.At(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(PaletteBitmap, DibLayouts, ::testing::Values(
    Layout{"FourBitsWithoutColoursUsed", 8, 2, 4, 0, 16, [](int x, int) { return 15 - x; }},
    Layout{"EightBitsWith186ColoursBeforeItsPixels", 200, 3, 8, 186, 186, [](int x, int y) { return (x + y) % 186; }},
    Layout{"TrueColourHasNoPalette", 5, 2, 24, 0, 0, [](int x, int y) { return x + 5 * y; }}), ui::RowName());

TEST(PaletteBitmap, ProgramPicturesAreWholeAndAMissingOneDrawsNothing)
{
    const struct { UINT id; LONG width, height; } pictures[] = {{IDB_BACKGROUND, 624, 464}, {IDB_STRIP_EXIT, 1280, 40},
        {IDB_STRIP_INSTALL, 1280, 40}, {IDB_STRIP_UNINSTALL, 1280, 40}, {IDB_STRIP_GAME, 1280, 40},
        {IDB_STRIP_CONFIG, 1280, 40}, {IDB_STRIP_INTRO, 1280, 40}, {4242, 0, 0}};
    for (const auto& [id, width, height] : pictures) {
        PaletteBitmap bitmap;
        bitmap.LoadFromResource(id);
        // Drawn into more room than it has, a picture shows its own size; in eight bits with a palette of its own.
        Surface out(width + 10, height + 10, 0x123456);
        bitmap.Draw(out.dc(), {0, 0, width + 9, height + 9}, 0, 0);
        const SIZE drawn = out.ChangedExtent(0x123456);
        EXPECT_EQ((std::vector<LONG>{width, height}), (std::vector<LONG>{drawn.cx, drawn.cy})) << id;
        EXPECT_EQ(width != 0, bitmap.m_palette.GetSafeHandle() != nullptr) << id;
    }
}

// The cell a draw with this state shows, read back from a copy drawn aside.
int CellDrawn(BitmapButton& button, UINT state)
{
    Surface aside(320, 40);
    DRAWITEMSTRUCT draw = {ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, state, button, aside.dc(), {0, 0, 319, 39}, 0};
    button.BitmapButton::DrawItem(&draw);
    for (int cell = 0; cell < 4; ++cell)
        if (aside.At(0, 0) == StripColour(320 * cell) && aside.At(319, 39) == StripColour(320 * cell + 319))
            return cell;
    return -1;
}

// Remembers the cell of every draw the system asks for.
struct RecordingButton : BitmapButton {
    std::vector<int> cells;
    void DrawItem(DRAWITEMSTRUCT* draw) override { cells.push_back(CellDrawn(*this, draw->itemState)); }
    int Last() const { return cells.empty() ? -1 : cells.back(); }
};

// A strip of 1280 x 40 in four cells of 320 x 40, and two of the launcher's buttons on its window drawn from it.
struct Strip : ::testing::Test {
    void SetUp() override
    {
        m_strip.LoadFromPackedDib(MakeDib({"Strip", 1280, 40, 8, 40, 40, [](int x, int) { return x / 32; }}).data());
        m_strip.SetCellSize(320, 40);
        // Moves and clicks of the real pointer would come to a button beneath it.
        ASSERT_TRUE(ui::MovePointerAway() && m_host.Create() && m_button.Attach(IDC_INSTALL, m_host, &m_strip, 0) &&
                    m_other.Attach(IDC_INTRO, m_host, &m_strip, 0));
    }

    PaletteBitmap m_strip;
    CDialog m_host{IDD_LAUNCHER};
    RecordingButton m_button, m_other;
};

// Cell 2 from where the source starts, into a destination off the origin, smaller than a cell, whose right and
// bottom are inside it; its first and last columns are the first and last of colour bands.
TEST_F(Strip, CellIsCutFromTheSourceOriginIntoTheInclusiveDestination)
{
    m_strip.SetSourceRect({64, 0, 1279, 39});
    Surface out(400, 60);
    m_strip.Draw(out.dc(), {10, 5, 297, 24}, 2, 0);
    EXPECT_EQ((std::vector<DWORD>{StripColour(64 + 640), StripColour(64 + 640 + 287)}),
              (std::vector<DWORD>{out.At(10, 5), out.At(297, 24)}));
    EXPECT_EQ((std::vector<LONG>{298, 25}), (std::vector<LONG>{out.ChangedExtent().cx, out.ChangedExtent().cy}));
}

struct State { const char* name; UINT itemState; bool pointerOver; int cell; };

class CellForState : public Strip, public ::testing::WithParamInterface<State> {};

TEST_P(CellForState, IsTheOneDrawn)
{
    if (GetParam().pointerOver)
        m_button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetParam().cell, CellDrawn(m_button, GetParam().itemState));
}

INSTANTIATE_TEST_SUITE_P(BitmapButton, CellForState, ::testing::Values(
    State{"DisabledBeatsPressed", ODS_DISABLED | ODS_SELECTED, false, kDisabled},
    State{"PointerHighlights", 0, true, kHover},
    State{"PressedBeatsPointer", ODS_SELECTED | ODS_FOCUS, true, kPressed},
    State{"DisabledBeatsPointer", ODS_DISABLED, true, kDisabled}), ui::RowName());

// The pointer onto a button gives it the focus and the highlight, moving within it draws nothing more, the pointer
// on the other button takes both away, and the keyboard brings them back.
TEST_F(Strip, HighlightFollowsTheFocus)
{
    auto shown = [&] { return std::vector<int>{m_button.Last(), m_other.Last()}; };
    auto pointOnto = [](CWnd& button) { button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); ui::Pump(); };
    const std::vector<int> highlighted = {kHover, kNormal};
    m_other.SetFocus();
    pointOnto(m_button);
    EXPECT_EQ(highlighted, shown());
    const size_t drawn = m_button.cells.size();
    for (int x = 6; x < 300; x += 37)
        m_button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(x, 20));
    ui::Pump();
    EXPECT_EQ(drawn, m_button.cells.size());
    pointOnto(m_other);
    EXPECT_EQ((std::vector<int>{kNormal, kHover}), shown());
    m_button.SetFocus();
    ui::Pump();
    EXPECT_EQ(highlighted, shown());
}

} // namespace
