// The install sequence behind the launcher's install button: CD, the
// already-installed question, the options dialog with the free-space check,
// then directories, files, shortcuts and the install record, and at the end
// the offer to start the configuration program and the game.
#include "app/CdLocator.h"
#include "app/Globals.h"
#include "app/LauncherDialog.h"
#include "dirpick/InstallOptionsDialog.h"
#include "fw/Afx.h"
#include "install/CopyProgressDialog.h"
#include "install/InstallManifest.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Shortcuts.h"

#include <cstdint>

namespace {

// Whether the drive of the target directory has at least `required` bytes
// free. The drive is the target's first character; a query that fails
// (no such drive, a network path) counts as no space.
bool EnoughFreeSpace(uint64_t required)
{
    char diskRoot[4] = "c:\\";
    diskRoot[0] = InstallPath[0];
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    uint64_t freeBytes = 0;
    if (GetDiskFreeSpaceA(diskRoot, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                          &totalClusters)) {
        freeBytes = uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
    }
    return freeBytes >= required;
}

} // namespace

void LauncherDialog::RunInstall()
{
    InstallOptionsDialog options(nullptr);

    while (CdLetter[0] == '\0') {
        if (ShowMessage("Nie można odnależć CD-ROM'u - JEX", MB_RETRYCANCEL | MB_ICONQUESTION) !=
            IDRETRY)
            return;
        LocateCd();
    }

    if (m_bInstalled &&
        ShowMessage("Program już jest zainstalowany w systemie.\nCzy chcesz kontynuować ?",
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        RefreshInstallState();
        return;
    }

    for (;;) {
        if (options.DoModal() != IDOK) {
            AfxMessageBox("Instalacja programu została przerwana.", MB_OK | MB_ICONSTOP);
            return;
        }
        if (EnoughFreeSpace(FullInstall ? FullInstallBytes : PartialInstallBytes))
            break;
        ShowMessage("Zbyt mało miejsca na dysku", MB_OK);
    }

    bool installed;
    {
        CopyProgressDialog progress(InstallPath, CdRoot, m_hWnd);
        progress.Create(m_hWnd);
        installed = progress.CreateDirectories(ManifestDirectories) &&
                    progress.CopyFiles(FullInstall ? FullFiles : PartialFiles) &&
                    CreateShortcuts() && WriteInstallRecord();
        if (!installed)
            AfxMessageBox("Wystąpił błąd przy instalacji programu.", MB_OK | MB_ICONSTOP);
        progress.DestroyWindow();
    }

    if (installed) {
        if (AfxMessageBox("Instalacja zakończona pomyślnie.\n"
                          "Czy chcesz uruchomić program konfiguracyjny?",
                          MB_YESNO | MB_ICONINFORMATION) == IDYES)
            RunConfig();
        if (AfxMessageBox("Czy chcesz uruchomić grę?", MB_YESNO | MB_ICONINFORMATION) == IDYES)
            RunGame();
    }

    RefreshInstallState();
}
