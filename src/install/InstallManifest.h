// What an installation puts on disk: the directories to create under the
// target directory, the files to copy from the CD for each kind of
// installation, and the bytes each kind needs. Each table ends with a null.
#pragma once

#include <cstddef>
#include <cstdint>

extern const char* const ManifestDirectories[];
extern const char* const PartialFiles[];
extern const char* const FullFiles[];

constexpr uint32_t PartialInstallBytes = 233163669;
constexpr uint32_t FullInstallBytes = 579639189;

// The installer's own copy in the target directory: the one listed file
// that removal leaves in place.
constexpr char kInstallerCopy[] = "JEXINSTL.EXE";

// The file table and the byte total of the full or the partial kind.
const char* const* SelectedFiles(bool fullInstall);
uint32_t SelectedInstallBytes(bool fullInstall);

// The number of entries of a table, its null excluded.
int CountEntries(const char* const* table);

// The longest target directory under which every directory and file of the
// manifest still has a path that Windows can use: worked out from the
// longest entries of the tables.
size_t MaxTargetLength();
