// The application object: finds the CD and runs the launcher window.
#pragma once

#include "fw/WinApp.h"

class SetupApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
