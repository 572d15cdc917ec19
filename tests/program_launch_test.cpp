#include "app/ProgramLaunch.h"

#include "support/TestEnv.h"
#include "support/UiDriver.h"
#include "sysreg/Registry.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const char kLauncherCaption[] = "Jex - Program instalacyjny";
const char kProductKey[] = "Software\\Kestrel Forge\\Jex";
const char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// One line a stand-in wrote.
struct StandinRun {
    std::string name, event;
    unsigned long long timeMs = 0;
    std::string directory, commandLine;
};

std::vector<StandinRun> ReadStandinLog(const std::string& path)
{
    std::vector<StandinRun> runs;
    std::istringstream lines(testenv::ReadFileBytes(path));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '\t'))
            fields.push_back(field);
        if (fields.size() < 4)
            continue;
        StandinRun run;
        run.name = fields[0];
        run.event = fields[1];
        run.timeMs = std::stoull(fields[2]);
        if (fields.size() >= 6) {
            run.directory = fields[4];
            run.commandLine = fields[5];
        }
        runs.push_back(run);
    }
    return runs;
}

// Waits (bounded) for a line of that program and event.
bool WaitForRun(const std::string& log, const std::string& name, const std::string& event, StandinRun* found,
                DWORD timeoutMs = 15000)
{
    DWORD start = GetTickCount();
    for (;;) {
        for (const StandinRun& run : ReadStandinLog(log)) {
            if (run.name == name && run.event == event) {
                *found = run;
                return true;
            }
        }
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

unsigned long long NowMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// A game folder with spaces in its path on drive M:, holding the game's
// and the configuration program's stand-ins; the stand-ins log to a file of
// the test's own. Everything is put back at the end.
class ProgramLaunch : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::UnmapAllExtraDrives();
        DeleteRegKeyTree(HKEY_CURRENT_USER, kProductKey);
        m_work = testenv::ScratchDir("launch");
        m_log = m_work + "\\standin.log";
        SetEnvironmentVariableA("JEX_STANDIN_LOG", m_log.c_str());
        SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", "2500");

        m_driveRoot = testenv::BuildDirUnix() + "/launch-drive-m";
        std::string rootWin = testenv::WindowsPathOf(m_driveRoot);
        testenv::RemoveTree(rootWin);
        CreateDirectoryA(rootWin.c_str(), nullptr);
        CreateDirectoryA((rootWin + "\\Gry Kestrel").c_str(), nullptr);
        CreateDirectoryA((rootWin + "\\Gry Kestrel\\Jex Gra").c_str(), nullptr);
        std::string standins = testenv::WindowsPathOf(testenv::BuildDirUnix() + "/standins");
        std::string game = rootWin + "\\Gry Kestrel\\Jex Gra";
        ASSERT_TRUE(CopyFileA((standins + "\\JEX.EXE").c_str(), (game + "\\JEX.EXE").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((standins + "\\JEXSETUP.EXE").c_str(), (game + "\\JEXSETUP.EXE").c_str(), FALSE));
        ASSERT_TRUE(testenv::MapFolder('m', m_driveRoot, DRIVE_FIXED));
    }
    void TearDown() override
    {
        m_process.Kill();
        for (const char* name : {"JEX.EXE", "JEXSETUP.EXE", "intro.exe"}) {
            if (HWND window = ui::FindTopWindow(name, "JexStandin"))
                PostMessageA(window, WM_CLOSE, 0, 0);
        }
        Sleep(300);
        SetEnvironmentVariableA("JEX_STANDIN_LOG", nullptr);
        SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", nullptr);
        DeleteRegKeyTree(HKEY_CURRENT_USER, kProductKey);
        testenv::UnmapAllExtraDrives();
        testenv::RemoveTree(testenv::WindowsPathOf(m_driveRoot));
        testenv::RemoveTree(m_work);
    }

    void RegisterGame(const std::string& directory)
    {
        WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramPath", directory);
        WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "M:\\Gry Kestrel\\Jex Gra\\JEX.EXE");
        WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", "M:\\Gry Kestrel\\Jex Gra\\JEXSETUP.EXE");
    }

    HWND StartLauncher()
    {
        if (!m_process.Start(testenv::InstallExe(), m_work))
            return nullptr;
        return ui::WaitForWindow(kLauncherCaption);
    }

    std::string m_work, m_log, m_driveRoot;
    ui::Process m_process;
};

TEST_F(ProgramLaunch, GameReplacesTheLauncherInItsOwnFolder)
{
    // A lower-case drive letter in the registered directory.
    RegisterGame("m:\\Gry Kestrel\\Jex Gra");
    HWND launcher = StartLauncher();
    ASSERT_NE(nullptr, launcher);
    ASSERT_TRUE(ui::IsItemEnabled(launcher, IDC_GAME));

    ASSERT_TRUE(ui::ClickItem(launcher, IDC_GAME));
    EXPECT_EQ(0, m_process.WaitForExit());
    // The launcher was gone while the game still ran.
    StandinRun run;
    EXPECT_FALSE(WaitForRun(m_log, "JEX.EXE", "end", &run, 0));
    ASSERT_TRUE(WaitForRun(m_log, "JEX.EXE", "start", &run));
    EXPECT_TRUE(SameFolder("M:\\Gry Kestrel\\Jex Gra", run.directory)) << run.directory;
    // The path alone, unquoted, spaces and all.
    EXPECT_EQ("M:\\Gry Kestrel\\Jex Gra\\JEX.EXE", run.commandLine);
    EXPECT_TRUE(WaitForRun(m_log, "JEX.EXE", "end", &run));
}

TEST_F(ProgramLaunch, ConfigurationProgramIsWaitedFor)
{
    RegisterGame("M:\\Gry Kestrel\\Jex Gra");
    HWND launcher = StartLauncher();
    ASSERT_NE(nullptr, launcher);

    ASSERT_TRUE(ui::ClickItem(launcher, IDC_CONFIG));
    StandinRun started;
    ASSERT_TRUE(WaitForRun(m_log, "JEXSETUP.EXE", "start", &started));
    EXPECT_TRUE(SameFolder("M:\\Gry Kestrel\\Jex Gra", started.directory)) << started.directory;
    EXPECT_EQ("M:\\Gry Kestrel\\Jex Gra\\JEXSETUP.EXE", started.commandLine);
    // While it runs, the launcher does not answer.
    EXPECT_FALSE(ui::IsResponding(launcher));

    ASSERT_TRUE(ui::WaitUntilResponding(launcher));
    unsigned long long answered = NowMs();
    StandinRun ended;
    ASSERT_TRUE(WaitForRun(m_log, "JEXSETUP.EXE", "end", &ended, 0)) << "the launcher answered before the end";
    EXPECT_LE(ended.timeMs, answered);
    EXPECT_TRUE(m_process.IsRunning());
    // Back in the launcher, which still closes normally once it is live again.
    ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowEnabled(launcher) != FALSE; }));
    ASSERT_TRUE(ui::ClickItem(launcher, IDOK));
    EXPECT_NE(-1, m_process.WaitForExit());
}

TEST_F(ProgramLaunch, NothingStartsWithoutTheRegisteredProgram)
{
    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "M:\\Gry Kestrel\\Jex Gra");
    HWND launcher = StartLauncher();
    ASSERT_NE(nullptr, launcher);
    EXPECT_FALSE(ui::IsItemEnabled(launcher, IDC_GAME));
    EXPECT_FALSE(ui::IsItemEnabled(launcher, IDC_CONFIG));

    // A registered executable that is not there: the start fails silently.
    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", "M:\\Gry Kestrel\\Jex Gra\\brak.exe");
    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "M:\\Gry Kestrel\\Jex Gra\\brak.exe");
    m_process.Kill();
    launcher = StartLauncher();
    ASSERT_NE(nullptr, launcher);
    ASSERT_TRUE(ui::ClickItem(launcher, IDC_GAME));
    ASSERT_TRUE(ui::ClickItem(launcher, IDC_CONFIG));
    Sleep(1000);
    EXPECT_TRUE(ui::WaitUntilResponding(launcher));
    EXPECT_TRUE(m_process.IsRunning());
    EXPECT_TRUE(ReadStandinLog(m_log).empty());
}

TEST_F(ProgramLaunch, IntroStartsFromTheCdFoundLastWithoutChangingFolder)
{
    ASSERT_TRUE(testenv::MapCd('e'));
    HWND launcher = StartLauncher();
    ASSERT_NE(nullptr, launcher);
    ASSERT_TRUE(ui::ClickItem(launcher, IDC_INTRO));
    StandinRun run;
    ASSERT_TRUE(WaitForRun(m_log, "intro.exe", "start", &run));
    EXPECT_EQ("e:\\intro.exe", run.commandLine);
    EXPECT_TRUE(SameFolder(m_work, run.directory)) << run.directory;
    EXPECT_FALSE(ui::IsResponding(launcher));
    EXPECT_TRUE(ui::WaitUntilResponding(launcher));
    EXPECT_TRUE(WaitForRun(m_log, "intro.exe", "end", &run, 0));
}

TEST_F(ProgramLaunch, IntroWithoutCdAsksForItAndRetries)
{
    HWND launcher = StartLauncher();
    ASSERT_NE(nullptr, launcher);

    // Cancel: back to the launcher, nothing started.
    ASSERT_TRUE(ui::ClickItem(launcher, IDC_INTRO));
    ui::MessageBoxSeen box = ui::WaitForMessageBox("Program Instalacyjny");
    ASSERT_NE(nullptr, box.window) << "no box \"Program Instalacyjny\"";
    EXPECT_EQ("Nie można odnaleźć CD-ROM'u - JEX", box.text);
    EXPECT_NE(nullptr, GetDlgItem(box.window, IDRETRY));
    EXPECT_NE(nullptr, GetDlgItem(box.window, IDCANCEL));
    EXPECT_EQ(launcher, GetWindow(box.window, GW_OWNER));
    ui::ClickItem(box.window, IDCANCEL);
    ASSERT_TRUE(ui::WaitForWindowGone(box.window));
    EXPECT_TRUE(ui::WaitUntilResponding(launcher));
    EXPECT_TRUE(ReadStandinLog(m_log).empty());

    // Retry with still no CD asks again; with the CD in F: it starts the intro.
    ASSERT_TRUE(ui::ClickItem(launcher, IDC_INTRO));
    ASSERT_NE(nullptr, ui::AnswerMessageBox("Program Instalacyjny", IDRETRY).window);
    box = ui::WaitForMessageBox("Program Instalacyjny");
    ASSERT_NE(nullptr, box.window);
    ASSERT_TRUE(testenv::MapCd('f'));
    ui::ClickItem(box.window, IDRETRY);
    StandinRun run;
    ASSERT_TRUE(WaitForRun(m_log, "intro.exe", "start", &run));
    EXPECT_EQ("f:\\intro.exe", run.commandLine);
}

// The registry reads, in this process.
TEST_F(ProgramLaunch, LocationReadsFollowTheRegisteredValues)
{
    std::string programFiles;
    bool hadProgramFiles = ReadRegString(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", programFiles);
    WriteRegString(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", "C:\\Programy");

    std::string directory = "old", file = "old file";
    EXPECT_FALSE(ReadGameLocation(directory, file));
    EXPECT_EQ("C:\\Programy\\Kestrel Forge\\Jex", directory);
    EXPECT_EQ("old file", file);

    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "M:\\Gry");
    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", "M:\\Gry\\jexsetup.exe");
    EXPECT_FALSE(ReadGameLocation(directory, file));
    EXPECT_EQ("M:\\Gry", directory);
    EXPECT_TRUE(ReadConfigLocation(directory, file));
    EXPECT_EQ("M:\\Gry\\jexsetup.exe", file);
    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "M:\\Gry\\jex.exe");
    EXPECT_TRUE(ReadGameLocation(directory, file));
    EXPECT_EQ("M:\\Gry\\jex.exe", file);

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWindowsKey, 0, KEY_SET_VALUE, &key));
    RegDeleteValueA(key, "ProgramFilesDir");
    RegCloseKey(key);
    directory = "old";
    EXPECT_FALSE(DefaultInstallPath(directory));
    EXPECT_EQ("", directory);

    if (hadProgramFiles)
        WriteRegString(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", programFiles);
}

} // namespace
