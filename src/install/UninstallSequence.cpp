#include "install/UninstallSequence.h"

#include "dirpick/TargetPath.h"
#include "fw/Afx.h"
#include "install/CopyPaths.h"
#include "install/InstallManifest.h"
#include "install/MessageText.h"
#include "install/PacedProgressBar.h"
#include "install/RemovalEngine.h"
#include "install/UninstallProgressDialog.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Shortcuts.h"

namespace {

constexpr char kFailed[] = "Wystąpił błąd w trakcie usuwania programu.";

// Whether the directory holds an installation this program made: an
// absolute directory on a drive, with the installer's own copy in it. The
// removal deletes listed names, and those names are common ones: anywhere
// else they would be somebody else's files.
bool HoldsInstallation(const std::string& directory, FileSystem& files)
{
    return IsDirectoryOnDrive(directory) && files.IsFile(JoinPath(directory.c_str(), kInstallerCopy));
}

// Without an installation on disk only the record and the shortcuts can go,
// and only if the user says so: the directory may be on a drive that is
// just not there now.
void OfferToForgetRecord(const std::string& directory, HWND owner)
{
    const std::string question =
        FillIn("W katalogu '%s' nie znaleziono zainstalowanego programu.\n"
               "Czy usunąć tylko wpisy programu w rejestrze i skróty w menu Start?",
               directory.c_str());
    if (AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONQUESTION, owner) != IDYES)
        return;
    RemoveShortcuts();
    RemoveInstallRecord();
}

// The removal window as the engine sees it, its bar moved at the pace of
// the copy window's bars: the removal reports a position after every entry,
// and under Wine each painting of the bar costs more than deleting the
// file. A position goes to the bar when the last one is at least
// PaintPace::kPaintIntervalMs old; the latest one always goes before a
// question, before the next step and when Flush is called.
class PacedRemovalView final : public RemovalView {
public:
    explicit PacedRemovalView(UninstallProgressDialog& window) : m_window(window) {}

    void ShowDescription(const std::string& text) override
    {
        Flush();
        m_window.ShowDescription(text);
    }
    void ShowFileName(const std::string& entry) override { m_window.ShowFileName(entry); }
    bool AskRetry(const std::string& question) override
    {
        Flush();
        return m_window.AskRetry(question);
    }
    void ShowProgress(int percent) override
    {
        m_nLatest = percent;
        m_bOwed = true;
        if (m_pace.IsDue())
            Flush();
    }

    // Shows the latest position now if the bar does not show it yet.
    void Flush()
    {
        if (!m_bOwed)
            return;
        m_window.ShowProgress(m_nLatest);
        m_bOwed = false;
        m_pace.Painted();
    }

private:
    UninstallProgressDialog& m_window;
    PaintPace m_pace;
    int m_nLatest = 0;
    bool m_bOwed = false;
};

} // namespace

void RunUninstall(OperationHost& host, FileSystem& files)
{
    HWND owner = host.OwnerWindow();
    if (AfxMessageBox("Usunąć program 'Jex'?", MB_YESNO | MB_ICONQUESTION, owner) != IDYES)
        return;

    // The recorded installation, not whatever the options dialog last held,
    // and its own kind, not the one chosen in this run.
    const RecordedInstallation recorded = ReadInstallRecord();
    if (!HoldsInstallation(recorded.ProgramPath, files)) {
        OfferToForgetRecord(recorded.ProgramPath, owner);
        host.RefreshInstallState();
        return;
    }

    UninstallProgressDialog window(owner);
    if (!window.Create(owner)) {
        AfxMessageBox(kFailed, MB_OK | MB_ICONSTOP, owner);
        return;
    }
    PacedRemovalView view(window);
    RemovalEngine engine(recorded.ProgramPath, view, files);
    const bool filesGone = engine.DeleteFiles(SelectedFiles(recorded.FullInstall));
    view.Flush();
    if (!filesGone)
        AfxMessageBox(kFailed, MB_OK | MB_ICONSTOP, window);
    // Only empty directories go, so this step is safe after a failure too.
    engine.RemoveDirectories(ManifestDirectories);
    view.Flush();
    if (filesGone) {
        // With files left on disk the record and the shortcuts stay, so that
        // a later removal can finish the work.
        RemoveShortcuts();
        RemoveInstallRecord();
        AfxMessageBox("Odinstalowanie zostało zakończone pomyślnie.", MB_OK | MB_ICONINFORMATION,
                      window);
    }
    window.DestroyWindow();
    host.RefreshInstallState();
}
