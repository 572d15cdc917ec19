#pragma once

#include "fw/Wnd.h"

class CEdit : public CWnd {
};
