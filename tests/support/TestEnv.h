// Where a test finds the build, the sample CD and a scratch folder, how it
// maps drives of the test prefix, and the files and the registry as they
// are. Paths, names and texts are code page 1250, and reach Windows through
// the "W" functions (support/Cp1250.h).
#pragma once

#include "WineDrives.h"
#include "support/Cp1250.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testenv {

// A variable of the environment, empty when unset.
std::string Env(const char* name);
inline bool SetEnv(const char* name, const std::string& value)
{
    return SetEnvironmentVariableW(cp1250::Wide(name).c_str(), cp1250::Wide(value).c_str());
}

// Linux paths handed over by CTest; a Linux path as Wine's Z: drive shows
// it; the program under test as a Windows path.
inline std::string SampleCdUnix() { return Env("JEX_SAMPLE_CD"); }
inline std::string BuildDirUnix() { return Env("JEX_BUILD_DIR"); }
std::string WindowsPathOf(const std::string& unixPath);
inline std::string InstallExe() { return WindowsPathOf(BuildDirUnix() + "/install.exe"); }

// A fresh, empty folder C:\jextest\NAME of the test prefix.
std::string ScratchDir(const std::string& name);
// Deletes a folder with everything in it; an empty folder; a file.
bool RemoveTree(const std::string& path);
inline bool RemoveDir(const std::string& path) { return RemoveDirectoryW(cp1250::Wide(path).c_str()); }
inline bool RemoveFile(const std::string& path) { return DeleteFileW(cp1250::Wide(path).c_str()); }
// Copies a file over whatever is at `to`.
inline bool CopyFileOver(const std::string& from, const std::string& to)
{
    return CopyFileW(cp1250::Wide(from).c_str(), cp1250::Wide(to).c_str(), FALSE);
}
inline bool ChangeDir(const std::string& path) { return SetCurrentDirectoryW(cp1250::Wide(path).c_str()); }

// Maps the sample CD (or another folder) as a CD-ROM drive, or a folder as
// a drive of any type.
inline bool MapFolder(char letter, const std::string& folder, unsigned type) { return MapWineDrive(letter, folder, type); }
inline bool MapCd(char letter, const std::string& folder = SampleCdUnix())
{
    return MapFolder(letter, folder, DRIVE_CDROM);
}
// Removes every drive letter but c: and z:.
void UnmapAllExtraDrives();

// Reads a whole file (binary); empty when missing.
std::string ReadFileBytes(const std::string& path);
// Writes a whole file (binary), creating it or replacing its contents.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// The attributes of a file or folder; INVALID_FILE_ATTRIBUTES when missing.
inline DWORD Attributes(const std::string& path) { return GetFileAttributesW(cp1250::Wide(path).c_str()); }
inline bool ExistsAs(const std::string& path, bool directory)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) == !directory;
}
inline bool FileExists(const std::string& path) { return ExistsAs(path, false); }
inline bool DirExists(const std::string& path) { return ExistsAs(path, true); }

// Creates a folder with every missing ancestor.
void MakeDirs(const std::string& path);

// The registry as it is, read and written straight through Win32, never
// through the program's own helpers. The registry keeps texts in UTF-16:
// the bytes of a text value here are its code page 1250 form.
struct RegValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::string bytes;
    // The text of a REG_SZ value, or empty.
    std::string Text() const;
    // A REG_DWORD value, or -1.
    long long Number() const;
};
RegValue ReadReg(HKEY root, const std::string& key, const char* name);
bool KeyExists(HKEY root, const std::string& key);
void WriteReg(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes);
inline void WriteRegText(HKEY root, const std::string& key, const char* name, const std::string& text)
{
    WriteReg(root, key, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}
inline void WriteRegNumber(HKEY root, const std::string& key, const char* name, DWORD number)
{
    WriteReg(root, key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4));
}
inline void DeleteRegValue(HKEY root, const std::string& key, const char* name)
{
    RegDeleteKeyValueW(root, cp1250::Wide(key).c_str(), cp1250::Wide(name).c_str());
}
// Deletes a key with everything below it.
void DeleteRegTree(HKEY root, const std::string& key);

// Where the program records an installation.
constexpr char kProductKey[] = "Software\\Kestrel Forge\\Jex";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Jex";
// The user's Start-menu Programs folder, without a trailing backslash, and
// the program's group folder in it.
std::string ProgramsFolder();
inline std::string ShortcutGroup() { return ProgramsFolder() + "\\Kestrel Forge\\Jex"; }
// Removes every trace of an installation: the registry record, the
// Start-menu group and the target folder (when given).
void ForgetInstallation(const std::string& target = std::string());

} // namespace testenv

// An installed game tree made directly on disk, without running the
// installation.
namespace installed {

// Creates target with its missing ancestors, the given directories under it
// and copies of the listed files from the sample CD. False (with the failing
// path in `failed`) when something could not be made.
bool MakeTree(const std::string& target, const char* const* dirs, const char* const* files,
              std::string* failed = nullptr);

// The entries of a table that exist under target.
std::vector<std::string> PresentEntries(const std::string& target, const char* const* table);

// Opens a file without sharing, so no other handle (nor its removal) can
// get at it until Release or the object goes.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool IsHeld() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE m_handle;
};

} // namespace installed
