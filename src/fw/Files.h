// Files, directories and drives, named by the program's text (code page
// 1250) and reached through the "W" functions, whatever code page the
// system uses. Each is a thin wrapper: the result and GetLastError are the
// Windows function's own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// CreateFileW.
HANDLE OpenFileHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// CreateDirectoryW: one directory whose parent exists.
bool MakeDirectory(const std::string& path);
// Makes every missing directory that the path names before its last
// backslash ("C:\a\b\" makes C:\a and C:\a\b). False when one could not be
// made.
bool MakeDirectoryPath(const std::string& path);
bool DeleteFileAt(const std::string& path);
// Removes a directory only when it is empty.
bool RemoveEmptyDirectory(const std::string& path);
// The attributes of whatever is there, or INVALID_FILE_ATTRIBUTES.
DWORD FileAttributesOf(const std::string& path);

// The type of a drive, given its root ("d:\").
UINT DriveTypeOf(const std::string& root);
// The bytes free on a drive: sectors per cluster times bytes per sector
// times free clusters, in 64 bits. False when the drive cannot tell.
bool FreeBytesOn(const std::string& root, uint64_t& freeBytes);
// The volume's label and file system flags.
bool VolumeInfoOf(const std::string& root, std::string& label, DWORD& flags);

// The process's current directory; false when it cannot be named in the
// program's text (or read at all).
bool CurrentDirectory(std::string& directory);
bool ChangeCurrentDirectory(const std::string& directory);

// One entry of a directory listing. `held`: whether its name has an exact
// code page 1250 form; `name` is otherwise only fit to be shown.
struct DirectoryEntry {
    std::string name;
    DWORD attributes = 0;
    bool held = true;
};
// Every entry that the pattern ("C:\Gry\*") finds. False when the listing
// cannot be made or finds nothing at all.
bool ListDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries);
// Whether the pattern finds anything at all.
bool MatchesAnything(const std::string& pattern);

// Starts a program from its path with that command line; the process
// inherits this one's environment and current directory. The process's
// handle (the caller closes it), or null when it could not be started.
HANDLE StartProcess(const std::string& path, const std::string& commandLine);
