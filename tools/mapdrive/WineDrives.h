// Maps and unmaps drive letters of the running Wine prefix, the way Wine's
// own configuration tool does it: through the mount manager. The change is
// seen at once by every process of the prefix.
#pragma once

#include <windows.h>

#include <string>

// Maps `letter` (a to z) to a Linux folder as a drive of the given type
// (DRIVE_CDROM, DRIVE_FIXED, DRIVE_REMOTE, DRIVE_REMOVABLE, DRIVE_RAMDISK).
bool MapWineDrive(char letter, const std::string& unixFolder, UINT driveType);

// Removes the drive letter.
bool UnmapWineDrive(char letter);
