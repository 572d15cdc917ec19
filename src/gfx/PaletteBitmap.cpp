#include "gfx/PaletteBitmap.h"

#include <cstdlib>

bool PaletteBitmap::LoadFromResource(UINT id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* dib = loaded ? LockResource(loaded) : nullptr;
    if (!dib)
        return false;
    LoadFromPackedDib(dib);
    return true;
}

void PaletteBitmap::LoadFromPackedDib(const void* dib)
{
    const BYTE* bytes = static_cast<const BYTE*>(dib);
    // A second load replaces the first picture.
    DeleteObject();
    m_palette.DeleteObject();
    CopyMemory(&m_header, bytes, sizeof m_header);

    CClientDC screen(nullptr);
    int colours = CreatePaletteFromTable(bytes);
    HPALETTE oldPalette = nullptr;
    if (Palette()) {
        oldPalette = SelectPalette(screen, Palette(), FALSE);
        RealizePalette(screen);
    }
    const BYTE* bits = bytes + m_header.biSize + 4 * colours;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes);
    if (m_header.biCompression == BI_RGB) {
        // Kept at the picture's own depth: a device bitmap of the screen's
        // would take four times the memory of an 8-bit picture.
        void* pixels = nullptr;
        m_hObject = CreateDIBSection(screen, info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        const LONG stride = ((m_header.biWidth * m_header.biBitCount + 31) / 32) * 4;
        if (m_hObject && pixels)
            CopyMemory(pixels, bits, static_cast<SIZE_T>(stride) * std::abs(m_header.biHeight));
    } else {
        m_hObject = CreateDIBitmap(screen, &m_header, CBM_INIT, bits, info, DIB_RGB_COLORS);
    }
    if (oldPalette)
        SelectPalette(screen, oldPalette, TRUE);

    if (m_hObject) {
        m_nCellWidth = m_header.biWidth;
        m_nCellHeight = m_header.biHeight;
        m_rcSource = {0, 0, m_header.biWidth - 1, m_header.biHeight - 1};
    }
}

int PaletteBitmap::CreatePaletteFromTable(const BYTE* dib)
{
    if (m_header.biBitCount > 8)
        return 0;
    int colours = m_header.biClrUsed ? static_cast<int>(m_header.biClrUsed) : 1 << m_header.biBitCount;

    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                 sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * colours);
    if (!memory)
        return 0;
    auto* palette = static_cast<LOGPALETTE*>(GlobalLock(memory));
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(colours);
    const auto* table = reinterpret_cast<const RGBQUAD*>(dib + m_header.biSize);
    for (int i = 0; i < colours; ++i) {
        palette->palPalEntry[i].peRed = table[i].rgbRed;
        palette->palPalEntry[i].peGreen = table[i].rgbGreen;
        palette->palPalEntry[i].peBlue = table[i].rgbBlue;
        palette->palPalEntry[i].peFlags = 0;
    }
    m_palette.m_hObject = CreatePalette(palette);
    GlobalUnlock(memory);
    GlobalFree(memory);
    return colours;
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

void PaletteBitmap::Draw(HDC dc, const RECT& destination, int column, int row)
{
    // A picture whose resource was missing shows nothing.
    if (!m_hObject)
        return;
    int x = m_rcSource.left + column * m_nCellWidth;
    int y = m_rcSource.top + row * m_nCellHeight;

    CMemoryDC memory(dc);
    HPALETTE oldPalette = nullptr;
    HPALETTE oldMemoryPalette = nullptr;
    if (Palette()) {
        oldPalette = SelectPalette(dc, Palette(), FALSE);
        RealizePalette(dc);
        oldMemoryPalette = SelectPalette(memory, Palette(), FALSE);
        RealizePalette(memory);
    }
    {
        CSelectObject bitmap(memory, m_hObject);
        BitBlt(dc, destination.left, destination.top, destination.right - destination.left + 1,
               destination.bottom - destination.top + 1, memory, x, y, SRCCOPY);
    }
    if (oldMemoryPalette)
        SelectPalette(memory, oldMemoryPalette, TRUE);
    if (oldPalette)
        SelectPalette(dc, oldPalette, TRUE);
}
