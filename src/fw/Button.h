#pragma once

#include "fw/Control.h"

class CButton : public COwnerDrawControl {
public:
    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int check) { Send(BM_SETCHECK, static_cast<WPARAM>(check)); }
};
