// What the directory list and the drive list do alike for their owner-drawn
// items: measure the parent's font, and paint one item - the colours of its
// state, its background, an icon, its text and the dotted focus frame.
#pragma once

#include "fw/Gdi.h"

#include <string>

// The height of "1Mgj" in the font, in device units of the control's context.
int MeasureTextHeight(HWND control, HFONT font);

// Paints one item into the context of a draw request. The context belongs
// to the caller: its state is saved here and restored at the end.
class OwnerDrawnItem {
public:
    OwnerDrawnItem(const DRAWITEMSTRUCT& draw, HFONT font);

    // A 16 x 16 icon at x, centred in an item of the given height.
    void DrawIcon(HICON icon, int x, int itemHeight);
    // The text at x, centred as the measured text height says.
    void PaintText(const std::string& text, int x, int itemHeight, int textHeight);
    // The dotted frame around a focused item, from an 8 x 8 pattern.
    void DrawFocusFrame(HBITMAP pattern);

private:
    const DRAWITEMSTRUCT& m_draw;
    CSavedDC m_saved;
    CGdiObject m_backBrush;
};
