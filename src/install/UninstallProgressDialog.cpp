#include "install/UninstallProgressDialog.h"

#include "app/Globals.h"
#include "fw/Afx.h"
#include "install/CopyPaths.h"
#include "install/InstallManifest.h"
#include "install/MessageText.h"
#include "resource.h"

#include <direct.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// True when nothing at all exists under this path any more.
bool IsAbsent(const char* path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Deletes one file. A file that was gone already counts as deleted: asking
// to retry could never help there.
bool DeleteOneFile(const char* path)
{
    errno = 0;
    if (std::remove(path) == 0)
        return true;
    return IsAbsent(path);
}

int Percent(int done, int total)
{
    return static_cast<int>(static_cast<long long>(done) * 100 / total);
}

} // namespace

UninstallProgressDialog::UninstallProgressDialog(HWND parent)
    : CDialog(IDD_UNINSTALL, parent)
{
}

UninstallProgressDialog::~UninstallProgressDialog() = default;

void UninstallProgressDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_REMOVE_FILE_NAME, m_lblFileName);
    DDX_Control(pDX, IDC_REMOVE_BAR, m_wndProgress);
    DDX_Control(pDX, IDC_REMOVE_DESCRIPTION, m_lblDescription);
}

BOOL UninstallProgressDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndProgress.SetRange(0, 100);
    m_wndProgress.SetPos(0);
    return TRUE;
}

bool UninstallProgressDialog::DeleteFiles(const char* const* table)
{
    const int count = CountEntries(table);
    if (count == 0)
        return false;

    m_lblDescription.SetWindowText(FillIn("Usuwanie plików z katalogu \n'%s'", InstallPath).c_str());
    m_wndProgress.SetRange(0, 100);
    m_wndProgress.SetPos(0);

    for (int k = 1; k <= count; ++k) {
        const char* entry = table[count - k];
        // The installer's own copy stays: the Start menu's shortcut to the
        // set-up program points at it.
        if (std::strcmp(entry, kInstallerCopy) != 0) {
            const std::string path = JoinPath(InstallPath, entry);
            m_lblFileName.SetWindowText(entry);
            while (!DeleteOneFile(path.c_str())) {
                const std::string question = FillIn("Błąd przy usuwaniu pliku '%s'", entry);
                if (AfxMessageBox(question.c_str(), MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDCANCEL)
                    return false;
            }
        }
        m_wndProgress.SetPos(Percent(k, count));
    }
    return true;
}

bool UninstallProgressDialog::RemoveDirectories(const char* const* table)
{
    const int count = CountEntries(table);
    if (count == 0)
        return true;

    m_lblDescription.SetWindowText("Usuwanie podkatalogów");
    m_wndProgress.SetRange(0, 100);
    m_wndProgress.SetPos(0);

    for (int k = 1; k <= count; ++k) {
        const char* entry = table[count - k];
        m_lblFileName.SetWindowText(entry);
        // Only an empty directory goes; one that still holds anything stays.
        _rmdir(JoinPath(InstallPath, entry).c_str());
        m_wndProgress.SetPos(Percent(k, count));
    }

    // The target directory and its ancestors, deepest first; the prefixes
    // never name the drive root.
    std::string prefix(std::strlen(InstallPath) + 1, '\0');
    for (int c = CountPathComponents(InstallPath); c >= 1; --c) {
        CopyPathPrefix(prefix.data(), prefix.size(), InstallPath, c);
        _rmdir(prefix.c_str());
    }
    return true;
}
