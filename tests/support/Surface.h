// A 32-bit top-down drawing surface in memory whose pixels a test can read
// back, as 0x00RRGGBB.
#pragma once

#include <windows.h>

#include <vector>

class Surface {
public:
    Surface(int width, int height, DWORD fill = 0xFFFFFF);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return m_dc; }
    DWORD At(int x, int y) const;
    // Every pixel, row by row from the top.
    std::vector<DWORD> Pixels() const;
    // The bounding box of the pixels that are no longer `fill`.
    SIZE ChangedExtent(DWORD fill = 0xFFFFFF) const;

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};
