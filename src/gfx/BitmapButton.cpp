#include "gfx/BitmapButton.h"

#include "gfx/PaletteBitmap.h"

bool PointerMoved(HWND window, LPARAM clientPos)
{
    // One record, of the last move in any window. Within one window the
    // launcher and its buttons share it, so the pointer coming back onto a
    // button from elsewhere counts; a move in another window always counts.
    static HWND lastWindow = nullptr;
    static POINT last = {};
    POINT at = {static_cast<short>(LOWORD(clientPos)), static_cast<short>(HIWORD(clientPos))};
    ClientToScreen(window, &at);
    const HWND topWindow = GetAncestor(window, GA_ROOT);
    const bool moved = topWindow != lastWindow || at.x != last.x || at.y != last.y;
    lastWindow = topWindow;
    last = at;
    return moved;
}

bool BitmapButton::Attach(UINT id, HWND parent, PaletteBitmap* strip, int row)
{
    if (!SubclassDlgItem(id, parent))
        return false;
    m_pStrip = strip;
    m_nRow = row;
    SizeToCell();
    return true;
}

void BitmapButton::SizeToCell()
{
    if (!m_pStrip)
        return;
    int width = 0, height = 0;
    m_pStrip->GetCellSize(&width, &height);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void BitmapButton::MoveTo(int x, int y)
{
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

int BitmapButton::CellFor(UINT itemState) const
{
    if (itemState & ODS_DISABLED)
        return kDisabledCell;
    if (itemState & ODS_SELECTED)
        return kPressedCell;
    // The pointer's highlight works through the focus, so the focus that
    // the keyboard moved shows the same cell.
    if (m_bHover || (itemState & ODS_FOCUS))
        return kHoverCell;
    return kNormalCell;
}

void BitmapButton::DrawItem(DRAWITEMSTRUCT* draw)
{
    // Every drawing action (whole item, selection, focus) draws the same way.
    if (!m_pStrip)
        return;
    m_pStrip->Draw(draw->hDC, draw->rcItem, CellFor(draw->itemState), m_nRow);
}

LRESULT BitmapButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE: {
        LRESULT result = Default(msg, wParam, lParam);
        if (PointerMoved(m_hWnd, lParam) && !m_bHover) {
            Invalidate(FALSE);
            m_bHover = true;
            SetFocus();
        }
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = Default(msg, wParam, lParam);
        m_bHover = false;
        return result;
    }
    default:
        return Default(msg, wParam, lParam);
    }
}
