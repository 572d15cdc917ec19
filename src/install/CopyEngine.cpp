#include "install/CopyEngine.h"

#include "install/CopyPaths.h"
#include "install/InstallManifest.h"
#include "install/MessageText.h"

#include <algorithm>
#include <utility>

namespace {

// Closes whatever one copy attempt opened, on every way out.
class OpenFiles {
public:
    explicit OpenFiles(FileSystem& files) : m_files(files) {}
    ~OpenFiles()
    {
        if (dest)
            m_files.Close(dest);
        if (source)
            m_files.Close(source);
    }
    OpenFiles(const OpenFiles&) = delete;
    OpenFiles& operator=(const OpenFiles&) = delete;

    FileSystem::Handle source = nullptr;
    FileSystem::Handle dest = nullptr;

private:
    FileSystem& m_files;
};

} // namespace

CopyEngine::CopyEngine(std::string destRoot, std::string sourceRoot, bool fullInstall,
                       CopyView& view, FileSystem& files)
    : m_strDestRoot(std::move(destRoot)),
      m_strSourceRoot(std::move(sourceRoot)),
      m_bFullInstall(fullInstall),
      m_view(view),
      m_files(files),
      m_buffer(kChunkSize)
{
}

bool CopyEngine::MakeDirectory(const std::string& path)
{
    while (m_files.MakeDir(path) == FileSystem::DirResult::Failed) {
        if (!m_view.AskRetry(FillIn("Błąd przy tworzeniu katalogu '%s'", path.c_str())))
            return false;
    }
    return true;
}

bool CopyEngine::CreateDirectories(const char* const* table)
{
    const int components = CountPathComponents(m_strDestRoot.c_str());
    if (components == 0) {
        m_view.ShowError(FillIn("Błąd przy tworzeniu katalogu '%s'", m_strDestRoot.c_str()));
        return false;
    }
    m_view.ShowDescription(FillIn("Tworzenie katalogów w \n'%s'", m_strDestRoot.c_str()));
    for (int n = 1; n <= components; ++n) {
        const std::string ancestor = PathPrefix(m_strDestRoot.c_str(), n);
        m_view.ShowFileName(ancestor);
        if (!MakeDirectory(ancestor))
            return false;
    }
    for (; *table; ++table) {
        m_view.ShowFileName(*table);
        if (!MakeDirectory(JoinPath(m_strDestRoot.c_str(), *table)))
            return false;
    }
    m_view.EndStep();
    return true;
}

bool CopyEngine::CopyFiles(const char* const* table)
{
    m_nTotalDone = 0;
    m_view.ShowOverallProgress(0);
    m_view.ShowDescription(FillIn("Kopiowanie plików do katalogu \n'%s'", m_strDestRoot.c_str()));
    for (; *table; ++table) {
        const char* entry = *table;
        const std::string sourcePath = m_strSourceRoot + entry;
        const std::string destPath = JoinPath(m_strDestRoot.c_str(), entry);
        m_view.ShowFileName(entry);
        while (!CopyOneFile(destPath, sourcePath)) {
            if (!m_view.AskRetry(FillIn("Błąd przy kopiowaniu pliku '%s'", entry)))
                return false;
        }
    }
    m_view.EndStep();
    return true;
}

FileSystem::Handle CopyEngine::OpenWithRetry(const std::string& path, bool forWriting)
{
    for (;;) {
        FileSystem::Handle file =
            forWriting ? m_files.CreateForWriting(path) : m_files.OpenForReading(path);
        if (file)
            return file;
        if (!m_view.AskRetry(FillIn("Błąd przy otwieraniu pliku '%s'", path.c_str())))
            return nullptr;
    }
}

bool CopyEngine::ReadChunk(FileSystem::Handle& source, const std::string& sourcePath,
                           int64_t offset, uint32_t size)
{
    while (!source || m_files.ReadAt(source, offset, m_buffer.data(), size) != size) {
        if (!m_view.AskRetry(FillIn("Błąd przy odczycie z pliku '%s'", sourcePath.c_str())))
            return false;
        // The CD may have been taken out and put back: a handle of the old
        // one would fail for ever.
        if (source)
            m_files.Close(source);
        source = m_files.OpenForReading(sourcePath);
    }
    return true;
}

bool CopyEngine::WriteChunk(FileSystem::Handle dest, const std::string& destPath, int64_t offset,
                            uint32_t size)
{
    while (!m_files.WriteAt(dest, offset, m_buffer.data(), size)) {
        if (!m_view.AskRetry(FillIn("Błąd przy zapisie do pliku '%s'", destPath.c_str())))
            return false;
    }
    return true;
}

void CopyEngine::ShowOverall()
{
    m_view.ShowOverallProgress(Percent(m_nTotalDone, SelectedInstallBytes(m_bFullInstall)));
}

bool CopyEngine::CopyOneFile(const std::string& destPath, const std::string& sourcePath)
{
    const int64_t totalBefore = m_nTotalDone;
    m_nCurrentDone = 0;
    m_view.ShowFileProgress(0);

    OpenFiles open(m_files);
    bool copied = false;
    for (;;) {
        open.source = OpenWithRetry(sourcePath, false);
        if (!open.source)
            break;
        if (m_files.SizeOf(open.source, m_nCurrentSize))
            break;
        // A source whose length cannot be told counts as one that did not open.
        m_files.Close(open.source);
        open.source = nullptr;
        if (!m_view.AskRetry(FillIn("Błąd przy otwieraniu pliku '%s'", sourcePath.c_str())))
            break;
    }

    if (open.source && destPath != m_strUnfinished && m_files.IsFile(destPath) &&
        !ConfirmOverwrite(destPath)) {
        // The existing file stays as it is, counted as if copied.
        m_nTotalDone += m_nCurrentSize;
        ShowOverall();
        return true;
    }

    if (open.source)
        open.dest = OpenWithRetry(destPath, true);
    if (open.dest) {
        m_strUnfinished = destPath;
        int64_t offset = 0;
        bool whole = true;
        while (whole && offset < m_nCurrentSize) {
            const auto size = static_cast<uint32_t>(std::min<int64_t>(kChunkSize, m_nCurrentSize - offset));
            whole = ReadChunk(open.source, sourcePath, offset, size) &&
                    WriteChunk(open.dest, destPath, offset, size);
            if (whole) {
                offset += size;
                m_nCurrentDone = offset;
                m_nTotalDone = totalBefore + offset;
                m_view.ShowFileProgress(Percent(m_nCurrentDone, m_nCurrentSize));
                ShowOverall();
            }
        }
        if (whole) {
            // Only a copy closed without an error is known to be on disk.
            copied = m_files.Close(std::exchange(open.dest, nullptr));
            if (copied)
                m_strUnfinished.clear();
        }
    }

    if (!copied) {
        // Both bars go back to where they were before this file.
        m_nCurrentDone = 0;
        m_nTotalDone = totalBefore;
        m_view.ShowFileProgress(0);
        ShowOverall();
    }
    return copied;
}

bool CopyEngine::ConfirmOverwrite(const std::string& destPath)
{
    if (m_nOverwriteMode == YesToAll)
        return true;
    if (m_nOverwriteMode == NoToAll)
        return false;
    m_nOverwriteMode = m_view.AskOverwrite(destPath);
    return m_nOverwriteMode == Yes || m_nOverwriteMode == YesToAll;
}
