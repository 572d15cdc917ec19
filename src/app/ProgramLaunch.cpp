#include "app/ProgramLaunch.h"

#include "app/LauncherDialog.h"
#include "fw/Files.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"

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

// How the launcher goes on once a program has started.
enum class Then { Wait, End };

// Starts the program with its path as the whole, unquoted command line, in
// the launcher's current directory. Waits for its end, or ends this
// process (with exit code 0) as soon as the program's process exists. A
// program that cannot be started is not reported.
void Start(const std::string& file, Then then)
{
    HANDLE process = StartProcess(file, file);
    if (!process)
        return;
    if (then == Then::End)
        ExitProcess(0);
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
}

// Makes the directory's drive and the directory itself current, then starts
// the program.
void StartFrom(const std::string& directory, const std::string& file, Then then)
{
    int drive = static_cast<unsigned char>(directory.c_str()[0]);
    if (drive >= 'a' && drive <= 'z')
        drive = drive - 'a' + 1;
    else
        drive -= 64;
    // Failures are ignored; a number beyond A..Z names no drive at all.
    if (drive >= 1 && drive <= 26)
        ChangeCurrentDirectory({static_cast<char>('A' + drive - 1), ':'});
    ChangeCurrentDirectory(directory);
    Start(file, then);
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
    StartFrom(m_strProgramDir, m_strProgramFile, Then::End);
}

void LauncherDialog::RunConfig()
{
    if (!ReadConfigLocation(m_strProgramDir, m_strProgramFile))
        return;
    // The launcher does not respond until the configuration program ends.
    StartFrom(m_strProgramDir, m_strProgramFile, Then::Wait);
}

void LauncherDialog::RunIntro()
{
    if (!EnsureCd())
        return;
    std::string path = "f:\\intro.exe";
    path[0] = m_state.CdLetter;
    Start(path, Then::Wait);
}
