// A push button drawn entirely from one image strip cut into cells: normal,
// highlighted, pressed and disabled.
#pragma once

#include "fw/Button.h"

class PaletteBitmap;

class BitmapButton : public CButton {
public:
    BitmapButton() = default;
    ~BitmapButton() override = default;

    // Takes over the parent's control with that id. 1 on success, 0 when
    // the parent has no such control.
    int Attach(UINT id, HWND parent, PaletteBitmap* strip, int row);
    void SizeToCell();
    void MoveTo(int x, int y);
    void DrawItem(DRAWITEMSTRUCT* draw) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int m_nRow = 0;
    int m_bHover = 0;
    PaletteBitmap* m_pStrip = nullptr;
};
