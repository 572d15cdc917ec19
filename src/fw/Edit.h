#pragma once

#include "fw/Wnd.h"

class CEdit : public CWnd {
public:
    void LimitText(int chars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
};
