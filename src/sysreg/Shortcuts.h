// The program group in the Start menu: the folder "Kestrel Forge\Jex" under
// the user's Programs folder with shortcuts to the game, to the installer's
// copy and to the configuration program, all in the install directory.
#pragma once

// Makes the group folder and its three shortcuts for InstallPath. Every
// failure is shown to the user here; always returns true.
bool CreateShortcuts();

// Deletes the three shortcuts, then the group folder and the maker folder
// if they are empty. Reports nothing; always returns true.
bool RemoveShortcuts();

// Saves a shortcut file at linkPath (replacing one that exists) that starts
// target. arguments, workingDir and description may be null. All texts are
// in the ANSI code page. True when the file was saved.
bool CreateShellLink(const char* target, const char* linkPath, const char* arguments,
                     const char* workingDir, const char* description);
