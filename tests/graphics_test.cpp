// The pictures and the buttons drawn from them: colour tables of every
// depth, cells cut from a strip, the inclusive destination, the program's own
// pictures, and which cell a button shows in each state.
#include "fw/Dialog.h"
#include "gfx/BitmapButton.h"
#include "gfx/PaletteBitmap.h"
#include "resource.h"
#include "support/Surface.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Distinct colours, none white, as 0x00RRGGBB.
DWORD Colour(int i)
{
    return (i * 37 % 200) << 16 | (i * 91 % 230) << 8 | (40 + i * 13 % 180);
}

// A picture whose pixel (x, y) shows Colour(index(x, y)), with a table of
// `tableSize` colours Colour(0), Colour(1)... below 16 bits per pixel.
struct Layout {
    const char* name;
    int width, height;
    WORD bitCount;
    DWORD coloursUsed;
    int tableSize;
    int (*index)(int x, int y);
};

// The packed device-independent bitmap: header, colour table, bottom-up rows padded to four bytes.
std::vector<BYTE> MakeDib(const Layout& l)
{
    const BITMAPINFOHEADER header = {sizeof header, l.width, l.height, 1, l.bitCount, BI_RGB, 0, 0, 0, l.coloursUsed, 0};
    const int stride = (l.width * l.bitCount + 31) / 32 * 4;
    std::vector<BYTE> dib(sizeof header + 4 * l.tableSize + static_cast<size_t>(stride) * l.height);
    std::memcpy(dib.data(), &header, sizeof header);
    // Little-endian 0x00RRGGBB is an RGBQUAD, and its first three bytes a 24-bit pixel.
    auto put = [](BYTE* at, int i, size_t size) {
        const DWORD colour = Colour(i);
        std::memcpy(at, &colour, size);
    };
    for (int i = 0; i < l.tableSize; ++i)
        put(&dib[sizeof header + 4 * i], i, 4);
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x) {
            BYTE* row = &dib[sizeof header + 4 * l.tableSize + static_cast<size_t>(l.height - 1 - y) * stride];
            const int i = l.index(x, y);
            if (l.bitCount == 4)
                row[x / 2] |= static_cast<BYTE>(x % 2 ? i : i << 4);
            else if (l.bitCount == 8)
                row[x] = static_cast<BYTE>(i);
            else
                put(row + 3 * x, i, 3);
        }
    return dib;
}

// 1280 x 40, four cells of 320 x 40, its colour changing every 32 pixels across.
const std::vector<BYTE> kStrip = MakeDib({"Strip", 1280, 40, 8, 40, 40, [](int x, int) { return x / 32; }});

DWORD StripColour(int x) { return Colour(x / 32); }

class DibLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(DibLayouts, DrawEveryPixelInItsColourWithAPaletteForATable)
{
    const Layout& layout = GetParam();
    const std::vector<BYTE> dib = MakeDib(layout);
    PaletteBitmap bitmap;
    bitmap.LoadFromPackedDib(dib.data());
    EXPECT_EQ(layout.tableSize != 0, bitmap.m_palette.GetSafeHandle() != nullptr);
    Surface out(layout.width, layout.height);
    bitmap.Draw(out.dc(), {0, 0, layout.width - 1, layout.height - 1}, 0, 0);
    for (int y = 0; y < layout.height; ++y)
        for (int x = 0; x < layout.width; ++x)
            ASSERT_EQ(Colour(layout.index(x, y)), out.At(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    PaletteBitmap, DibLayouts,
    ::testing::Values(Layout{"FourBitsWithoutColoursUsed", 8, 2, 4, 0, 16, [](int x, int) { return 15 - x; }},
                      // The pixels start after the 186 colours, not after 256.
                      Layout{"EightBitsWith186Colours", 200, 3, 8, 186, 186, [](int x, int y) { return (x + y) % 186; }},
                      Layout{"TrueColourHasNoPalette", 5, 2, 24, 0, 0, [](int x, int y) { return x + 5 * y; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PaletteBitmap, CellsAreCutFromTheSourceOrigin)
{
    PaletteBitmap bitmap;
    bitmap.LoadFromPackedDib(kStrip.data());
    bitmap.SetCellSize(320, 40);
    Surface out(320, 40);
    bitmap.Draw(out.dc(), {0, 0, 319, 39}, 2, 0);
    EXPECT_EQ(StripColour(640), out.At(0, 0));
    EXPECT_EQ(StripColour(959), out.At(319, 39));
    // A source rectangle moves the origin of every cell.
    bitmap.SetSourceRect({64, 0, 1279, 39});
    bitmap.Draw(out.dc(), {0, 0, 319, 39}, 1, 0);
    EXPECT_EQ(StripColour(64 + 320), out.At(0, 0));
}

TEST(PaletteBitmap, DestinationIsInclusiveWhereverItStarts)
{
    PaletteBitmap bitmap;
    bitmap.LoadFromPackedDib(kStrip.data());
    bitmap.SetCellSize(320, 20);
    // The strip has one more row and column than the cell, for the last one.
    for (RECT destination : {RECT{0, 0, 319, 19}, RECT{10, 5, 329, 24}, RECT{10, 5, 330, 25}}) {
        Surface out(400, 40);
        bitmap.Draw(out.dc(), destination, 0, 0);
        EXPECT_EQ(destination.right + 1, out.ChangedExtent().cx);
        EXPECT_EQ(destination.bottom + 1, out.ChangedExtent().cy);
    }
}

TEST(PaletteBitmap, ProgramPicturesAreWholeAndAMissingOneDrawsNothing)
{
    const struct { UINT id; int width, height; } pictures[] = {
        {IDB_BACKGROUND, 624, 464}, {IDB_STRIP_EXIT, 1280, 40},   {IDB_STRIP_INSTALL, 1280, 40},
        {IDB_STRIP_UNINSTALL, 1280, 40}, {IDB_STRIP_GAME, 1280, 40}, {IDB_STRIP_CONFIG, 1280, 40},
        {IDB_STRIP_INTRO, 1280, 40}, {4242, 0, 0}};
    for (const auto& picture : pictures) {
        PaletteBitmap bitmap;
        bitmap.LoadFromResource(picture.id);
        // Drawn into more room than it has, a picture shows its own size.
        const DWORD fill = 0x123456;
        Surface out(picture.width + 10, picture.height + 10, fill);
        bitmap.Draw(out.dc(), {0, 0, picture.width + 9, picture.height + 9}, 0, 0);
        EXPECT_EQ(picture.width, out.ChangedExtent(fill).cx) << picture.id;
        EXPECT_EQ(picture.height, out.ChangedExtent(fill).cy) << picture.id;
        // Eight bits with their own colours, for 256-colour screens.
        EXPECT_EQ(picture.width != 0, bitmap.m_palette.GetSafeHandle() != nullptr) << picture.id;
    }
}

// The cell a draw with this state shows, read back from a copy drawn aside.
int CellDrawn(BitmapButton& button, UINT state)
{
    Surface surface(320, 40);
    DRAWITEMSTRUCT draw = {ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, state, button, surface.dc(), {0, 0, 319, 39}, 0};
    button.BitmapButton::DrawItem(&draw);
    for (int cell = 0; cell < 4; ++cell)
        if (surface.At(0, 0) == StripColour(320 * cell) && surface.At(319, 39) == StripColour(320 * cell + 319))
            return cell;
    return -1;
}

// Remembers the cell of every draw the system asks for.
class RecordingButton : public BitmapButton {
public:
    std::vector<int> cells;
    void DrawItem(DRAWITEMSTRUCT* draw) override
    {
        BitmapButton::DrawItem(draw);
        cells.push_back(CellDrawn(*this, draw->itemState));
    }
};

// Two of the launcher's buttons on its window, drawn from the strip.
class BitmapButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strip.LoadFromPackedDib(kStrip.data());
        m_strip.SetCellSize(320, 40);
        ASSERT_TRUE(m_host.Create());
        ASSERT_TRUE(m_button.Attach(IDC_INSTALL, m_host, &m_strip, 0));
        ASSERT_TRUE(m_other.Attach(IDC_INTRO, m_host, &m_strip, 0));
        m_button.MoveTo(10, 10);
        m_other.SetFocus();
        ui::Pump();
    }
    void TearDown() override { m_host.DestroyWindow(); }

    PaletteBitmap m_strip;
    CDialog m_host{IDD_LAUNCHER};
    RecordingButton m_button, m_other;
};

TEST_F(BitmapButtonTest, AttachSizesItToOneCellAndMoveKeepsTheSize)
{
    RECT r = ui::WindowRect(m_button);
    MapWindowPoints(nullptr, m_host, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{10, 10, 330, 50}), (std::vector<LONG>{r.left, r.top, r.right, r.bottom}));
}

struct State { const char* name; UINT itemState; bool pointerOver; int cell; };

class CellForState : public BitmapButtonTest, public ::testing::WithParamInterface<State> {};

TEST_P(CellForState, IsTheOneDrawn)
{
    if (GetParam().pointerOver)
        m_button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetParam().cell, CellDrawn(m_button, GetParam().itemState));
}

INSTANTIATE_TEST_SUITE_P(
    BitmapButton, CellForState,
    ::testing::Values(State{"Normal", 0, false, BitmapButton::kNormalCell},
                      State{"Pressed", ODS_SELECTED, false, BitmapButton::kPressedCell},
                      State{"DisabledBeatsPressed", ODS_DISABLED | ODS_SELECTED, false, BitmapButton::kDisabledCell},
                      State{"PointerHighlights", 0, true, BitmapButton::kHoverCell},
                      State{"PressedBeatsPointer", ODS_SELECTED | ODS_FOCUS, true, BitmapButton::kPressedCell},
                      State{"DisabledBeatsPointer", ODS_DISABLED, true, BitmapButton::kDisabledCell}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BitmapButtonTest, HighlightFollowsTheFocus)
{
    // The pointer comes onto the button: it takes the focus and is highlighted.
    m_button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ui::Pump();
    EXPECT_EQ(m_button.m_hWnd, GetFocus());
    ASSERT_FALSE(m_button.cells.empty());
    EXPECT_EQ(BitmapButton::kHoverCell, m_button.cells.back());
    // Moving within it draws nothing more.
    const size_t drawn = m_button.cells.size();
    for (int x = 6; x < 300; x += 37)
        m_button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(x, 20));
    ui::Pump();
    EXPECT_EQ(drawn, m_button.cells.size());
    // On to the other button, which takes the focus: this one drops its highlight.
    m_other.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ui::Pump();
    EXPECT_EQ(BitmapButton::kNormalCell, m_button.cells.back());
    EXPECT_EQ(BitmapButton::kHoverCell, m_other.cells.back());
    // The keyboard brings the focus back, and the highlight with it.
    m_button.SetFocus();
    ui::Pump();
    EXPECT_EQ(BitmapButton::kHoverCell, m_button.cells.back());
    EXPECT_EQ(BitmapButton::kNormalCell, m_other.cells.back());
}

} // namespace
