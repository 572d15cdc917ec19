#include "install/CopyProgressDialog.h"

#include "app/Globals.h"
#include "fw/Afx.h"
#include "install/CopyPaths.h"
#include "install/InstallManifest.h"
#include "install/MessageText.h"
#include "install/OverwriteDialog.h"
#include "resource.h"

#include <cerrno>
#include <direct.h>

namespace {

// Larger than a block, so the blocks go through memory, not system calls.
constexpr size_t kStreamBufferSize = 64 * 1024;

// Lets the thread's queue be looked at without waiting for it: returns at
// once whether or not anything is queued, and takes and dispatches nothing.
void LookAtQueue()
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

} // namespace

bool AskRetry(const std::string& text)
{
    return AfxMessageBox(text.c_str(), MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

CopyProgressDialog::CopyProgressDialog(const char* destRoot, const char* sourceRoot, HWND parent)
    : CDialog(IDD_COPY_PROGRESS, parent),
      m_nOverwriteMode(No),
      m_pszDestRoot(destRoot),
      m_pszSourceRoot(sourceRoot),
      m_sourceBuffer(kStreamBufferSize),
      m_destBuffer(kStreamBufferSize)
{
}

void CopyProgressDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_COPY_OVERALL_BAR, m_wndOverallBar);
    DDX_Control(pDX, IDC_COPY_DESCRIPTION, m_lblDescription);
    DDX_Control(pDX, IDC_COPY_FILE_NAME, m_lblFileName);
    DDX_Control(pDX, IDC_COPY_FILE_BAR, m_wndFileBar);
}

BOOL CopyProgressDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndOverallBar.Reset();
    m_wndFileBar.Reset();
    return TRUE;
}

void CopyProgressDialog::OnCancel()
{
}

void CopyProgressDialog::ShowPosition(PacedProgressBar& bar, int64_t done, int64_t whole)
{
    bar.Show(whole > 0 ? static_cast<int>(done * 100 / whole) : 0);
}

void CopyProgressDialog::ShowOverall()
{
    ShowPosition(m_wndOverallBar, m_nTotalDone, SelectedInstallBytes(FullInstall != 0));
}

void CopyProgressDialog::FlushBars()
{
    m_wndFileBar.Flush();
    m_wndOverallBar.Flush();
}

bool CopyProgressDialog::AskRetry(const std::string& text)
{
    FlushBars();
    return ::AskRetry(text);
}

bool CopyProgressDialog::MakeDirectory(const std::string& path)
{
    while (_mkdir(path.c_str()) != 0 && errno != EEXIST) {
        if (!AskRetry(FillIn("Błąd przy tworzeniu katalogu '%s'", path.c_str())))
            return false;
    }
    return true;
}

bool CopyProgressDialog::CreateDirectories(const char* const* table)
{
    int components = CountPathComponents(m_pszDestRoot);
    if (components == 0) {
        AfxMessageBox(FillIn("Błąd przy tworzeniu katalogu '%s'", m_pszDestRoot).c_str(),
                      MB_OK | MB_ICONSTOP);
        return false;
    }
    for (int n = 1; n <= components; ++n) {
        if (!MakeDirectory(PathPrefix(m_pszDestRoot, n)))
            return false;
    }
    for (; *table; ++table) {
        if (!MakeDirectory(JoinPath(m_pszDestRoot, *table)))
            return false;
    }
    return true;
}

bool CopyProgressDialog::CopyFiles(const char* const* table)
{
    m_wndOverallBar.Reset();
    m_nTotalDone = 0;
    const std::string description = FillIn("Kopiowanie plików do katalogu \n'%s'", m_pszDestRoot);
    for (; *table; ++table) {
        const char* entry = *table;
        const std::string sourcePath = std::string(m_pszSourceRoot ? m_pszSourceRoot : "") + entry;
        const std::string destPath = JoinPath(m_pszDestRoot, entry);
        m_lblFileName.SetWindowText(entry);
        m_lblDescription.SetWindowText(description.c_str());
        while (!CopyOneFile(destPath.c_str(), sourcePath.c_str())) {
            if (!AskRetry(FillIn("Błąd przy kopiowaniu pliku '%s'", entry)))
                return false;
        }
    }
    return true;
}

FILE* CopyProgressDialog::OpenWithRetry(const char* path, const char* mode,
                                        std::vector<char>& buffer)
{
    for (;;) {
        FILE* stream = std::fopen(path, mode);
        if (stream) {
            std::setvbuf(stream, buffer.data(), _IOFBF, buffer.size());
            return stream;
        }
        if (!AskRetry(FillIn("Błąd przy otwieraniu pliku '%s'", path)))
            return nullptr;
    }
}

bool CopyProgressDialog::ReadWithRetry(FILE* source, char* block, size_t size,
                                       const char* sourcePath)
{
    while (std::fread(block, size, 1, source) != 1) {
        if (!AskRetry(FillIn("Błąd przy odczycie z pliku '%s'", sourcePath)))
            return false;
        std::clearerr(source);
    }
    return true;
}

bool CopyProgressDialog::WriteWithRetry(FILE* dest, const char* block, size_t size,
                                        const char* destPath)
{
    while (std::fwrite(block, size, 1, dest) != 1) {
        if (!AskRetry(FillIn("Błąd przy zapisie do pliku '%s'", destPath)))
            return false;
        std::clearerr(dest);
    }
    return true;
}

namespace {

// Closes the streams of one copy attempt on every way out.
struct StreamPair {
    FILE* source = nullptr;
    FILE* dest = nullptr;
    ~StreamPair()
    {
        if (dest)
            std::fclose(dest);
        if (source)
            std::fclose(source);
    }
};

// The length of an open stream, which is left at its start; -1 when it
// cannot be told or does not fit the counters.
long StreamLength(FILE* stream)
{
    if (std::fseek(stream, 0, SEEK_END) != 0)
        return -1;
    long length = std::ftell(stream);
    if (std::fseek(stream, 0, SEEK_SET) != 0)
        return -1;
    return length;
}

} // namespace

bool CopyProgressDialog::CopyOneFile(const char* destPath, const char* sourcePath)
{
    LookAtQueue();

    StreamPair streams;
    for (;;) {
        streams.source = OpenWithRetry(sourcePath, "rb", m_sourceBuffer);
        if (!streams.source)
            return false;
        long length = StreamLength(streams.source);
        if (length >= 0) {
            m_nCurrentSize = static_cast<int32_t>(length);
            break;
        }
        // A source whose length cannot be told counts as one that did not open.
        std::fclose(streams.source);
        streams.source = nullptr;
        if (!AskRetry(FillIn("Błąd przy otwieraniu pliku '%s'", sourcePath)))
            return false;
    }

    if (FILE* existing = std::fopen(destPath, "rb")) {
        std::fclose(existing);
        if (!ConfirmOverwrite(destPath)) {
            m_nTotalDone += m_nCurrentSize;
            ShowOverall();
            FlushBars();
            return true;
        }
    }

    streams.dest = OpenWithRetry(destPath, "w+b", m_destBuffer);
    if (!streams.dest)
        return false;

    m_nCurrentDone = 0;
    m_wndFileBar.Reset();

    char block[kBlockSize];
    const int32_t blocks = m_nCurrentSize / kBlockSize;
    for (int32_t i = 0; i < blocks; ++i) {
        if (!ReadWithRetry(streams.source, block, kBlockSize, sourcePath))
            return false;
        if (!WriteWithRetry(streams.dest, block, kBlockSize, destPath))
            return false;
        m_nCurrentDone += kBlockSize;
        m_nTotalDone += kBlockSize;
        ShowPosition(m_wndFileBar, m_nCurrentDone, m_nCurrentSize);
        ShowOverall();
    }

    if (m_nCurrentDone != m_nCurrentSize) {
        const int32_t rest = m_nCurrentSize - m_nCurrentDone;
        m_nTotalDone += rest;
        if (!ReadWithRetry(streams.source, block, static_cast<size_t>(rest), sourcePath))
            return false;
        if (!WriteWithRetry(streams.dest, block, static_cast<size_t>(rest), destPath))
            return false;
        m_nCurrentDone = m_nCurrentSize;
        ShowPosition(m_wndFileBar, 100, 100);
        ShowOverall();
    }

    // The stream buffer still holds the file's last bytes: writing them out
    // can fail like any other write, and is asked about the same way.
    while (std::fflush(streams.dest) != 0) {
        if (!AskRetry(FillIn("Błąd przy zapisie do pliku '%s'", destPath)))
            return false;
        std::clearerr(streams.dest);
    }
    FlushBars();
    return true;
}

bool CopyProgressDialog::ConfirmOverwrite(const char* destPath)
{
    if (m_nOverwriteMode == YesToAll)
        return true;
    if (m_nOverwriteMode == NoToAll)
        return false;
    FlushBars();
    OverwriteDialog question(destPath);
    question.DoModal();
    m_nOverwriteMode = question.m_nAnswer;
    return m_nOverwriteMode == Yes || m_nOverwriteMode == YesToAll;
}
