// The program group in the Start menu: the folder "Kestrel Forge\Jex" under
// the user's Programs folder with shortcuts to the game, to the installer's
// copy and to the configuration program, all in the install directory.
#pragma once

#include <string>

// Makes the group folder and its three shortcuts to the files in
// installPath (cdLetter names the CD for shortcuts to files on it). Every
// failure is shown to the user here.
void CreateShortcuts(const std::string& installPath, char cdLetter);

// Deletes the three shortcuts, then the group folder and the maker folder
// if they are empty. Reports nothing.
void RemoveShortcuts();

// Saves a shortcut file at linkPath (replacing one that exists) that starts
// target. arguments, workingDir and description may be null. All texts are
// in the ANSI code page. True when the file was saved.
bool CreateShellLink(const char* target, const char* linkPath, const char* arguments,
                     const char* workingDir, const char* description);
