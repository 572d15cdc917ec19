// The program group in the Start menu: the folder "Kestrel Forge\Jex" under
// the user's Programs folder with shortcuts to the game, to the installer's
// copy and to the configuration program, all in the install directory.
#pragma once

#include <string>

// Makes the group folder and its three shortcuts to the files in
// installPath (cdLetter names the CD for shortcuts to files on it). Returns
// how many of the four (the folder, each shortcut) could not be made; a
// shortcut whose folder could not be made fails too.
int CreateShortcuts(const std::string& installPath, char cdLetter);

// Deletes the three shortcuts, then the group folder and the maker folder
// if they are empty. Reports nothing.
void RemoveShortcuts();
