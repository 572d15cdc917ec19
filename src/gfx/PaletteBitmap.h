// A device-independent bitmap from the resources, with a logical palette
// from its own colour table, drawn cell by cell.
#pragma once

#include "fw/Gdi.h"

#include <vector>

class PaletteBitmap : public CGdiObject {
public:
    // False when the program has no bitmap resource with that id; the
    // picture then stays empty and draws nothing.
    bool LoadFromResource(UINT id);
    // The same from a packed device-independent bitmap in memory (header,
    // colour table, pixel bits), of which it keeps a copy.
    void LoadFromPackedDib(const void* dib);
    void SetCellSize(int width, int height);
    void GetCellSize(int* width, int* height) const;
    void SetSourceRect(const RECT& rect);
    // Copies cell (column, row) into dc; destination right and bottom are
    // inclusive. Only the part that lies inside the picture is drawn.
    void Draw(HDC dc, const RECT& destination, int column, int row);

    BITMAPINFOHEADER m_header = {};
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    RECT m_rcSource = {};
    CGdiObject m_palette; // from the bitmap's own colour table

private:
    // Takes the picture from a packed bitmap that stays where it is as long
    // as this object draws from it.
    void Load(const BYTE* dib);
    // Makes m_palette from the header and the colour table that follows it;
    // returns the number of colour table entries (0 above 8 bits per pixel).
    int CreatePaletteFromTable(const BYTE* dib);
    HPALETTE Palette() const { return static_cast<HPALETTE>(m_palette.GetSafeHandle()); }

    // An uncompressed picture is drawn straight from its packed form, which
    // for the program's own pictures is the resource itself: no copy of
    // their pixels is ever made. Any other is turned into a device bitmap
    // (the inherited handle) at loading.
    const BITMAPINFO* m_pInfo = nullptr;
    const BYTE* m_pBits = nullptr;
    std::vector<BYTE> m_copy; // a packed bitmap handed in by its address
};
