// The application object: finds the CD and runs the launcher window. It
// owns the installation in hand for the program's whole life.
#pragma once

#include "fw/WinApp.h"
#include "install/InstallState.h"

class SetupApp : public CWinApp {
public:
    bool InitInstance() override;

private:
    InstallState m_state;
};
