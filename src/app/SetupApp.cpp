#include "app/SetupApp.h"

#include "app/CdLocator.h"
#include "app/LauncherDialog.h"

// The one application object.
SetupApp theApp;

BOOL SetupApp::InitInstance()
{
    LocateCd();
    Enable3dControls();

    auto* launcher = new LauncherDialog(nullptr);
    launcher->DoModal();
    delete launcher;

    // No main window: the message loop ends at once and the process with it.
    return TRUE;
}
