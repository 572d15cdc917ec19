// Installations driven through the real install.exe from the small sample
// CD, as a person would: launcher, options dialog, copy, closing questions.
#include "install/InstallManifest.h"
#include "install/InstallSequence.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace install_driver;

constexpr char kDefaultTarget[] = "C:\\Program Files\\Kestrel Forge\\Jex";
constexpr char kStopped[] = "Instalacja programu została przerwana.";
constexpr char kFailed[] = "Wystąpił błąd przy instalacji programu.";
constexpr char kNoSpace[] = "Zbyt mało miejsca na dysku";
constexpr DWORD kAbsentMs = 1500;

std::string CdFile(const std::string& entry)
{
    return testenv::WindowsPathOf(testenv::SampleCdUnix()) + "\\" + entry;
}

class InstallE2ETest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::UnmapAllExtraDrives();
        ASSERT_TRUE(testenv::MapCd('d'));
        m_target = testenv::ScratchDir("install-target");
        testenv::RemoveTree(m_target);
        ForgetInstallation(kDefaultTarget);
    }

    void TearDown() override
    {
        if (m_process.IsRunning())
            m_process.Kill();
        for (const auto& moved : m_moved)
            MoveFileA((moved + ".away").c_str(), moved.c_str());
        ForgetInstallation(m_target);
        testenv::RemoveTree(kDefaultTarget);
        testenv::UnmapAllExtraDrives();
        testenv::MapCd('d');
    }

    HWND Start()
    {
        m_launcher = StartLauncher(m_process);
        return m_launcher;
    }

    // Takes a file off the CD until the end of the test.
    void HideCdFile(const std::string& entry)
    {
        std::string path = CdFile(entry);
        ASSERT_TRUE(MoveFileA(path.c_str(), (path + ".away").c_str()));
        m_moved.push_back(path);
    }
    void RestoreCdFile(const std::string& entry)
    {
        std::string path = CdFile(entry);
        MoveFileA((path + ".away").c_str(), path.c_str());
        std::erase(m_moved, path);
    }

    void ExpectInstalledTree(const char* const* files)
    {
        for (const char* const* dir = ManifestDirectories; *dir; ++dir)
            EXPECT_TRUE(testenv::DirExists(m_target + "\\" + *dir)) << *dir;
        for (const char* const* file = files; *file; ++file) {
            EXPECT_EQ(testenv::ReadFileBytes(CdFile(*file)),
                      testenv::ReadFileBytes(m_target + "\\" + *file))
                << *file;
            EXPECT_TRUE(testenv::FileExists(m_target + "\\" + *file)) << *file;
        }
    }

    void ExpectButtonsLive(bool live)
    {
        for (int id : {IDC_UNINSTALL, IDC_CONFIG, IDC_GAME})
            EXPECT_EQ(live, ui::IsItemEnabled(m_launcher, id)) << id;
        for (int id : {IDC_INSTALL, IDC_INTRO, IDOK})
            EXPECT_TRUE(ui::IsItemEnabled(m_launcher, id)) << id;
    }

    bool NothingRecorded()
    {
        return ReadString(HKEY_CURRENT_USER, kProductKey, "ProgramPath").empty() &&
               !testenv::FileExists(ShortcutGroup() + "Jex.lnk");
    }

    ui::Process m_process;
    HWND m_launcher = nullptr;
    std::string m_target;
    std::vector<std::string> m_moved;
};

TEST_F(InstallE2ETest, PartialInstallationFromDefaultsToTheEnd)
{
    ASSERT_TRUE(Start());
    ExpectButtonsLive(false);
    ASSERT_TRUE(PressInstall(m_launcher));
    HWND options = WaitForOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(BST_CHECKED, ui::GetItemCheck(options, IDC_OPTIONS_PARTIAL));
    EXPECT_EQ(BST_UNCHECKED, ui::GetItemCheck(options, IDC_OPTIONS_FULL));
    EXPECT_EQ(kDefaultTarget, ui::GetItemText(options, IDC_OPTIONS_TARGET));
    ASSERT_TRUE(ConfirmOptions(options, m_target, false));

    std::string text;
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO, &text)) << text;
    EXPECT_TRUE(ui::WaitForWindowGone(FindCopyProgress()));

    ExpectInstalledTree(PartialFiles);
    EXPECT_FALSE(testenv::FileExists(m_target + "\\" + FullFiles[11]));
    for (const char* link : {"Jex.lnk", "Program instalacyjny.lnk", "Program konfiguracyjny.lnk"})
        EXPECT_TRUE(testenv::FileExists(ShortcutGroup() + link)) << link;
    EXPECT_EQ(m_target, ReadString(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
    EXPECT_EQ("d:\\install.exe", ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ("[]\r\n\r\n[/CONFIG_CATEGORY_USER]\r\n\r\n[/CONFIG_CATEGORY_USER/Instalation]\r\n"
              "\"instalation type\"=dword:00000001\r\n\"cd path\"=string:\"d:\\\"\r\n\r\n",
              testenv::ReadFileBytes(m_target + "\\jex.ini"));

    // Back at the launcher, refreshed: every button is live.
    ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowEnabled(m_launcher) != FALSE; }));
    ExpectButtonsLive(true);
    ASSERT_TRUE(ui::ClickItem(m_launcher, IDOK));
    EXPECT_NE(-1, m_process.WaitForExit());
}

TEST_F(InstallE2ETest, FullInstallationThenYesToTheGameEndsTheProgram)
{
    // The game's stand-in records its start and ends by itself.
    const std::string log = testenv::ScratchDir("install-game-log") + "\\standin.log";
    SetEnvironmentVariableA("JEX_STANDIN_LOG", log.c_str());
    SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", "1500");
    ASSERT_TRUE(Start());
    SetEnvironmentVariableA("JEX_STANDIN_LOG", nullptr);
    SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", nullptr);
    ASSERT_TRUE(BeginInstall(m_launcher, m_target, true));
    std::string text;
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDYES, &text)) << text;
    EXPECT_NE(-1, m_process.WaitForExit()) << "the launcher should end as the game starts";
    EXPECT_TRUE(ui::WaitUntil([&] { return testenv::ReadFileBytes(log).find("\tstart\t") != std::string::npos; }))
        << log;
    // The game runs from the target: let it end before the target goes.
    EXPECT_TRUE(ui::WaitUntil([&] { return testenv::ReadFileBytes(log).find("\tend\t") != std::string::npos; }));
    ExpectInstalledTree(FullFiles);
    EXPECT_EQ(119, CountEntries(FullFiles));
    EXPECT_NE(std::string::npos, testenv::ReadFileBytes(m_target + "\\jex.ini")
                                     .find("\"instalation type\"=dword:00000000\r\n"));
}

TEST_F(InstallE2ETest, NoCdCancelThenRetryAfterTheCdArrives)
{
    testenv::UnmapAllExtraDrives();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PressInstall(m_launcher));
    ui::MessageBoxSeen box = ui::AnswerMessageBox(kLauncherBoxCaption, IDCANCEL);
    EXPECT_EQ("Nie można odnaleźć CD-ROM'u - JEX", box.text);
    EXPECT_FALSE(WaitForOptions(kAbsentMs));
    EXPECT_FALSE(ui::WaitForMessageBox(kAppTitle, kAbsentMs).window) << "a silent end";
    ExpectButtonsLive(false);

    ASSERT_TRUE(PressInstall(m_launcher));
    box = ui::AnswerMessageBox(kLauncherBoxCaption, IDRETRY);
    EXPECT_EQ("Nie można odnaleźć CD-ROM'u - JEX", box.text);
    // Asked again while there is still no CD; the CD arrives meanwhile.
    box = ui::WaitForMessageBox(kLauncherBoxCaption);
    EXPECT_EQ("Nie można odnaleźć CD-ROM'u - JEX", box.text) << "still no CD";
    ASSERT_TRUE(testenv::MapCd('e'));
    ui::ClickItem(box.window, IDRETRY);
    ASSERT_TRUE(ConfirmOptions(WaitForOptions(), m_target, false));
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO));
    EXPECT_EQ("e:\\install.exe", ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
}

TEST_F(InstallE2ETest, AlreadyInstalledCancelInstallsNothing)
{
    const std::string recorded = m_target + "-recorded";
    RecordInstallation(recorded);
    ASSERT_TRUE(Start());
    ExpectButtonsLive(true);
    ASSERT_TRUE(PressInstall(m_launcher));
    ui::MessageBoxSeen box = ui::AnswerMessageBox(kLauncherBoxCaption, IDCANCEL);
    EXPECT_EQ("Program już jest zainstalowany w systemie.\nCzy chcesz kontynuować ?", box.text);
    EXPECT_FALSE(WaitForOptions(kAbsentMs));
    EXPECT_FALSE(testenv::DirExists(recorded));
    ExpectButtonsLive(true);

    // OK goes on to the options, which show the recorded directory;
    // cancelling them stops the installation.
    ASSERT_TRUE(PressInstall(m_launcher));
    ui::AnswerMessageBox(kLauncherBoxCaption, IDOK);
    HWND options = WaitForOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(recorded, ui::GetItemText(options, IDC_OPTIONS_TARGET));
    ui::ClickItem(options, IDCANCEL);
    box = ui::AnswerMessageBox(kAppTitle, IDOK);
    EXPECT_EQ(kStopped, box.text);
    EXPECT_FALSE(testenv::DirExists(recorded));
    ForgetInstallation(recorded);
}

TEST_F(InstallE2ETest, ExistingFilesEachAnswer)
{
    CreateDirectoryA(m_target.c_str(), nullptr);
    CreateDirectoryA((m_target + "\\DATA").c_str(), nullptr);
    const char* existing[] = {"DATA\\ART_H.DAT", "DATA\\ART_L.DAT", "DATA\\OBJECTS.DAT",
                              "DATA\\SFX.DAT", "JEX.EXE", "DOS4GW.EXE"};
    for (const char* entry : existing) {
        HANDLE file = CreateFileA((m_target + "\\" + entry).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "old", 3, &written, nullptr);
        CloseHandle(file);
    }
    ASSERT_TRUE(Start());
    ASSERT_TRUE(BeginInstall(m_launcher, m_target, false));
    // Tak, Escape, Nie, Tak na wszystkie; the rest without a question.
    const int answers[] = {IDC_OVERWRITE_YES, 0, IDC_OVERWRITE_NO, IDC_OVERWRITE_YES_ALL};
    for (int i = 0; i < 4; ++i) {
        HWND question = WaitForOverwriteQuestion();
        ASSERT_TRUE(question) << "question " << i;
        EXPECT_EQ("Plik o nazwie '" + m_target + "\\" + existing[i] + "' już istnieje.",
                  ui::GetItemText(question, IDC_OVERWRITE_MESSAGE));
        if (answers[i])
            ui::ClickItem(question, answers[i]);
        else
            ui::PressKey(GetDlgItem(question, IDC_OVERWRITE_YES), VK_ESCAPE);
        ASSERT_TRUE(ui::WaitForWindowGone(question));
    }
    std::string text;
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO, &text)) << text;
    auto installed = [&](const char* entry) { return testenv::ReadFileBytes(m_target + "\\" + entry); };
    EXPECT_EQ(testenv::ReadFileBytes(CdFile(existing[0])), installed(existing[0]));
    EXPECT_EQ("old", installed(existing[1]));
    EXPECT_EQ("old", installed(existing[2]));
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(testenv::ReadFileBytes(CdFile(existing[i])), installed(existing[i])) << existing[i];
}

TEST_F(InstallE2ETest, MissingSourceRetryAfterRestoringCompletes)
{
    HideCdFile("DATA\\SFX.DAT");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(BeginInstall(m_launcher, m_target, false));
    EXPECT_EQ("Błąd przy otwieraniu pliku 'd:\\DATA\\SFX.DAT'",
              ui::AnswerMessageBox(kAppTitle, IDRETRY).text);
    EXPECT_EQ("Błąd przy otwieraniu pliku 'd:\\DATA\\SFX.DAT'",
              ui::AnswerMessageBox(kAppTitle, IDCANCEL).text);
    EXPECT_EQ("Błąd przy kopiowaniu pliku 'DATA\\SFX.DAT'",
              ui::WaitForMessageBox(kAppTitle).text);
    // The copy window stays meanwhile, on the file that failed.
    HWND progress = FindCopyProgress();
    ASSERT_TRUE(progress);
    EXPECT_EQ("DATA\\SFX.DAT", ui::GetItemText(progress, IDC_COPY_FILE_NAME));
    EXPECT_EQ("Kopiowanie plików do katalogu \n'" + m_target + "'",
              ui::GetItemText(progress, IDC_COPY_DESCRIPTION));
    RestoreCdFile("DATA\\SFX.DAT");
    ui::AnswerMessageBox(kAppTitle, IDRETRY);
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO));
    ExpectInstalledTree(PartialFiles);
}

TEST_F(InstallE2ETest, CancelledCopyReportsFailureAndRecordsNothing)
{
    HideCdFile("JEX.EXE");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(BeginInstall(m_launcher, m_target, false));
    EXPECT_EQ("Błąd przy otwieraniu pliku 'd:\\JEX.EXE'",
              ui::AnswerMessageBox(kAppTitle, IDCANCEL).text);
    EXPECT_EQ("Błąd przy kopiowaniu pliku 'JEX.EXE'", ui::AnswerMessageBox(kAppTitle, IDCANCEL).text);
    EXPECT_EQ(kFailed, ui::AnswerMessageBox(kAppTitle, IDOK).text);
    EXPECT_TRUE(ui::WaitForWindowGone(FindCopyProgress()));
    EXPECT_FALSE(FindCopyProgress());
    // What was copied before stays; nothing is recorded.
    EXPECT_TRUE(testenv::FileExists(m_target + "\\JEXSETUP.EXE"));
    EXPECT_FALSE(testenv::FileExists(m_target + "\\JEX.ICO"));
    EXPECT_TRUE(NothingRecorded());
    ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowEnabled(m_launcher) != FALSE; }));
    ExpectButtonsLive(false);
}

TEST_F(InstallE2ETest, OneOperationAtATime)
{
    // Installed once, then installed again over it. At every question of
    // the second installation, clicks and keys arrive for the launcher's
    // install and uninstall buttons; none of them may start anything.
    ASSERT_TRUE(Start());
    ASSERT_TRUE(BeginInstall(m_launcher, m_target, false));
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO));
    ASSERT_TRUE(PressLauncherButton(m_launcher, IDC_INSTALL));
    auto knock = [&] {
        EXPECT_FALSE(IsWindowEnabled(m_launcher)) << "the launcher is live during an operation";
        for (int id : {IDC_INSTALL, IDC_UNINSTALL}) {
            HWND button = GetDlgItem(m_launcher, id);
            PostMessageA(button, BM_CLICK, 0, 0);
            PostMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
            PostMessageA(button, WM_KEYUP, VK_SPACE, 0);
            PostMessageA(m_launcher, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        }
    };
    ui::MessageBoxSeen box = ui::WaitForMessageBox(kLauncherBoxCaption);
    ASSERT_EQ("Program już jest zainstalowany w systemie.\nCzy chcesz kontynuować ?", box.text);
    knock();
    ui::ClickItem(box.window, IDOK);
    HWND options = WaitForOptions();
    ASSERT_TRUE(options);
    knock();
    ASSERT_TRUE(ConfirmOptions(options, m_target, false));
    HWND question = WaitForOverwriteQuestion();
    ASSERT_TRUE(question);
    knock();
    ui::ClickItem(question, IDC_OVERWRITE_YES_ALL);
    box = ui::WaitForMessageBox(kAppTitle);
    ASSERT_EQ(kDoneQuestion, box.text);
    knock();
    ui::ClickItem(box.window, IDNO);
    ASSERT_TRUE(ui::WaitForWindowGone(box.window));
    box = ui::WaitForMessageBox(kAppTitle);
    ASSERT_EQ(kGameQuestion, box.text);
    ui::ClickItem(box.window, IDNO);
    ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowEnabled(m_launcher) != FALSE; }));
    // Nothing nested came up, and nothing was kept for later.
    EXPECT_EQ(nullptr, ui::WaitForMessageBox(kAppTitle, kAbsentMs).window);
    EXPECT_EQ(nullptr, WaitForOptions(0));
    ExpectInstalledTree(PartialFiles);
    EXPECT_EQ(m_target, ReadString(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
}

// The install sequence in this process, with its copy window refused by
// the system: the failure is reported and nothing is made.
class NoWindowHost : public OperationHost {
public:
    HWND OwnerWindow() const override { return nullptr; }
    int ShowMessage(const char* text, UINT type) override { return MessageBoxA(nullptr, text, "", type); }
    bool IsInstalled() const override { return false; }
    bool EnsureCd() override { return true; }
    void RunConfig() override {}
    void RunGame() override {}
    void RefreshInstallState() override {}
};

LRESULT CALLBACK RefuseCopyWindow(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (create->lpszName && HIWORD(reinterpret_cast<UINT_PTR>(create->lpszName)) &&
            std::string(create->lpszName) == kCopyCaption)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(InstallE2ETest, CopyWindowThatCannotBeMadeChangesNothing)
{
    InstallState state;
    state.CdLetter = 'd';
    state.InstallPath = m_target;
    std::thread person([] {
        if (HWND options = WaitForOptions())
            ui::ClickItem(options, IDOK);
    });
    ui::MessageBoxWatcher boxes(kAppTitle);
    HHOOK hook = SetWindowsHookExA(WH_CBT, &RefuseCopyWindow, nullptr, GetCurrentThreadId());
    NoWindowHost host;
    RunInstall(state, host);
    UnhookWindowsHookEx(hook);
    person.join();
    EXPECT_EQ(std::vector<std::string>{kFailed}, boxes.Texts());
    EXPECT_FALSE(testenv::DirExists(m_target));
    EXPECT_TRUE(NothingRecorded());
}

// Runs only under tests/small-disk-test. It mounts a small disk as
// JEX_SMALL_DISK, with room for the partial installation but not the full
// one, and a CD as JEX_BIG_CD whose DATA\ART_H.DAT is larger than what the
// disk has free once a filler is on it: the disk fills inside that file.
TEST_F(InstallE2ETest, DISABLED_SmallDiskFillsInsideAFileAndRetryCompletesIt)
{
    const char* disk = std::getenv("JEX_SMALL_DISK");
    const char* bigCd = std::getenv("JEX_BIG_CD");
    if (!disk || !bigCd)
        GTEST_SKIP() << "needs the disk and the CD of tests/small-disk-test";
    testenv::UnmapAllExtraDrives();
    ASSERT_TRUE(testenv::MapCd('d', bigCd));
    ASSERT_TRUE(testenv::MapFolder('s', disk, DRIVE_FIXED));
    const std::string cdArt = testenv::WindowsPathOf(bigCd) + "\\DATA\\ART_H.DAT";
    const std::string target = "s:\\Gry\\Jex";

    // Leave room for the partial kind's total and a little more, less than
    // the big file needs.
    ULARGE_INTEGER free = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA("s:\\", &free, nullptr, nullptr));
    const uint64_t keep = PartialInstallBytes + 2 * 1024 * 1024;
    ASSERT_GT(free.QuadPart, keep);
    const std::string filler = "s:\\filler.bin";
    ASSERT_TRUE(testenv::WriteFileBytes(filler, std::string(static_cast<size_t>(free.QuadPart - keep), 'f')));

    ASSERT_TRUE(Start());
    // The full kind does not fit; the partial one does.
    ASSERT_TRUE(BeginInstall(m_launcher, target, true));
    EXPECT_EQ(kNoSpace, ui::AnswerMessageBox(kLauncherBoxCaption, IDOK).text);
    HWND options = WaitForOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(target, ui::GetItemText(options, IDC_OPTIONS_TARGET));
    EXPECT_EQ(BST_CHECKED, ui::GetItemCheck(options, IDC_OPTIONS_FULL));
    ASSERT_TRUE(ConfirmOptions(options, target, false));

    ui::MessageBoxSeen full = ui::WaitForMessageBox(kAppTitle, 120000);
    ASSERT_EQ("Błąd przy zapisie do pliku '" + target + "\\DATA\\ART_H.DAT'", full.text);
    ASSERT_TRUE(DeleteFileA(filler.c_str()));
    ui::ClickItem(full.window, IDRETRY);
    std::string text;
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO, &text)) << text;
    EXPECT_TRUE(testenv::ReadFileBytes(cdArt) == testenv::ReadFileBytes(target + "\\DATA\\ART_H.DAT"))
        << "the copy differs from the CD";
    ForgetInstallation(target);
}

} // namespace
