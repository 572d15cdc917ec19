#include "gfx/PaletteBitmap.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBandRows = 32;

} // namespace

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
    // A module's resources stay where they are as long as the module.
    m_copy.clear();
    Load(static_cast<const BYTE*>(dib));
    return true;
}

void PaletteBitmap::LoadFromPackedDib(const void* dib)
{
    BITMAPINFOHEADER header;
    CopyMemory(&header, dib, sizeof header);
    const int colours = header.biBitCount > 8 ? 0 : header.biClrUsed ? header.biClrUsed : 1 << header.biBitCount;
    const LONG stride = ((header.biWidth * header.biBitCount + 31) / 32) * 4;
    const size_t pixels = header.biCompression == BI_RGB ? static_cast<size_t>(stride) * std::abs(header.biHeight)
                                                         : header.biSizeImage;
    const auto* bytes = static_cast<const BYTE*>(dib);
    m_copy.assign(bytes, bytes + header.biSize + 4 * colours + pixels);
    Load(m_copy.data());
}

void PaletteBitmap::Load(const BYTE* bytes)
{
    // A second load replaces the first picture.
    DeleteObject();
    m_palette.DeleteObject();
    m_pInfo = nullptr;
    m_pBits = nullptr;
    CopyMemory(&m_header, bytes, sizeof m_header);

    const int colours = CreatePaletteFromTable(bytes);
    const BYTE* bits = bytes + m_header.biSize + 4 * colours;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes);
    if (m_header.biCompression == BI_RGB) {
        m_pInfo = info;
        m_pBits = bits;
    } else {
        CClientDC screen(nullptr);
        CRealizedPalette realized(screen, Palette());
        m_hObject = CreateDIBitmap(screen, &m_header, CBM_INIT, bits, info, DIB_RGB_COLORS);
    }

    if (m_pBits || m_hObject) {
        m_nCellWidth = m_header.biWidth;
        m_nCellHeight = std::abs(m_header.biHeight);
        m_rcSource = {0, 0, m_nCellWidth - 1, m_nCellHeight - 1};
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
    if (!m_pBits && !m_hObject)
        return;
    const int x = m_rcSource.left + column * m_nCellWidth;
    const int y = m_rcSource.top + row * m_nCellHeight;
    const int width = std::min<int>(destination.right - destination.left + 1, m_header.biWidth - x);
    const int height = std::min<int>(destination.bottom - destination.top + 1, std::abs(m_header.biHeight) - y);
    if (width <= 0 || height <= 0 || x < 0 || y < 0)
        return;

    CRealizedPalette realized(dc, Palette());
    if (m_pBits) {
        // In bands of rows: the system converts what it copies into the
        // screen's format in a buffer of the copy's size, which for the
        // whole background would be a megabyte more at the peak.
        for (int band = 0; band < height; band += kBandRows) {
            const int rows = std::min(kBandRows, height - band);
            // The rows of a bottom-up picture are counted from its bottom.
            const int sourceY = m_header.biHeight > 0 ? m_header.biHeight - (y + band) - rows : y + band;
            StretchDIBits(dc, destination.left, destination.top + band, width, rows, x, sourceY, width, rows,
                          m_pBits, m_pInfo, DIB_RGB_COLORS, SRCCOPY);
        }
    } else {
        CMemoryDC memory(dc);
        CRealizedPalette realizedInMemory(memory, Palette());
        CSelectObject bitmap(memory, m_hObject);
        BitBlt(dc, destination.left, destination.top, width, height, memory, x, y, SRCCOPY);
    }
}
