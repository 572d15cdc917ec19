// The removal of an installation's files and directories under its
// directory, walking manifest tables from their last entry to their first.
// Progress and questions go through a RemovalView, the files through a
// FileSystem.
#pragma once

#include "install/FileSystem.h"
#include "install/ProgressView.h"

#include <string>

class RemovalEngine {
public:
    RemovalEngine(std::string root, RemovalView& view, FileSystem& files = RealFileSystem());

    // Deletes the files of the table under the root, last entry first,
    // leaving the installer's own copy in place. A file that is already gone
    // counts as deleted; any other failure asks Retry or Cancel. False when
    // the table is empty or the user cancelled (the remaining files stay).
    bool DeleteFiles(const char* const* table);

    // Removes the table's directories under the root, last entry first,
    // then the root itself and its ancestors, deepest first, never the drive
    // root. Only empty directories go; nothing is reported.
    void RemoveDirectories(const char* const* table);

private:
    std::string m_strRoot;
    RemovalView& m_view;
    FileSystem& m_files;
};
