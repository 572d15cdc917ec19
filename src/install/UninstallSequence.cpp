// The uninstall button's operation: after a confirmation, removes the
// recorded installation in the reverse order of its making.

#include "app/Globals.h"
#include "app/LauncherDialog.h"
#include "fw/Afx.h"
#include "install/InstallManifest.h"
#include "install/UninstallProgressDialog.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"
#include "sysreg/Shortcuts.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

// Reads where and what kind of installation the registry records. The
// removal works on that installation alone: InstallPath may hold a
// directory typed or browsed in an options dialog that was cancelled, and
// the kind chosen in this run of the program says nothing about the kind
// installed in an earlier one. False when no usable directory is recorded.
bool ReadRecordedInstallation(std::string& path, const char* const*& files)
{
    DWORD full = 0;
    if (!ReadRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::FullInstall, full))
        full = 0;
    files = full != 0 ? FullFiles : PartialFiles;

    path.clear();
    if (!ReadRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramPath, path))
        return false;
    return !path.empty() && path.size() < sizeof InstallPath;
}

} // namespace

void LauncherDialog::RunUninstall()
{
    if (AfxMessageBox("Usunąć program 'Jex'?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    std::string recordedPath;
    const char* const* files = PartialFiles;
    const bool recorded = ReadRecordedInstallation(recordedPath, files);
    if (recorded)
        std::strcpy(InstallPath, recordedPath.c_str());

    auto dialog = std::make_unique<UninstallProgressDialog>(m_hWnd);
    dialog->Create(m_hWnd);

    // Without a recorded directory there is nothing on disk this program
    // may delete; that counts as a failed file step.
    if (!recorded || !dialog->DeleteFiles(files))
        AfxMessageBox("Wystąpił błąd w trakcie usuwania programu.", MB_OK | MB_ICONSTOP);
    if (recorded)
        dialog->RemoveDirectories(ManifestDirectories);

    if (RemoveShortcuts() && RemoveInstallRecord())
        AfxMessageBox("Odinstalowanie zostało zakończone pomyślnie.", MB_OK | MB_ICONINFORMATION);

    dialog->DestroyWindow();
    RefreshInstallState();
    dialog.reset();
}
