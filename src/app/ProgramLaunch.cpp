#include "app/ProgramLaunch.h"

#include "app/LauncherDialog.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"

#include <direct.h>
#include <process.h>

namespace {

constexpr char kWindowsKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kProgramFilesValue[] = "ProgramFilesDir";
constexpr char kGameFolder[] = "\\Kestrel Forge\\Jex";

bool ReadLocation(const char* fileValue, std::string& directory, std::string& file)
{
    if (!ReadRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramPath, directory)) {
        DefaultInstallPath(directory);
        return false;
    }
    return ReadRegString(HKEY_CURRENT_USER, ProductKeyPath, fileValue, file);
}

// Makes the directory's drive and the directory itself current, then starts
// the program with its path as the whole, unquoted command line. In overlay
// mode this process ends as soon as the program's process exists.
void StartFrom(const std::string& directory, const std::string& file, int mode)
{
    int drive = static_cast<unsigned char>(directory.c_str()[0]);
    if (drive >= 'a' && drive <= 'z')
        drive = drive - 'a' + 1;
    else
        drive -= 64;
    // Failures are ignored; a number beyond A..Z names no drive at all.
    if (drive >= 1 && drive <= 26)
        _chdrive(drive);
    _chdir(directory.c_str());

    const char* argv[] = {file.c_str(), nullptr};
    _spawnv(mode, file.c_str(), argv);
}

} // namespace

bool DefaultInstallPath(std::string& directory)
{
    directory.clear();
    if (!ReadRegString(HKEY_LOCAL_MACHINE, kWindowsKeyPath, kProgramFilesValue, directory))
        return false;
    directory += kGameFolder;
    return true;
}

bool ReadGameLocation(std::string& directory, std::string& file)
{
    return ReadLocation(RegValue::ProgramExecutable, directory, file);
}

bool ReadConfigLocation(std::string& directory, std::string& file)
{
    return ReadLocation(RegValue::ProgramConfig, directory, file);
}

void LauncherDialog::RunGame()
{
    if (!ReadGameLocation(m_strProgramDir, m_strProgramFile))
        return;
    // On success the game runs alone from here: this process is gone.
    StartFrom(m_strProgramDir, m_strProgramFile, _P_OVERLAY);
}

void LauncherDialog::RunConfig()
{
    if (!ReadConfigLocation(m_strProgramDir, m_strProgramFile))
        return;
    // The launcher does not respond until the configuration program ends.
    StartFrom(m_strProgramDir, m_strProgramFile, _P_WAIT);
}

void LauncherDialog::RunIntro()
{
    if (!EnsureCd())
        return;
    char path[128] = "f:\\intro.exe";
    path[0] = m_state.CdLetter;
    const char* argv[] = {path, nullptr};
    _spawnv(_P_WAIT, path, argv);
}
