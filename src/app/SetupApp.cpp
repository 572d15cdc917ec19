#include "app/SetupApp.h"

#include "app/CdLocator.h"
#include "app/LauncherDialog.h"

bool SetupApp::InitInstance()
{
    m_state.CdLetter = LocateCd();
    Enable3dControls();

    LauncherDialog launcher(m_state, nullptr);
    launcher.DoModal();

    // No main window: the message loop ends at once and the process with it.
    return true;
}
