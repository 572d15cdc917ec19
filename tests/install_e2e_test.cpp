// Installations through the real install.exe, driven as a person would: launcher, options, copy window,
// questions. Checked is what the user and the system see: texts, the installed tree byte for byte, the record.
#include "install/InstallManifest.h"
#include "install/InstallSequence.h"
#include "resource.h"
#include "support/Cp1250.h"
#include "support/EngineDoubles.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "sysreg/InstallRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>
#include <tuple>

namespace {

using namespace install_driver;

constexpr char kDefaultTarget[] = "C:\\Program Files\\Kestrel Forge\\Jex";
constexpr char kFailed[] = "Wystąpił błąd przy instalacji programu.";

// The files of `kind` are in `target` as on the CD in `cd` ("d:\"), and writable.
void ExpectInstalledTree(const std::string& target, const char* const* kind, const std::string& cd)
{
    for (const char* const* entry = kind; *entry; ++entry)
        EXPECT_TRUE(!(testenv::Attributes(target + "\\" + *entry) & FILE_ATTRIBUTE_READONLY) &&
                    testenv::ReadFileBytes(cd + *entry) == testenv::ReadFileBytes(target + "\\" + *entry)) << *entry;
}

class InstallE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testenv::MapCd('d'));
        testenv::ForgetInstallation(kDefaultTarget);
        // The stand-ins of the game and its configuration program log their runs and end by themselves.
        testenv::SetEnv("JEX_STANDIN_LOG", m_log);
        testenv::SetEnv("JEX_STANDIN_LIFETIME_MS", "1000");
    }

    void TearDown() override
    {
        m_process.Kill();
        testenv::ForgetInstallation(m_target);
        testenv::RemoveDir(m_target.substr(0, m_target.rfind('\\')));
        testenv::RemoveTree(kDefaultTarget);
        testenv::UnmapAllExtraDrives();
        testenv::MapCd('d');
    }

    bool Start() { return (m_launcher = StartLauncher(m_process)) != nullptr; }

    ui::Process m_process;
    HWND m_launcher = nullptr;
    std::string m_scratch = testenv::ScratchDir("install"), m_target = m_scratch + "\\Jex",
                m_log = m_scratch + "\\standin.log";
};

TEST_F(InstallE2E, LateCdPartialInstallFromTheDefaults)
{
    testenv::UnmapAllExtraDrives();
    // No CD: Cancel ends the operation without a word.
    ASSERT_TRUE(Start() && PressLauncherButton(m_launcher, IDC_INSTALL));
    ASSERT_TRUE(ui::AnswerMessageBox(kLauncherBoxCaption, IDCANCEL).window && WaitLauncherLive(m_launcher));
    EXPECT_FALSE(ui::FindTopWindow(kOptionsCaption) || ui::FindTopWindow(kAppTitle)) << "Cancel is silent";

    // Retry asks again while there is no CD; then it arrives on e:.
    ASSERT_TRUE(PressLauncherButton(m_launcher, IDC_INSTALL) &&
                ui::AnswerMessageBox(kLauncherBoxCaption, IDRETRY).window);
    ui::MessageBoxSeen again = ui::WaitForMessageBox(kLauncherBoxCaption);
    ASSERT_TRUE(testenv::MapCd('e') && ui::Answer(again.window, IDRETRY));

    HWND options = WaitForOptions();
    ASSERT_EQ(kDefaultTarget, ui::GetItemText(options, IDC_OPTIONS_TARGET));
    EXPECT_EQ(BST_CHECKED, ui::GetItemCheck(options, IDC_OPTIONS_PARTIAL));
    ASSERT_TRUE(ui::Answer(options, IDOK) && AnswerClosingQuestions(IDNO, IDNO) && WaitLauncherLive(m_launcher));

    ExpectInstalledTree(kDefaultTarget, PartialFiles, "e:\\");
    EXPECT_EQ(CountEntries(PartialFiles), int(installed::PresentEntries(kDefaultTarget, FullFiles).size()));
    EXPECT_EQ("e:\\install.exe", testenv::ReadReg(HKEY_LOCAL_MACHINE, testenv::kUninstallKey, "UninstallString").Text());
    EXPECT_TRUE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL)) << "the launcher was not refreshed";
}

TEST_F(InstallE2E, InstallAgainOneOperationAtATime)
{
    // An earlier installation, two of its files changed since.
    ASSERT_TRUE(installed::MakeTree(m_target, ManifestDirectories, PartialFiles));
    for (const char* entry : {PartialFiles[0], PartialFiles[1]})
        ASSERT_TRUE(testenv::WriteFileBytes(m_target + "\\" + entry, "old"));
    WriteInstallRecord(m_target, 'd', false, PartialInstallBytes);
    ASSERT_TRUE(Start());

    // At every question, and while the configuration program runs, clicks, keys and commands come for the
    // launcher's install and uninstall buttons: none may start anything, now or later.
    auto knock = [&](const char* where) {
        EXPECT_FALSE(IsWindowEnabled(m_launcher)) << "the launcher is live at " << where;
        for (HWND button : {GetDlgItem(m_launcher, IDC_INSTALL), GetDlgItem(m_launcher, IDC_UNINSTALL)}) {
            PostMessageW(button, BM_CLICK, 0, 0);
            ui::PressKey(button, VK_SPACE);
            PostMessageW(m_launcher, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), LPARAM(button));
        }
    };
    ASSERT_TRUE(PressLauncherButton(m_launcher, IDC_INSTALL) &&
                ui::AnswerMessageBox(kLauncherBoxCaption, IDCANCEL).window);
    ASSERT_TRUE(PressLauncherButton(m_launcher, IDC_INSTALL)) << "Cancel went on";
    ui::MessageBoxSeen box = ui::WaitForMessageBox(kLauncherBoxCaption);
    ASSERT_EQ("Program już jest zainstalowany w systemie.\nCzy chcesz kontynuować ?", box.text);
    knock("the already-installed question");
    ASSERT_TRUE(ui::Answer(box.window, IDOK));
    HWND options = WaitForOptions();
    ASSERT_EQ(m_target, ui::GetItemText(options, IDC_OPTIONS_TARGET));
    knock("the options");
    ASSERT_TRUE(ui::ClickItem(options, IDC_OPTIONS_BROWSE));
    HWND browser = ui::WaitForWindow(kBrowserCaption);
    knock("the browser");
    ASSERT_TRUE(ui::Answer(browser, IDCANCEL) && ConfirmOptions(options, m_target, false));

    // "Nie" keeps the first changed file; "Tak na wszystkie" replaces the second and stands for the rest.
    HWND question = WaitForOverwriteQuestion();
    knock("the overwrite question");
    ASSERT_TRUE(ui::Answer(question, IDC_OVERWRITE_NO) && ui::Answer(WaitForOverwriteQuestion(), IDC_OVERWRITE_YES_ALL));
    box = ui::WaitForMessageBox(kAppTitle);
    ASSERT_EQ(kDoneQuestion, box.text);
    knock("the closing question");
    ASSERT_TRUE(ui::Answer(box.window, IDYES));
    ASSERT_TRUE(WaitForStandin(m_log, "JEXSETUP.EXE", "start"));
    knock("the configuration program");
    ASSERT_EQ(kGameQuestion, ui::AnswerMessageBox(kAppTitle, IDNO).text);

    // Once the launcher is back nothing nested or kept for later is up.
    ASSERT_TRUE(WaitLauncherLive(m_launcher));
    for (const char* caption : {kOptionsCaption, kAppTitle, kLauncherBoxCaption, kRemovalCaption})
        EXPECT_FALSE(ui::FindTopWindow(caption)) << caption;
    EXPECT_EQ("old", testenv::ReadFileBytes(m_target + "\\" + PartialFiles[0]));
    ExpectInstalledTree(m_target, PartialFiles + 1, "d:\\");
}

// A second set-up program - the installed copy, or the CD's - started while the first one waits at its options
// and another window is in front: it brings the first one's question to the front and ends at once, before it
// has made any window of its own.
TEST_F(InstallE2E, SecondCopyShowsTheFirstAndEnds)
{
    ASSERT_TRUE(Start() && PressInstall(m_launcher));
    HWND options = WaitForOptions();
    const std::string installed = m_scratch + "\\JEXINSTL.EXE";
    ASSERT_TRUE(options && testenv::CopyFileOver(testenv::InstallExe(), installed));
    HWND front = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    for (const std::string& exe : {installed, std::string("d:\\install.exe")}) {
        ASSERT_TRUE(SetForegroundWindow(front) && GetForegroundWindow() == front);
        ui::Process second;
        ASSERT_TRUE(second.Start(exe));
        EXPECT_EQ(0, second.WaitForExit()) << exe;
        EXPECT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == options; })) << exe;
    }
    DestroyWindow(front);
    ASSERT_TRUE(ui::Answer(options, IDCANCEL));
    EXPECT_EQ("Instalacja programu została przerwana.", ui::AnswerMessageBox(kAppTitle, IDOK).text);
}

// The whole life of a full installation: the launcher installs it, "Tak" to the game ends the launcher as the game
// starts, a later run removes it. From the sample CD into a directory with Polish letters, and from the CD's image
// mounted read-only by tests/cd-image-test. The Polish one runs under the system code pages 1250, 1252 (CTest's
// *.cp1252, an English system) and 65001 (*.cp65001: JEX_INSTALL_EXE is the program asking for UTF-8): it reads
// back every text the user sees, the files, the record and the links, which it leaves in C:\jextest\JEX_LINKS
// for lnkinfo. A folder named in Cyrillic sits beside the target: the browser never shows it, nothing touches it.
struct Cycle { const char* name; bool fromImage; const char* target; };

class FullCycle : public InstallE2E, public ::testing::WithParamInterface<Cycle> {};

TEST_P(FullCycle, InstallPlayThenUninstallInALaterRun)
{
    const Cycle& cycle = GetParam();
    const std::string image = testenv::Env("JEX_CD_IMAGE"), exe = testenv::Env("JEX_INSTALL_EXE"),
                      parent = std::string(cycle.target).substr(0, std::string(cycle.target).rfind('\\'));
    if (cycle.fromImage && image.empty())
        GTEST_SKIP() << "needs JEX_CD_IMAGE";
    testenv::UnmapAllExtraDrives();
    ASSERT_TRUE(testenv::MapCd('d', cycle.fromImage ? image : testenv::SampleCdUnix()));
    ASSERT_TRUE(!cycle.fromImage || (testenv::Attributes("d:\\JEX.EXE") & FILE_ATTRIBUTE_READONLY)) << "writable";
    testenv::ForgetInstallation(m_target = cycle.target);
    const std::wstring cyrillic = cp1250::Wide(parent) + L"\\\x0418\x0433\x0440\x044B";
    testenv::MakeDirs(m_target);
    ASSERT_TRUE(CreateDirectoryW(cyrillic.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(testenv::WriteFileBytes(m_target + "\\JEX.ICO", "an earlier icon"));

    ASSERT_TRUE((m_launcher = StartLauncher(m_process, exe.empty() ? "d:\\install.exe" : exe, "d:\\")) &&
                PressInstall(m_launcher));
    HWND options = WaitForOptions();
    ASSERT_TRUE(ui::SetItemText(options, IDC_OPTIONS_TARGET, parent) && ui::ClickItem(options, IDC_OPTIONS_BROWSE));
    HWND browser = ui::WaitForWindow(kBrowserCaption), list = GetDlgItem(browser, IDC_BROWSE_DIRS);
    EXPECT_TRUE(ui::WaitUntil([&] { return ui::GetItemText(browser, IDC_BROWSE_PATH) == parent + "\\"; }));
    EXPECT_EQ(std::count(parent.begin(), parent.end(), '\\') + 2, SendMessageW(list, LB_GETCOUNT, 0, 0))
        << "the folders down to the target's, and the target's alone";
    ASSERT_TRUE(ui::Answer(browser, IDCANCEL) && ConfirmOptions(options, m_target, true));

    // The copy stops at the icon that is there: the question and the copy window say what and where.
    HWND question = WaitForOverwriteQuestion(), copying = FindCopyProgress();
    EXPECT_EQ("Plik o nazwie '" + m_target + "\\JEX.ICO' już istnieje.",
              ui::GetItemText(question, IDC_OVERWRITE_MESSAGE));
    EXPECT_EQ("Kopiowanie plików do katalogu \n'" + m_target + "'", ui::GetItemText(copying, IDC_COPY_DESCRIPTION));
    EXPECT_EQ("JEX.ICO", ui::GetItemText(copying, IDC_COPY_FILE_NAME));
    ASSERT_TRUE(ui::Answer(question, IDC_OVERWRITE_YES) && AnswerClosingQuestions(IDNO, IDYES));
    EXPECT_NE(-1, m_process.WaitForExit()) << "the launcher should end as the game starts";
    ASSERT_TRUE(WaitForStandin(m_log, "JEX.EXE", "start") && WaitForStandin(m_log, "JEX.EXE", "end"));

    ExpectInstalledTree(m_target, FullFiles, "d:\\");
    EXPECT_EQ("[]\r\n\r\n[/CONFIG_CATEGORY_USER]\r\n\r\n[/CONFIG_CATEGORY_USER/Instalation]\r\n"
              "\"instalation type\"=dword:00000000\r\n\"cd path\"=string:\"d:\\\"\r\n\r\n",
              testenv::ReadFileBytes(m_target + "\\jex.ini"));
    for (auto [key, name, file] : {std::tuple{testenv::kProductKey, "ProgramPath", ""},
                                   {testenv::kProductKey, "ProgramExecutable", "\\jex.exe"},
                                   {testenv::kUninstallKey, "InstallLocation", ""},
                                   {testenv::kUninstallKey, "DisplayIcon", "\\JEX.EXE"}})
        EXPECT_EQ(m_target + file, testenv::ReadReg(key == testenv::kProductKey ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                                                    key, name).Text()) << name;
    const std::string linksName = testenv::Env("JEX_LINKS").empty() ? "links" : testenv::Env("JEX_LINKS");
    const std::string links = cycle.fromImage ? "" : testenv::ScratchDir(linksName);
    for (const char* link : {"Jex.lnk", "Program instalacyjny.lnk", "Program konfiguracyjny.lnk"})
        EXPECT_TRUE(links.empty() || testenv::CopyFileOver(testenv::ShortcutGroup() + "\\" + link, links + "\\" + link))
            << link;

    ui::Process later;
    HWND live = StartLauncher(later, exe.empty() ? "d:\\install.exe" : exe, "d:\\");
    EXPECT_TRUE(live && ui::IsItemEnabled(live, IDC_GAME) && ui::IsItemEnabled(live, IDC_CONFIG));
    ASSERT_TRUE(PressLauncherButton(live, IDC_UNINSTALL) &&
                ui::AnswerMessageBox(kAppTitle, IDYES).text == "Usunąć program 'Jex'?") << "no installation seen";
    EXPECT_EQ("Odinstalowanie zostało zakończone pomyślnie.", ui::AnswerMessageBox(kAppTitle, IDOK, 60000).text);
    EXPECT_EQ(std::vector<std::string>{"JEXINSTL.EXE"}, installed::PresentEntries(m_target, FullFiles));
    EXPECT_FALSE(testenv::KeyExists(HKEY_CURRENT_USER, testenv::kProductKey) || testenv::DirExists(testenv::ShortcutGroup()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(cyrillic.c_str())) << "the Cyrillic folder is gone";
    RemoveDirectoryW(cyrillic.c_str());
}

INSTANTIATE_TEST_SUITE_P(Cycles, FullCycle,
                         ::testing::Values(Cycle{"PolishTarget", false, "C:\\Gry\\Zażółć gęślą jaźń"},
                                           Cycle{"DISABLED_FromMountedCdImage", true, "C:\\jextest\\cd-image\\Jex"}),
                         ui::RowName());

// The sequence in this process, ended early: the options cancelled, the copy window refused, a file given up (it
// does not open; Cancel, then Cancel for the whole file), or the game's configuration file given up (a directory of
// its name in the way; Cancel). Only that ending's words, no copy window left, nothing recorded, and no tree unless
// the copy had begun.
struct Ending { const char* name; int optionsAnswer; const char* refused; std::vector<std::string> boxes; };

class EarlyEnding : public InstallE2E, public ::testing::WithParamInterface<Ending> {};

TEST_P(EarlyEnding, ChangesNothing)
{
    const Ending& ending = GetParam();
    InstallState state{'d', m_target};
    FaultyFileSystem files;
    if (ending.boxes.size() == 3)
        files.Add({FaultyFileSystem::Op::Open, "JEX.EXE", 10});
    testenv::MakeDirs(m_target + "\\jex.ini");
    std::thread person([&] { ui::Answer(WaitForOptions(), ending.optionsAnswer); });
    ui::MessageBoxWatcher boxes(kAppTitle, {IDCANCEL, IDCANCEL});
    std::optional<ui::WindowRefusal> refusal;
    if (ending.refused)
        refusal.emplace(ending.refused);
    QuietHost host;
    RunInstall(state, host, files);
    person.join();
    EXPECT_EQ(ending.boxes, boxes.Texts());
    EXPECT_FALSE(ui::FindTopWindow(kCopyCaption) || testenv::KeyExists(HKEY_CURRENT_USER, testenv::kProductKey) ||
                 testenv::KeyExists(HKEY_LOCAL_MACHINE, testenv::kUninstallKey) ||
                 testenv::DirExists(testenv::ShortcutGroup()));
    EXPECT_EQ(ending.boxes.size() > 1, testenv::DirExists(m_target + "\\DATA"));
}

INSTANTIATE_TEST_SUITE_P(
    InProcess, EarlyEnding,
    ::testing::Values(Ending{"OptionsCancelled", IDCANCEL, nullptr, {"Instalacja programu została przerwana."}},
                      Ending{"CopyWindowRefused", IDOK, kCopyCaption, {kFailed}},
                      Ending{"FileGivenUp", IDOK, nullptr,
                             {"Błąd przy otwieraniu pliku 'd:\\JEX.EXE'", "Błąd przy kopiowaniu pliku 'JEX.EXE'",
                              kFailed}},
                      Ending{"GameConfigGivenUp", IDOK, nullptr,
                             {"Błąd przy zapisie do pliku 'C:\\jextest\\install\\Jex\\jex.ini'", kFailed}}),
    ui::RowName());

// Only under tests/small-disk-test: a small disk in JEX_SMALL_DISK with room for the partial kind, not the full
// one, and a CD in JEX_BIG_CD whose DATA\ART_H.DAT outgrows the disk's room once a filler is on it.
TEST_F(InstallE2E, DISABLED_SmallDiskFillsInsideAFileAndRetryCompletesIt)
{
    const std::string disk = testenv::Env("JEX_SMALL_DISK"), bigCd = testenv::Env("JEX_BIG_CD");
    if (disk.empty() || bigCd.empty())
        GTEST_SKIP() << "needs the disk and the CD of tests/small-disk-test";
    testenv::UnmapAllExtraDrives();
    ASSERT_TRUE(testenv::MapCd('d', bigCd) && testenv::MapFolder('s', disk, DRIVE_FIXED));
    m_target = "s:\\Gry\\Jex";

    // Room for the partial kind's total and a little more, less than the big file needs.
    ULARGE_INTEGER free = {};
    const uint64_t keep = PartialInstallBytes + 2 * 1024 * 1024;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"s:\\", &free, nullptr, nullptr) && free.QuadPart > keep);
    ASSERT_TRUE(testenv::WriteFileBytes("s:\\filler.bin", std::string(size_t(free.QuadPart - keep), 'f')));

    // The full kind does not fit; the partial one does.
    ASSERT_TRUE(Start() && BeginInstall(m_launcher, m_target, true));
    EXPECT_EQ("Zbyt mało miejsca na dysku", ui::AnswerMessageBox(kLauncherBoxCaption, IDOK).text);
    ASSERT_TRUE(ConfirmOptions(WaitForOptions(), m_target, false));

    ui::MessageBoxSeen full = ui::WaitForMessageBox(kAppTitle, 120000);
    ASSERT_EQ("Błąd przy zapisie do pliku '" + m_target + "\\DATA\\ART_H.DAT'", full.text);
    ASSERT_TRUE(testenv::RemoveFile("s:\\filler.bin") && ui::Answer(full.window, IDRETRY));
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO));
    ExpectInstalledTree(m_target, PartialFiles, "d:\\");
}

} // namespace
