// Shortcut files, written through the shell's link object.
#pragma once

// Saves a shortcut file at linkPath (replacing one that exists) that starts
// target. arguments, workingDir and description may be null. All texts are
// the program's (code page 1250). True when the file was saved.
bool CreateShellLink(const char* target, const char* linkPath, const char* arguments, const char* workingDir,
                     const char* description);
