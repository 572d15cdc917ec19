#include "fw/Gdi.h"

#include "fw/Text.h"

SIZE TextExtent(HDC dc, const std::string& text)
{
    const std::wstring wide = Widen(text);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void PaintText(HDC dc, int x, int y, const std::string& text)
{
    const std::wstring wide = Widen(text);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}
