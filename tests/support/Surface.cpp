#include "support/Surface.h"

#include <algorithm>

Surface::Surface(int width, int height, DWORD fill) : m_width(width), m_height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits),
                                nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
    for (int i = 0; i < width * height; ++i)
        m_bits[i] = fill;
}

Surface::~Surface()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

DWORD Surface::At(int x, int y) const
{
    GdiFlush();
    return m_bits[y * m_width + x] & 0xFFFFFF;
}

std::vector<DWORD> Surface::Pixels() const
{
    GdiFlush();
    std::vector<DWORD> pixels(m_bits, m_bits + static_cast<size_t>(m_width) * m_height);
    for (DWORD& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

SIZE Surface::ChangedExtent(DWORD fill) const
{
    SIZE extent = {0, 0};
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (At(x, y) != fill) {
                extent.cx = std::max<LONG>(extent.cx, x + 1);
                extent.cy = std::max<LONG>(extent.cy, y + 1);
            }
    return extent;
}
