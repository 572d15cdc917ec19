// The installation in hand: where the CD is, where the game goes and which
// kind of installation it is. The application owns one and hands it to the
// launcher, which passes it to the install and uninstall sequences.
#pragma once

#include <string>

struct InstallState {
    // The CD's drive letter in lower case, or 0 when no CD has been found.
    char CdLetter = '\0';
    // The target directory: the recorded installation's directory, the
    // default one, or what the options dialog last took.
    std::string InstallPath;
    // The kind chosen in the options dialog of this run: full or partial.
    bool FullInstall = false;

    // The CD's root: the letter, a colon and a backslash; empty without a CD.
    std::string CdRoot() const
    {
        return CdLetter ? std::string{CdLetter, ':', '\\'} : std::string();
    }
};
