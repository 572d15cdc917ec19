#include "install/UninstallSequence.h"

#include "dirpick/TargetPath.h"
#include "install/CopyPaths.h"
#include "install/InstallManifest.h"
#include "install/MessageText.h"
#include "install/RemovalEngine.h"
#include "install/UninstallProgressDialog.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Shortcuts.h"

namespace {

constexpr char kFailed[] = "Wystąpił błąd w trakcie usuwania programu.";

// Whether the directory holds an installation this program made: a
// directory that the installation could have been given as its target,
// with the installer's own copy in it. The removal deletes listed names,
// and those names are common ones: anywhere else they would be somebody
// else's files. The target's rules keep the removal inside the directory:
// it walks the directory's ancestors as the path spells them, and a ".."
// there would name the user's own folders.
bool HoldsInstallation(const std::string& directory, FileSystem& files)
{
    return TargetPathProblem(directory, std::string::npos).empty() &&
           files.IsFile(JoinPath(directory.c_str(), kInstallerCopy));
}

// Without an installation on disk only the record and the shortcuts can go,
// and only if the user says so: the directory may be on a drive that is
// just not there now.
void OfferToForgetRecord(const std::string& directory, OperationHost& host)
{
    const std::string question =
        FillIn("W katalogu '%s' nie znaleziono zainstalowanego programu.\n"
               "Czy usunąć tylko wpisy programu w rejestrze i skróty w menu Start?",
               directory.c_str());
    if (host.ShowAppMessage(question, MB_YESNO | MB_ICONQUESTION, host.OwnerWindow()) != IDYES)
        return;
    RemoveShortcuts();
    RemoveInstallRecord();
}

} // namespace

void RunUninstall(OperationHost& host, FileSystem& files)
{
    HWND owner = host.OwnerWindow();
    if (host.ShowAppMessage("Usunąć program 'Jex'?", MB_YESNO | MB_ICONQUESTION, owner) != IDYES)
        return;

    // The recorded installation, not whatever the options dialog last held,
    // and its own kind, not the one chosen in this run (the full one when
    // the record does not say).
    const RecordedInstallation recorded = ReadInstallRecord();
    if (!HoldsInstallation(recorded.ProgramPath, files)) {
        OfferToForgetRecord(recorded.ProgramPath, host);
        host.RefreshInstallState();
        return;
    }

    UninstallProgressDialog window(owner);
    if (!window.Create(owner)) {
        host.ShowAppMessage(kFailed, MB_OK | MB_ICONSTOP, owner);
        return;
    }
    RemovalEngine engine(recorded.ProgramPath, window, files);
    const bool filesGone = engine.DeleteFiles(SelectedFiles(recorded.FullInstall));
    if (!filesGone)
        host.ShowAppMessage(kFailed, MB_OK | MB_ICONSTOP, window);
    // Only empty directories go, so this step is safe after a failure too.
    engine.RemoveDirectories(ManifestDirectories);
    if (filesGone) {
        // With files left on disk the record and the shortcuts stay, so that
        // a later removal can finish the work.
        RemoveShortcuts();
        RemoveInstallRecord();
        host.ShowAppMessage("Odinstalowanie zostało zakończone pomyślnie.", MB_OK | MB_ICONINFORMATION, window);
    }
    window.DestroyWindow();
    host.RefreshInstallState();
}
