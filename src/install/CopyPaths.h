// Path helpers shared by the copy engine and the removal: a path seen as a
// sequence of backslash-separated components after its drive.
#pragma once

#include <string>

// The number of components of a path after its drive: the default target
// "C:\Program Files\Kestrel Forge\Jex" has 3, "C:\" has 1, a trailing backslash adds one
// (empty) component, and a null or empty path has 0.
int CountPathComponents(const char* path);

// The path up to, not including, its (n+1)-th backslash, or the whole path
// when it has fewer; n counts from 1. For the default target the prefixes
// 1, 2 and 3 are "C:\Program Files", "C:\Program Files\Kestrel Forge" and the
// whole path. Built without a length limit.
std::string PathPrefix(const char* path, int n);

// A target path: the root, one backslash and the manifest entry. Built
// without a length limit, so a long root never turns into some other path.
std::string JoinPath(const char* root, const char* entry);
