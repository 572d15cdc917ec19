// The base of the controls that draw themselves: the parent passes owner-draw
// messages and the control's notifications back to the control object.
#pragma once

#include "fw/Wnd.h"

class COwnerDrawControl : public CWnd {
public:
    virtual void DrawItem(DRAWITEMSTRUCT* draw);
    virtual void MeasureItem(MEASUREITEMSTRUCT* measure);
    virtual int CompareItem(COMPAREITEMSTRUCT* compare);
    // A notification code from this control (WM_COMMAND to the parent).
    // Return true to keep it from the parent.
    virtual bool OnNotify(UINT code);

    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
