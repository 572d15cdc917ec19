// A push button drawn entirely from one image strip cut into cells: normal,
// highlighted, pressed and disabled. The highlight follows the pointer by
// way of the keyboard focus: the first mouse move over the button takes the
// focus, and losing the focus ends the highlight. A button that has the
// focus from the keyboard is highlighted all the same.
#pragma once

#include "fw/Button.h"

class PaletteBitmap;

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
