// A push button drawn entirely from one image strip cut into cells: normal,
// highlighted, pressed and disabled. The highlight follows the pointer by
// way of the keyboard focus: the first move of the pointer over the button
// takes the focus, and losing the focus ends the highlight. A button that
// has the focus from the keyboard is highlighted all the same.
#pragma once

#include "fw/Button.h"

class PaletteBitmap;

// Whether the WM_MOUSEMOVE that `window` is handling (`clientPos` is its
// lParam) finds the pointer somewhere else than the one before it did, in
// any window. The system also sends the message when the pointer has not
// moved: a window appears or moves under it, or it is set where it already
// is. Such a message can come after a key has moved the focus on, and must
// not take the focus back to where the pointer rests.
bool PointerMoved(HWND window, LPARAM clientPos);

class BitmapButton : public CButton {
public:
    // Strip columns of the four looks.
    enum Cell { kNormalCell = 0, kHoverCell = 1, kPressedCell = 2, kDisabledCell = 3 };

    BitmapButton() = default;
    ~BitmapButton() override = default;

    // Takes over the parent's control with that id; false when the parent
    // has no such control.
    bool Attach(UINT id, HWND parent, PaletteBitmap* strip, int row);
    // Gives the button the strip's cell size.
    void SizeToCell();
    // Moves the button within its parent without resizing it.
    void MoveTo(int x, int y);
    void DrawItem(DRAWITEMSTRUCT* draw) override;

    // The column a draw request with this item state shows.
    int CellFor(UINT itemState) const;
    bool IsHover() const { return m_bHover; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int m_nRow = 0;
    bool m_bHover = false;
    PaletteBitmap* m_pStrip = nullptr;
};
