// The record of an installation: the game's configuration file jex.ini in
// the install directory, the product key under HKEY_CURRENT_USER (the
// game's paths, the installation kind and an install counter) and the
// entry in the system's list of removable programs under
// HKEY_LOCAL_MACHINE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The product key, under HKEY_CURRENT_USER.
constexpr char ProductKeyPath[] = "Software\\Kestrel Forge\\Jex";
// The entry in the list of removable programs, under HKEY_LOCAL_MACHINE.
constexpr char UninstallKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Jex";

// Value names.
namespace RegValue {

// Under ProductKeyPath. The game counts as installed once both
// ProgramPath and ProgramExecutable are there; they are written last.
constexpr char ProgramPath[] = "ProgramPath";             // REG_SZ: the install directory
constexpr char ProgramExecutable[] = "ProgramExecutable"; // REG_SZ: the game
constexpr char ProgramConfig[] = "ProgramConfig";         // REG_SZ: its configuration program
// REG_DWORD: 1 for a full installation, 0 for a partial one. A record
// without it (cut off, or made by an earlier version) counts as full, so
// that its removal leaves none of the game's files behind.
constexpr char FullInstall[] = "FullInstall";
constexpr char InstallCount[] = "InstallCount"; // REG_DWORD: install counter
// REG_DWORD, only while a record is being written: the counter of the
// last complete record, which a cut-off writing must not count again.
constexpr char InstallCountBefore[] = "InstallCountBefore";

// Under UninstallKeyPath.
constexpr char DisplayName[] = "DisplayName";         // REG_SZ: "Jex"
constexpr char UninstallString[] = "UninstallString"; // REG_SZ: the CD's install.exe
constexpr char DisplayIcon[] = "DisplayIcon";         // REG_SZ: the installed game
constexpr char Publisher[] = "Publisher";             // REG_SZ
constexpr char DisplayVersion[] = "DisplayVersion";   // REG_SZ
constexpr char InstallLocation[] = "InstallLocation"; // REG_SZ: the install directory
constexpr char EstimatedSize[] = "EstimatedSize";     // REG_DWORD: kilobytes of the kind installed
constexpr char NoModify[] = "NoModify";               // REG_DWORD 1: nothing to change
constexpr char NoRepair[] = "NoRepair";               // REG_DWORD 1: nothing to repair

} // namespace RegValue

// Where the game's configuration file goes.
std::string GameConfigPath(const std::string& installPath);

// Writes the game's configuration file: the same code page 1250 bytes on
// every system, for the game reads them. False when it could not be
// written whole.
bool WriteGameConfig(const std::string& installPath, char cdLetter, bool fullInstall);

// Called before each registry write of the record: false stops the writing
// there, as a power cut would. Only the tests pass one.
using RecordWriteGate = std::function<bool()>;

// Records an installation in installPath from the CD in drive cdLetter,
// `installBytes` large: the product key's values and the uninstall entry.
// What marks the game as installed is written last, so a writing cut off
// anywhere leaves no record that is believed. Writes that fail are
// skipped.
void WriteInstallRecord(const std::string& installPath, char cdLetter, bool fullInstall, uint32_t installBytes,
                        const RecordWriteGate& gate = nullptr);

// Removes the product key and the uninstall entry.
void RemoveInstallRecord();

// The longest install directory whose record can be read back: every
// recorded path must fit the registry readers.
size_t LongestRecordableInstallPath();

// What the record says of the installation: its directory (empty when none
// is recorded) and its kind.
struct RecordedInstallation {
    std::string ProgramPath;
    bool FullInstall = true;
};
RecordedInstallation ReadInstallRecord();
