// The uninstall button of the real install.exe, driven through its windows.
// An earlier run's installation is made by the test itself (tree,
// shortcuts, record) unless a story installs through the launcher.
#include "install/InstallManifest.h"
#include "install/UninstallSequence.h"
#include "resource.h"
#include "support/EngineDoubles.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Shortcuts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace install_driver;

constexpr char kConfirm[] = "Usunąć program 'Jex'?";
constexpr char kFailed[] = "Wystąpił błąd w trakcie usuwania programu.";
constexpr char kSucceeded[] = "Odinstalowanie zostało zakończone pomyślnie.";

// How much of the record is there: the two keys and the shortcut group.
int RecordParts()
{
    return testenv::KeyExists(HKEY_CURRENT_USER, ProductKeyPath) +
           testenv::KeyExists(HKEY_LOCAL_MACHINE, UninstallKeyPath) + testenv::DirExists(testenv::ShortcutGroup());
}

class UninstallE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::ForgetInstallation();
        ASSERT_TRUE(testenv::MapCd('d'));
        m_scratch = testenv::ScratchDir("uninstall");
        m_target = m_scratch + "\\Kestrel Forge\\Jex";
    }

    void TearDown() override
    {
        m_process.Kill();
        testenv::ForgetInstallation(m_scratch);
        testenv::UnmapAllExtraDrives();
        testenv::MapCd('d');
    }

    // An installation of the given kind in `target`, as an earlier run of
    // the program leaves it: files, jex.ini, shortcuts, record.
    static void MakeInstallation(const std::string& target, bool full)
    {
        ASSERT_TRUE(installed::MakeTree(target, ManifestDirectories, SelectedFiles(full)));
        CreateShortcuts(target, 'd');
        WriteInstallRecord(target, 'd', full);
        ASSERT_EQ(3, RecordParts());
    }

    bool Start() { return (m_launcher = StartLauncher(m_process)) != nullptr; }

    // Presses the uninstall button and answers the boxes that come with
    // `answers` (then OK); their texts once the launcher is live again.
    std::vector<std::string> Uninstall(std::vector<int> answers)
    {
        EXPECT_TRUE(PressLauncherButton(m_launcher, IDC_UNINSTALL));
        ui::MessageBoxWatcher boxes(kAppTitle, answers);
        EXPECT_TRUE(ui::WaitUntil([&] { return boxes.Answered() > 0; }));
        EXPECT_TRUE(WaitLauncherLive(m_launcher));
        return boxes.Texts();
    }

    // What a complete removal of the installation in `target` leaves.
    void ExpectRemoved(const std::string& target)
    {
        EXPECT_EQ(std::vector<std::string>{kInstallerCopy}, installed::PresentEntries(target, FullFiles));
        EXPECT_TRUE(testenv::FileExists(target + "\\jex.ini"));
        ExpectForgotten();
    }
    void ExpectForgotten()
    {
        EXPECT_EQ(0, RecordParts());
        EXPECT_FALSE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL)) << "the launcher was not refreshed";
    }

    std::string m_scratch, m_target;
    ui::Process m_process;
    HWND m_launcher = nullptr;
};

// A fresh run of the program: the kind comes from the record alone. The
// user's save stays, and a file already gone raises no question.
class EarlierRun : public UninstallE2E, public ::testing::WithParamInterface<bool> {};

TEST_P(EarlierRun, RemovesTheInstallationButTheUsersFiles)
{
    MakeInstallation(m_target, GetParam());
    ASSERT_TRUE(testenv::WriteFileBytes(m_target + "\\PLAYER\\save1.sav", "save"));
    ASSERT_TRUE(DeleteFileA((m_target + "\\JEX.EXE").c_str()));
    ASSERT_TRUE(Start());
    EXPECT_EQ(std::vector<std::string>({kConfirm, kSucceeded}), Uninstall({IDYES}));
    ExpectRemoved(m_target);
    EXPECT_EQ(std::vector<std::string>{"PLAYER"}, installed::PresentEntries(m_target, ManifestDirectories));
    EXPECT_EQ("save", testenv::ReadFileBytes(m_target + "\\PLAYER\\save1.sav"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, EarlierRun, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Full" : "Partial"); });

TEST_F(UninstallE2E, HeldFileThenALaterRemoval)
{
    MakeInstallation(m_target, true);
    const std::string heldEntry = FullFiles[40];
    {
        installed::HeldFile held(m_target + "\\" + heldEntry);
        ASSERT_TRUE(held.IsHeld());
        ASSERT_TRUE(Start());
        // Retry while it is held asks again; Cancel gives up: the failure,
        // and no word of success.
        const std::string question = "Błąd przy usuwaniu pliku '" + heldEntry + "'";
        EXPECT_EQ(std::vector<std::string>({kConfirm, question, question, kFailed}),
                  Uninstall({IDYES, IDRETRY, IDCANCEL}));
    }
    // The held file and what comes before it stay, and with the record and
    // the shortcuts the uninstall button.
    EXPECT_TRUE(testenv::FileExists(m_target + "\\" + heldEntry));
    EXPECT_FALSE(testenv::FileExists(m_target + "\\DOS4GW.EXE"));
    EXPECT_EQ(3, RecordParts());
    EXPECT_EQ(std::vector<std::string>({kConfirm, kSucceeded}), Uninstall({IDYES}));
    ExpectRemoved(m_target);
}

TEST_F(UninstallE2E, NoToTheConfirmationChangesNothing)
{
    MakeInstallation(m_target, true);
    ASSERT_TRUE(Start());
    // The record's product key goes behind the launcher's back: a refresh
    // would now grey the buttons, so they show whether one happened.
    RegDeleteTreeA(HKEY_CURRENT_USER, ProductKeyPath);
    EXPECT_EQ(std::vector<std::string>{kConfirm}, Uninstall({IDNO}));
    EXPECT_TRUE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL));
    EXPECT_EQ(CountEntries(FullFiles), static_cast<int>(installed::PresentEntries(m_target, FullFiles).size()));
    EXPECT_TRUE(testenv::FileExists(testenv::ShortcutGroup() + "\\Jex.lnk"));
}

TEST_F(UninstallE2E, RemovesTheSameRunsInstallationNotTheCancelledTarget)
{
    // Another directory with files of the game's names, never installed.
    const std::string decoy = m_scratch + "\\Elsewhere";
    ASSERT_TRUE(installed::MakeTree(decoy, ManifestDirectories, FullFiles));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(BeginInstall(m_launcher, m_target, false));
    ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO));

    // Install again: type the decoy, browse (which starts from the typed
    // text) and cancel everything.
    ASSERT_TRUE(PressLauncherButton(m_launcher, IDC_INSTALL));
    ASSERT_TRUE(ui::AnswerMessageBox(kLauncherBoxCaption, IDOK).window);
    HWND options = WaitForOptions();
    ASSERT_TRUE(options && ui::SetItemText(options, IDC_OPTIONS_TARGET, decoy));
    ASSERT_TRUE(ui::ClickItem(options, IDC_OPTIONS_BROWSE));
    HWND browser = ui::WaitForWindow(kBrowserCaption);
    ASSERT_TRUE(browser && ui::ClickItem(browser, IDCANCEL) && ui::WaitForWindowGone(browser));
    ui::ClickItem(options, IDCANCEL);
    ASSERT_EQ("Instalacja programu została przerwana.", ui::AnswerMessageBox(kAppTitle, IDOK).text);

    EXPECT_EQ(std::vector<std::string>({kConfirm, kSucceeded}), Uninstall({IDYES}));
    ExpectRemoved(m_target);
    EXPECT_EQ(CountEntries(FullFiles), static_cast<int>(installed::PresentEntries(decoy, FullFiles).size()));
}

// A record that points at a directory this program never installed into:
// a drive's root (r:, mapped to the scratch folder), or a user's folder
// that holds files of the game's names. Nothing there may go; only the
// record and the shortcuts, and only when the user says so.
struct ForeignDirectory {
    const char* name;
    std::string recorded;
    std::vector<std::string> entries; // a directory's with its backslash
};

class ForeignRecord : public UninstallE2E, public ::testing::WithParamInterface<ForeignDirectory> {};

TEST_P(ForeignRecord, DeletesNothingAndForgetsTheRecordOnlyWhenAsked)
{
    const ForeignDirectory& c = GetParam();
    ASSERT_TRUE(testenv::MapFolder('r', std::string(std::getenv("WINEPREFIX")) + "/drive_c/jextest/uninstall",
                                   DRIVE_FIXED));
    const std::string dir = c.recorded.back() == '\\' ? c.recorded : c.recorded + "\\";
    for (const std::string& entry : c.entries) {
        testenv::MakeDirs(dir + entry.substr(0, entry.rfind('\\') + 1));
        ASSERT_TRUE(entry.back() == '\\' || testenv::WriteFileBytes(dir + entry, "not the game's"));
    }
    CreateShortcuts(c.recorded, 'd');
    WriteInstallRecord(c.recorded, 'd', false);
    ASSERT_TRUE(Start());

    const std::string question = "W katalogu '" + c.recorded +
                                 "' nie znaleziono zainstalowanego programu.\n"
                                 "Czy usunąć tylko wpisy programu w rejestrze i skróty w menu Start?";
    EXPECT_EQ(std::vector<std::string>({kConfirm, question}), Uninstall({IDYES, IDNO}));
    EXPECT_EQ(3, RecordParts());
    EXPECT_EQ(std::vector<std::string>({kConfirm, question}), Uninstall({IDYES, IDYES}));
    ExpectForgotten();
    for (const std::string& entry : c.entries)
        EXPECT_TRUE(entry.back() == '\\' ? testenv::DirExists(dir + entry)
                                          : testenv::ReadFileBytes(dir + entry) == "not the game's")
            << entry;
}

INSTANTIATE_TEST_SUITE_P(
    Directories, ForeignRecord,
    ::testing::Values(ForeignDirectory{"DriveRoot", "r:\\", {"JEX.EXE", "DATA\\SFX.DAT", "PLAYER\\", "LEVEL\\"}},
                      ForeignDirectory{"UsersFolder", "r:\\Moje dokumenty", {"JEX.EXE", "DATA\\ART_H.DAT", "PLAYER\\"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UninstallE2E, RemovalWindowRefusedChangesNothing)
{
    MakeInstallation(m_target, false);
    ui::MessageBoxWatcher boxes(kAppTitle, {IDYES});
    {
        ui::WindowRefusal refusal(kRemovalCaption);
        QuietHost host;
        RunUninstall(host);
    }
    EXPECT_EQ(std::vector<std::string>({kConfirm, kFailed}), boxes.Texts());
    EXPECT_EQ(CountEntries(PartialFiles), static_cast<int>(installed::PresentEntries(m_target, PartialFiles).size()));
    EXPECT_EQ(3, RecordParts());
}

} // namespace
