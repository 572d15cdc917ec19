// The one form a target directory may take: a drive letter, a colon, a
// backslash and at least one directory name, each name one that Windows
// can make, the whole short enough for every path built under it.
#pragma once

#include <cstddef>
#include <string>

// Whether the path is a directory on a drive, "X:\dir..." (of any length).
bool IsDirectoryOnDrive(const std::string& path);

// What is wrong with a target directory, in words for the user that also
// say which form is expected; empty when the target will do. `held` says
// whether the path as the user gave it has a code page 1250 form at all
// (`path` is otherwise only its form to show): the program makes no
// directory it cannot name.
std::string TargetPathProblem(const std::string& path, size_t maxLength, bool held = true);
