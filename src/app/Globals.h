// The process-wide values that carry the state between the program's parts.
// Only the GUI thread touches them.
#pragma once

#include <cstdint>

constexpr int kPathBufferSize = 256;

// The CD's root: a lower-case drive letter, a colon and a backslash, or
// empty when no CD was found.
extern char CdRoot[kPathBufferSize];
// The CD's drive letter alone, or empty; always the same letter as CdRoot.
extern char CdLetter[4];
// The target directory (at most 255 characters).
extern char InstallPath[kPathBufferSize];
// The installation kind: 0 partial, non-zero full.
extern int32_t FullInstall;
