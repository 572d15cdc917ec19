#include "install/RemovalEngine.h"

#include "install/CopyPaths.h"
#include "install/InstallManifest.h"
#include "install/MessageText.h"

#include <cstring>
#include <utility>

RemovalEngine::RemovalEngine(std::string root, RemovalView& view, FileSystem& files)
    : m_strRoot(std::move(root)), m_view(view), m_files(files)
{
}

bool RemovalEngine::DeleteFiles(const char* const* table)
{
    const int count = CountEntries(table);
    if (count == 0)
        return false;

    m_view.ShowDescription(FillIn("Usuwanie plików z katalogu \n'%s'", m_strRoot.c_str()));
    m_view.ShowProgress(0);
    for (int k = 1; k <= count; ++k) {
        const char* entry = table[count - k];
        // The installer's own copy stays: the Start menu's shortcut to the
        // set-up program points at it, and it marks the directory as ours.
        if (std::strcmp(entry, kInstallerCopy) != 0) {
            const std::string path = JoinPath(m_strRoot.c_str(), entry);
            m_view.ShowFileName(entry);
            // A file that is gone already counts as deleted: asking to retry
            // could never help there.
            while (!m_files.RemoveFile(path) && m_files.Exists(path)) {
                if (!m_view.AskRetry(FillIn("Błąd przy usuwaniu pliku '%s'", entry)))
                    return false;
            }
        }
        m_view.ShowProgress(Percent(k, count));
    }
    return true;
}

void RemovalEngine::RemoveDirectories(const char* const* table)
{
    const int count = CountEntries(table);
    if (count == 0)
        return;

    m_view.ShowDescription("Usuwanie podkatalogów");
    m_view.ShowProgress(0);
    for (int k = 1; k <= count; ++k) {
        const char* entry = table[count - k];
        m_view.ShowFileName(entry);
        m_files.RemoveDir(JoinPath(m_strRoot.c_str(), entry));
        m_view.ShowProgress(Percent(k, count));
    }
    // The root and its ancestors, deepest first; the prefixes never name
    // the drive root.
    for (int c = CountPathComponents(m_strRoot.c_str()); c >= 1; --c)
        m_files.RemoveDir(PathPrefix(m_strRoot.c_str(), c));
}
