#include "app/SetupApp.h"

#include "app/CdLocator.h"
#include "app/LauncherDialog.h"

namespace {

// Every copy of the set-up program in the session takes this lock first.
constexpr char kInstanceLock[] = "Jex.ProgramInstalacyjny";
// How long a second copy waits for the first one's launcher to appear (both
// may have been started at once).
constexpr DWORD kFirstCopyWaitMs = 5000;

} // namespace

bool SetupApp::InitInstance()
{
    // One set-up program at a time: autorun and a double-click, or the CD's
    // copy and the installed one, would otherwise write the same files and
    // the same record at once. A second copy shows the first and ends,
    // before it has made any window or touched anything.
    if (!TakeInstanceLock(kInstanceLock)) {
        BringDialogToFront(LauncherDialog::kTitle, kFirstCopyWaitMs);
        return false;
    }

    m_state.CdLetter = LocateCd();
    Enable3dControls();

    LauncherDialog launcher(m_state, nullptr);
    launcher.DoModal();

    // No main window: the message loop ends at once and the process with it.
    return true;
}
