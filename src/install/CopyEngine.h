// The copy engine: creates the target directory with its missing ancestors
// and the manifest's directories, then copies the files of one manifest
// table from the CD. Every failing step asks Retry or Cancel; an existing
// file is replaced only after the overwrite question or under a standing
// answer for all files. Progress and questions go through a CopyView, the
// files through a FileSystem.
//
// Bookkeeping is in blocks of 1024 bytes (the last one of a file may be
// shorter); the reads and writes themselves go in larger chunks. A retried
// read or write works on exactly the bytes that failed, at their offset, so
// a Retry never leaves a gap or a doubled block in the copy. A file counts
// as copied only when every byte is written and the file closed without an
// error.
#pragma once

#include "install/FileSystem.h"
#include "install/ProgressView.h"

#include <cstdint>
#include <string>
#include <vector>

class CopyEngine {
public:
    static constexpr int kBlockSize = 1024;
    // Under Wine 128 KiB copies fastest: larger calls get slower again
    // (512 KiB takes twice as long), smaller ones only add calls.
    static constexpr uint32_t kChunkSize = 128 * kBlockSize;

    // destRoot: the target directory; sourceRoot: the CD's root with its
    // trailing backslash. fullInstall picks the total the overall bar counts
    // against.
    CopyEngine(std::string destRoot, std::string sourceRoot, bool fullInstall, CopyView& view,
               FileSystem& files = RealFileSystem());

    // Creates destRoot with its missing ancestors, then destRoot\entry for
    // every entry of the table. False when the user gave up.
    bool CreateDirectories(const char* const* table);
    // Copies sourceRoot+entry to destRoot\entry for every entry of the
    // table. False when the user gave up.
    bool CopyFiles(const char* const* table);
    // Copies one file; false when it was not copied whole (after the user's
    // Cancel in one of its questions, or when closing the copy failed).
    // What a failed attempt counted is taken off the bars again.
    bool CopyOneFile(const std::string& destPath, const std::string& sourcePath);
    // Whether an existing destination is replaced: a standing answer for all
    // files decides at once, otherwise the overwrite question is asked.
    bool ConfirmOverwrite(const std::string& destPath);

    OverwriteAnswer m_nOverwriteMode = No; // No stands for no standing answer
    int64_t m_nCurrentSize = 0;            // bytes of the file being copied
    int64_t m_nCurrentDone = 0;            // bytes of it written so far
    int64_t m_nTotalDone = 0;              // bytes copied plus the sizes of kept files

private:
    bool MakeDirectory(const std::string& path);
    FileSystem::Handle OpenWithRetry(const std::string& path, bool forWriting);
    // Reads the chunk at the offset whole; a Retry opens the source anew.
    bool ReadChunk(FileSystem::Handle& source, const std::string& sourcePath, int64_t offset,
                   uint32_t size);
    bool WriteChunk(FileSystem::Handle dest, const std::string& destPath, int64_t offset,
                    uint32_t size);
    void ShowOverall();

    std::string m_strDestRoot;
    std::string m_strSourceRoot;
    bool m_bFullInstall;
    CopyView& m_view;
    FileSystem& m_files;
    std::vector<char> m_buffer;
    // A destination this pass created and has not finished: retrying it is
    // no reason to ask whether to replace it.
    std::string m_strUnfinished;
};
