// Where the installed game lives, as the registry says, and the default
// target directory. The starts themselves (RunGame, RunConfig, RunIntro)
// are LauncherDialog's and live in ProgramLaunch.cpp.
#pragma once

#include <string>

// Reads the game's directory and executable. Returns true when both are
// registered. Without a registered directory, `directory` gets the default
// target directory and `file` is left as it was.
bool ReadGameLocation(std::string& directory, std::string& file);

// The same with the configuration program in place of the executable.
bool ReadConfigLocation(std::string& directory, std::string& file);

// The default target directory: the system's program-files directory
// followed by "\Kestrel Forge\Jex". Returns false, with `directory` empty, when
// the program-files directory is not registered.
bool DefaultInstallPath(std::string& directory);
