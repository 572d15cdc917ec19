// The record of an installation: the product key under HKEY_CURRENT_USER
// (the game's paths, the installation kind and an install counter), the
// entry in the system's list of removable programs under
// HKEY_LOCAL_MACHINE, and the game's configuration file jex.ini in the
// install directory.
#pragma once

#include <cstddef>
#include <string>

// The product key, under HKEY_CURRENT_USER.
constexpr char ProductKeyPath[] = "Software\\Kestrel Forge\\Jex";
// The entry in the list of removable programs, under HKEY_LOCAL_MACHINE.
constexpr char UninstallKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Jex";

// Value names.
namespace RegValue {

// Under ProductKeyPath.
constexpr char ProgramPath[] = "ProgramPath";             // REG_SZ: the install directory
constexpr char ProgramExecutable[] = "ProgramExecutable"; // REG_SZ: the game
constexpr char ProgramConfig[] = "ProgramConfig";         // REG_SZ: its configuration program
// REG_DWORD: 1 for a full installation, 0 for a partial one. A record
// without it was made by an earlier version and counts as partial.
constexpr char FullInstall[] = "FullInstall";
constexpr char InstallCount[] = "InstallCount"; // REG_DWORD: install counter

// Under UninstallKeyPath.
constexpr char DisplayName[] = "DisplayName";         // REG_SZ: "Jex"
constexpr char UninstallString[] = "UninstallString"; // REG_SZ: the CD's install.exe

} // namespace RegValue

// Records an installation in installPath from the CD in drive cdLetter:
// the product key's values, jex.ini and the uninstall entry. Steps that
// fail are skipped.
void WriteInstallRecord(const std::string& installPath, char cdLetter, bool fullInstall);

// Removes the product key and the uninstall entry.
void RemoveInstallRecord();

// The longest install directory whose record can be read back: every
// recorded path must fit the registry readers.
size_t LongestRecordableInstallPath();

// What the record says of the installation: its directory (empty when none
// is recorded) and its kind.
struct RecordedInstallation {
    std::string ProgramPath;
    bool FullInstall = false;
};
RecordedInstallation ReadInstallRecord();
