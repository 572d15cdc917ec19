#include "gfx/BitmapButton.h"

#include "fw/Dialog.h"
#include "gfx/PaletteBitmap.h"
#include "resource.h"
#include "support/Surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The four cells of the test strip, one solid colour each.
const COLORREF kCellColours[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 90)};

// A 1280 x 40 strip of four solid 320 x 40 cells.
std::vector<BYTE> MakeStrip()
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = 1280;
    header.biHeight = 40;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 4;
    std::vector<BYTE> dib(sizeof header + 4 * 4 + 1280 * 40);
    std::memcpy(dib.data(), &header, sizeof header);
    auto* table = reinterpret_cast<RGBQUAD*>(dib.data() + sizeof header);
    for (int i = 0; i < 4; ++i)
        table[i] = {GetBValue(kCellColours[i]), GetGValue(kCellColours[i]), GetRValue(kCellColours[i]), 0};
    BYTE* bits = dib.data() + sizeof header + 16;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 1280; ++x)
            bits[y * 1280 + x] = static_cast<BYTE>(x / 320);
    return dib;
}

// Remembers the cell of every draw it is asked for.
class RecordingButton : public BitmapButton {
public:
    void DrawItem(DRAWITEMSTRUCT* draw) override
    {
        cells.push_back(CellFor(draw->itemState));
        BitmapButton::DrawItem(draw);
    }
    std::vector<int> cells;
};

// A window with the launcher's six owner-drawn buttons and nothing else.
class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_LAUNCHER) {}
};

class BitmapButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dib = MakeStrip();
        m_strip.LoadFromPackedDib(m_dib.data());
        m_strip.SetCellSize(320, 40);
        ASSERT_TRUE(m_host.Create());
        ASSERT_EQ(1, m_button.Attach(IDC_INSTALL, m_host, &m_strip, 0));
        m_button.MoveTo(10, 10);
        ASSERT_EQ(1, m_other.Attach(IDC_INTRO, m_host, &m_strip, 0));
        m_other.MoveTo(10, 60);
        m_other.SetFocus();
        Flush();
    }
    void TearDown() override { m_host.DestroyWindow(); }

    // Lets every pending paint happen.
    void Flush()
    {
        UpdateWindow(m_host);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        UpdateWindow(m_button);
    }

    // What a draw request with this state shows, read back from the pixels.
    int DrawnCell(UINT state)
    {
        Surface surface(320, 40);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_BUTTON;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = m_button;
        draw.hDC = surface.dc();
        draw.rcItem = {0, 0, 319, 39};
        m_button.BitmapButton::DrawItem(&draw);
        DWORD first = surface.At(0, 0), last = surface.At(319, 39);
        for (int cell = 0; cell < 4; ++cell) {
            COLORREF c = kCellColours[cell];
            DWORD rgb = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            if (first == rgb && last == rgb)
                return cell;
        }
        return -1;
    }

    std::vector<BYTE> m_dib;
    PaletteBitmap m_strip;
    HostDialog m_host;
    RecordingButton m_button;
    RecordingButton m_other;
};

TEST_F(BitmapButtonTest, AttachSizesTheButtonToOneCell)
{
    RECT rect;
    GetWindowRect(m_button, &rect);
    EXPECT_EQ(320, rect.right - rect.left);
    EXPECT_EQ(40, rect.bottom - rect.top);
    // MoveTo places it in the parent's client coordinates, keeping its size.
    POINT origin = {rect.left, rect.top};
    ScreenToClient(m_host, &origin);
    EXPECT_EQ(10, origin.x);
    EXPECT_EQ(10, origin.y);

    BitmapButton absent;
    EXPECT_EQ(0, absent.Attach(4711, m_host, &m_strip, 0));
    EXPECT_EQ(nullptr, absent.m_hWnd);
}

TEST_F(BitmapButtonTest, DisabledBeatsPressedBeatsHighlightedBeatsNormal)
{
    EXPECT_EQ(BitmapButton::kNormalCell, DrawnCell(0));
    EXPECT_EQ(BitmapButton::kPressedCell, DrawnCell(ODS_SELECTED));
    EXPECT_EQ(BitmapButton::kDisabledCell, DrawnCell(ODS_DISABLED | ODS_SELECTED));
    // The focus that the keyboard moved shows as the pointer's highlight does.
    EXPECT_EQ(BitmapButton::kHoverCell, DrawnCell(ODS_FOCUS));

    // The pointer comes onto the button.
    SendMessageA(m_button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(m_button.IsHover());
    EXPECT_EQ(BitmapButton::kHoverCell, DrawnCell(0));
    EXPECT_EQ(BitmapButton::kPressedCell, DrawnCell(ODS_SELECTED | ODS_FOCUS));
    EXPECT_EQ(BitmapButton::kDisabledCell, DrawnCell(ODS_DISABLED));
    EXPECT_EQ(BitmapButton::kDisabledCell, DrawnCell(ODS_DISABLED | ODS_SELECTED));
}

TEST_F(BitmapButtonTest, HighlightFollowsTheKeyboardFocus)
{
    m_button.cells.clear();
    SendMessageA(m_button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Flush();
    EXPECT_EQ(m_button.m_hWnd, GetFocus());
    ASSERT_FALSE(m_button.cells.empty());
    EXPECT_EQ(BitmapButton::kHoverCell, m_button.cells.back());

    // Moving within the highlighted button draws nothing more.
    size_t drawn = m_button.cells.size();
    for (int x = 6; x < 300; x += 37)
        SendMessageA(m_button, WM_MOUSEMOVE, 0, MAKELPARAM(x, 20));
    Flush();
    EXPECT_EQ(drawn, m_button.cells.size());

    // Covered and uncovered while highlighted: drawn highlighted again.
    InvalidateRect(m_button, nullptr, FALSE);
    Flush();
    ASSERT_GT(m_button.cells.size(), drawn);
    EXPECT_EQ(BitmapButton::kHoverCell, m_button.cells.back());

    // The pointer goes on to the other button, which takes the focus: this
    // one drops its highlight.
    SendMessageA(m_other, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Flush();
    EXPECT_FALSE(m_button.IsHover());
    EXPECT_TRUE(m_other.IsHover());
    EXPECT_EQ(BitmapButton::kNormalCell, m_button.cells.back());
    EXPECT_EQ(BitmapButton::kHoverCell, m_other.cells.back());
}

TEST_F(BitmapButtonTest, DisabledButtonShowsItsDisabledCellUnderThePointer)
{
    m_button.EnableWindow(FALSE);
    SendMessageA(m_button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    m_button.cells.clear();
    InvalidateRect(m_button, nullptr, FALSE);
    Flush();
    ASSERT_FALSE(m_button.cells.empty());
    EXPECT_EQ(BitmapButton::kDisabledCell, m_button.cells.back());
}

} // namespace
