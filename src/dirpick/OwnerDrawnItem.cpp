#include "dirpick/OwnerDrawnItem.h"

namespace {

constexpr int kIconSize = 16;

} // namespace

int MeasureTextHeight(HWND control, HFONT font)
{
    CClientDC dc(control);
    SIZE size = {0, 0};
    {
        CSelectObject selected(dc, font);
        size = TextExtent(dc, "1Mgj");
    }
    POINT extent = {size.cx, size.cy};
    LPtoDP(dc, &extent, 1);
    return extent.y;
}

OwnerDrawnItem::OwnerDrawnItem(const DRAWITEMSTRUCT& draw, HFONT font)
    : m_draw(draw), m_saved(draw.hDC)
{
    HDC dc = draw.hDC;
    if (font)
        SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    m_backBrush.m_hObject = CreateSolidBrush(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    FillRect(dc, &draw.rcItem, static_cast<HBRUSH>(m_backBrush.m_hObject));
}

void OwnerDrawnItem::DrawIcon(HICON icon, int x, int itemHeight)
{
    if (icon)
        DrawIconEx(m_draw.hDC, x, m_draw.rcItem.top + (itemHeight - kIconSize) / 2, icon, kIconSize,
                   kIconSize, 0, static_cast<HBRUSH>(m_backBrush.m_hObject), DI_NORMAL);
}

void OwnerDrawnItem::PaintText(const std::string& text, int x, int itemHeight, int textHeight)
{
    ::PaintText(m_draw.hDC, x, m_draw.rcItem.top + (itemHeight - textHeight) / 2, text);
}

void OwnerDrawnItem::DrawFocusFrame(HBITMAP pattern)
{
    if (!(m_draw.itemState & ODS_FOCUS) || !pattern)
        return;
    CGdiObject focusBrush(CreatePatternBrush(pattern));
    FrameRect(m_draw.hDC, &m_draw.rcItem, static_cast<HBRUSH>(focusBrush.m_hObject));
}
