#include "install/InstallSequence.h"

#include "dirpick/InstallOptionsDialog.h"
#include "fw/Files.h"
#include "install/CopyEngine.h"
#include "install/CopyProgressDialog.h"
#include "install/InstallManifest.h"
#include "install/MessageText.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Shortcuts.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr char kFailed[] = "Wystąpił błąd przy instalacji programu.";
constexpr char kShortcutFailed[] = "Wystąpił błąd podczas tworzenia skrótu do programu.";

// Whether the target's drive has at least `required` bytes free. The drive
// is the target's first character; a query that fails counts as no space.
bool EnoughFreeSpace(const std::string& target, uint64_t required)
{
    std::string diskRoot = "c:\\";
    diskRoot[0] = target.empty() ? '\0' : target[0];
    uint64_t freeBytes = 0;
    return FreeBytesOn(diskRoot.c_str(), freeBytes) && freeBytes >= required;
}

// The game's configuration file, asking Retry or Cancel while it cannot be
// written. False when the user gave up.
bool WriteGameConfigWithRetry(const InstallState& state, OperationHost& host, HWND owner)
{
    while (!WriteGameConfig(state.InstallPath, state.CdLetter, state.FullInstall)) {
        const std::string question =
            FillIn("Błąd przy zapisie do pliku '%s'", GameConfigPath(state.InstallPath).c_str());
        if (host.ShowAppMessage(question, MB_RETRYCANCEL | MB_ICONEXCLAMATION, owner) != IDRETRY)
            return false;
    }
    return true;
}

// The directories and files in the copy window, then the game's
// configuration file, the shortcuts and the record. False, after the
// failure message, when the copy or the configuration file did not finish:
// the game is then not recorded.
bool InstallFiles(const InstallState& state, OperationHost& host, FileSystem& files)
{
    HWND owner = host.OwnerWindow();
    CopyProgressDialog window(owner);
    if (!window.Create(owner)) {
        host.ShowAppMessage(kFailed, MB_OK | MB_ICONSTOP, owner);
        return false;
    }
    CopyEngine engine(state.InstallPath, state.CdRoot(), state.FullInstall, window, files);
    const bool installed = engine.CreateDirectories(ManifestDirectories) &&
                           engine.CopyFiles(SelectedFiles(state.FullInstall)) &&
                           WriteGameConfigWithRetry(state, host, window);
    if (installed) {
        // One report for every part of the group that could not be made.
        for (int failed = CreateShortcuts(state.InstallPath, state.CdLetter); failed > 0; --failed)
            host.ShowAppMessage(kShortcutFailed, MB_OK | MB_ICONSTOP, window);
        WriteInstallRecord(state.InstallPath, state.CdLetter, state.FullInstall,
                           SelectedInstallBytes(state.FullInstall));
    } else {
        host.ShowAppMessage(kFailed, MB_OK | MB_ICONSTOP, window);
    }
    window.DestroyWindow();
    return installed;
}

} // namespace

size_t TargetLengthLimit()
{
    return std::min(MaxTargetLength(), LongestRecordableInstallPath());
}

void RunInstall(InstallState& state, OperationHost& host, FileSystem& files)
{
    HWND owner = host.OwnerWindow();
    InstallOptionsDialog options(state.InstallPath, state.FullInstall, TargetLengthLimit(), owner);

    if (!host.EnsureCd())
        return;

    if (host.IsInstalled() &&
        host.ShowMessage("Program już jest zainstalowany w systemie.\nCzy chcesz kontynuować ?",
                         MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        host.RefreshInstallState();
        return;
    }

    for (;;) {
        if (options.DoModal() != IDOK) {
            host.ShowAppMessage("Instalacja programu została przerwana.", MB_OK | MB_ICONSTOP, owner);
            return;
        }
        if (EnoughFreeSpace(state.InstallPath, SelectedInstallBytes(state.FullInstall)))
            break;
        host.ShowMessage("Zbyt mało miejsca na dysku", MB_OK);
    }

    if (InstallFiles(state, host, files)) {
        if (host.ShowAppMessage("Instalacja zakończona pomyślnie.\n"
                                "Czy chcesz uruchomić program konfiguracyjny?",
                                MB_YESNO | MB_ICONINFORMATION, owner) == IDYES)
            host.RunConfig();
        if (host.ShowAppMessage("Czy chcesz uruchomić grę?", MB_YESNO | MB_ICONINFORMATION, owner) == IDYES)
            host.RunGame();
    }
    host.RefreshInstallState();
}
