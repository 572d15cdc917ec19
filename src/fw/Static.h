#pragma once

#include "fw/Wnd.h"

class CStatic : public CWnd {
};
