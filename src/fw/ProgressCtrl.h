#pragma once

#include "fw/Wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    void SetRange(int lower, int upper) { Send(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    int SetPos(int pos) { return static_cast<int>(Send(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int GetPos() const { return static_cast<int>(Send(PBM_GETPOS)); }
};
