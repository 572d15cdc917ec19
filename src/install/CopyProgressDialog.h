// The copy engine and its window: creates the target directory tree, then
// copies the files of one manifest table from the CD in blocks of 1024
// bytes, showing the current file, its progress and the progress of the
// whole installation in a modeless window that cannot be closed. Every
// failing step asks Retry or Cancel.
#pragma once

#include "fw/Dialog.h"
#include "fw/Static.h"
#include "install/PacedProgressBar.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CopyProgressDialog : public CDialog {
public:
    // destRoot: the target directory (InstallPath); sourceRoot: the CD's
    // root with its trailing backslash (CdRoot). Both strings are the
    // caller's and must outlive the object.
    CopyProgressDialog(const char* destRoot, const char* sourceRoot, HWND parent);

    static constexpr int kBlockSize = 1024;

    // Creates destRoot with its missing ancestors, then destRoot\entry for
    // every entry of the table. False when the user gave up.
    bool CreateDirectories(const char* const* table);
    // Copies sourceRoot+entry to destRoot\entry for every entry of the
    // table. False when the user gave up.
    bool CopyFiles(const char* const* table);
    // Copies one file; false after the user's Cancel in one of its questions.
    bool CopyOneFile(const char* destPath, const char* sourcePath);
    // Whether an existing destination is replaced: a standing answer for all
    // files decides at once, otherwise the overwrite question is asked.
    bool ConfirmOverwrite(const char* destPath);

    int32_t m_nOverwriteMode;    // an OverwriteAnswer; No means no standing answer
    const char* m_pszDestRoot;
    const char* m_pszSourceRoot;
    int32_t m_nCurrentSize = 0;  // bytes of the file being copied
    int32_t m_nCurrentDone = 0;  // bytes of it written so far
    int32_t m_nTotalDone = 0;    // bytes copied plus the sizes of kept files

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The window never closes on a cancel command.
    void OnCancel() override;

    PacedProgressBar m_wndOverallBar;
    CStatic m_lblDescription;
    CStatic m_lblFileName;
    PacedProgressBar m_wndFileBar;

private:
    // One directory: done when made or already there; otherwise asks Retry
    // or Cancel. False after Cancel.
    bool MakeDirectory(const std::string& path);
    // Opens a stream with a buffer larger than a block; asks Retry or Cancel
    // while it fails. Null after Cancel.
    FILE* OpenWithRetry(const char* path, const char* mode, std::vector<char>& buffer);
    bool ReadWithRetry(FILE* source, char* block, size_t size, const char* sourcePath);
    bool WriteWithRetry(FILE* dest, const char* block, size_t size, const char* destPath);

    // The bars get a new position after every block and show it at a pace
    // the eye can follow; before every question they show it exactly.
    static void ShowPosition(PacedProgressBar& bar, int64_t done, int64_t whole);
    void ShowOverall();
    void FlushBars();
    // Asks Retry or Cancel with the bars up to date; true for Retry.
    bool AskRetry(const std::string& text);
    std::vector<char> m_sourceBuffer;
    std::vector<char> m_destBuffer;
};

// True when the user pressed Retry in a Retry/Cancel question with this text.
bool AskRetry(const std::string& text);
