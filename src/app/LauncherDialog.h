// The launcher window: the program's only main window.
#pragma once

#include "fw/Dialog.h"

class LauncherDialog : public CDialog {
public:
    explicit LauncherDialog(HWND parent);
};
