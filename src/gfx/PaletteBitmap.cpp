#include "gfx/PaletteBitmap.h"

PaletteBitmap::~PaletteBitmap()
{
    DeleteObject();
    if (m_hPalette)
        ::DeleteObject(m_hPalette);
}

int PaletteBitmap::LoadFromResource(UINT)
{
    return 0;
}

void PaletteBitmap::SetCellSize(int width, int height)
{
    m_nCellWidth = width;
    m_nCellHeight = height;
}

void PaletteBitmap::GetCellSize(int* width, int* height) const
{
    *width = m_nCellWidth;
    *height = m_nCellHeight;
}

void PaletteBitmap::SetSourceRect(const RECT& rect)
{
    m_rcSource = rect;
}

int PaletteBitmap::Draw(HDC, const RECT&, int, int)
{
    return 1;
}
