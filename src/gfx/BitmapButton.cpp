#include "gfx/BitmapButton.h"

#include "gfx/PaletteBitmap.h"

int BitmapButton::Attach(UINT id, HWND parent, PaletteBitmap* strip, int row)
{
    if (!SubclassDlgItem(id, parent))
        return 0;
    m_pStrip = strip;
    m_nRow = row;
    SizeToCell();
    return 1;
}

void BitmapButton::SizeToCell()
{
    int width = 0, height = 0;
    m_pStrip->GetCellSize(&width, &height);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void BitmapButton::MoveTo(int x, int y)
{
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void BitmapButton::DrawItem(DRAWITEMSTRUCT*)
{
}

LRESULT BitmapButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Default(msg, wParam, lParam);
}
