// The uninstall button of the real install.exe, driven through its windows. An earlier run's
// installation (tree, shortcuts, record) is made by the test unless a story installs it.
#include "install/InstallManifest.h"
#include "install/UninstallSequence.h"
#include "resource.h"
#include "support/EngineDoubles.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Shortcuts.h"

#include <gtest/gtest.h>

namespace {

using namespace install_driver;
using Texts = std::vector<std::string>;

constexpr char kConfirm[] = "Usunąć program 'Jex'?";
constexpr char kFailed[] = "Wystąpił błąd w trakcie usuwania programu.";

// How much of the record is there: the two keys and the shortcut group.
int RecordParts()
{
    return testenv::KeyExists(HKEY_CURRENT_USER, testenv::kProductKey) +
           testenv::KeyExists(HKEY_LOCAL_MACHINE, testenv::kUninstallKey) + testenv::DirExists(testenv::ShortcutGroup());
}

class UninstallE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::ForgetInstallation();
        ASSERT_TRUE(testenv::MapCd('d'));
    }

    void TearDown() override
    {
        m_process.Kill();
        testenv::ForgetInstallation(m_scratch);
        testenv::UnmapAllExtraDrives();
        testenv::MapCd('d');
    }

    void MakeInstallation(bool full)
    {
        ASSERT_TRUE(installed::MakeTree(m_target, ManifestDirectories, SelectedFiles(full)));
        CreateShortcuts(m_target, 'd');
        WriteGameConfig(m_target, 'd', full);
        WriteInstallRecord(m_target, 'd', full, SelectedInstallBytes(full));
    }

    bool Start() { return (m_launcher = StartLauncher(m_process)) != nullptr; }

    // Presses uninstall and answers the boxes with `answers` (then OK): their texts once the launcher is back.
    Texts Uninstall(std::vector<int> answers)
    {
        EXPECT_TRUE(PressLauncherButton(m_launcher, IDC_UNINSTALL));
        ui::MessageBoxWatcher boxes(kAppTitle, answers);
        EXPECT_TRUE(ui::WaitUntil([&] { return boxes.Answered() > 0; }) && WaitLauncherLive(m_launcher));
        return boxes.Texts();
    }

    // "Tak": all goes but the installer's copy and jex.ini, the record too, and the launcher knows.
    void RemoveCompletely()
    {
        EXPECT_EQ(Texts({kConfirm, "Odinstalowanie zostało zakończone pomyślnie."}), Uninstall({IDYES}));
        EXPECT_EQ(Texts{"JEXINSTL.EXE"}, installed::PresentEntries(m_target, FullFiles));
        EXPECT_TRUE(testenv::FileExists(m_target + "\\jex.ini"));
        EXPECT_EQ(0, RecordParts());
        EXPECT_FALSE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL)) << "the launcher was not refreshed";
    }

    std::string m_scratch = testenv::ScratchDir("uninstall"), m_target = m_scratch + "\\Kestrel Forge\\Jex";
    ui::Process m_process;
    HWND m_launcher = nullptr;
};

// A fresh run of the program, so the kind comes from the record alone: here a record without it (cut off, or
// an earlier version's), so the full list. The user's save stays, and a file already gone raises no question.
TEST_F(UninstallE2E, NoThenAHeldFileThenALaterRemovalOfAllButTheUsersFiles)
{
    MakeInstallation(true);
    ASSERT_TRUE(testenv::WriteFileBytes(m_target + "\\PLAYER\\save1.sav", "save"));
    ASSERT_TRUE(testenv::RemoveFile(m_target + "\\JEX.EXE") && Start());
    // "Nie" changes nothing: with the product key gone behind its back, a refresh would grey the buttons.
    testenv::DeleteRegTree(HKEY_CURRENT_USER, testenv::kProductKey);
    EXPECT_EQ(Texts{kConfirm}, Uninstall({IDNO}));
    EXPECT_TRUE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL));
    WriteInstallRecord(m_target, 'd', true, FullInstallBytes);
    testenv::DeleteRegValue(HKEY_CURRENT_USER, testenv::kProductKey, "FullInstall");

    const std::string heldEntry = FullFiles[40], question = "Błąd przy usuwaniu pliku '" + heldEntry + "'";
    installed::HeldFile held(m_target + "\\" + heldEntry);
    ASSERT_TRUE(held.IsHeld());
    // Retry while it is held asks again; Cancel gives up: the failure, and no word of success.
    EXPECT_EQ(Texts({kConfirm, question, question, kFailed}), Uninstall({IDYES, IDRETRY, IDCANCEL}));
    held.Release();
    // The held file and what comes before it stay, and the record and the shortcuts for a later removal.
    EXPECT_TRUE(testenv::FileExists(m_target + "\\" + heldEntry));
    EXPECT_FALSE(testenv::FileExists(m_target + "\\DOS4GW.EXE"));
    EXPECT_EQ(3, RecordParts());
    RemoveCompletely();
    EXPECT_EQ(Texts{"PLAYER"}, installed::PresentEntries(m_target, ManifestDirectories));
    EXPECT_EQ("save", testenv::ReadFileBytes(m_target + "\\PLAYER\\save1.sav"));
}

// A record that points at a directory this program never installed into: a drive's root (r:, mapped to the
// scratch folder), a user's folder, or, through "..", a real installation beside a user's empty folder that
// the removal would walk up through. Each holds files of the game's names and empty directories of its own,
// with the installer's copy unless noted. Nothing there may go; only the record and the shortcuts, and only
// when the user says so.
struct ForeignDirectory { const char *name, *recorded; bool marker; const char* usersFolder = nullptr; };

class ForeignRecord : public UninstallE2E, public ::testing::WithParamInterface<ForeignDirectory> {};

TEST_P(ForeignRecord, DeletesNothingAndForgetsTheRecordOnlyWhenAsked)
{
    const ForeignDirectory& row = GetParam();
    const std::string recorded = row.recorded, dir = recorded.substr(0, recorded.find_last_not_of('\\') + 1);
    const char* const dirs[] = {"DATA", "PLAYER", "LEVEL", nullptr};
    const char* const files[] = {"JEX.EXE", "DATA\\SFX.DAT", "JEXINSTL.EXE", nullptr};
    ASSERT_TRUE(testenv::MapFolder('r', testenv::Env("WINEPREFIX") + "/drive_c/jextest/uninstall", DRIVE_FIXED) &&
                installed::MakeTree(dir, dirs, files));
    ASSERT_TRUE(row.marker || testenv::RemoveFile(dir + "\\JEXINSTL.EXE"));
    if (row.usersFolder)
        testenv::MakeDirs(row.usersFolder);
    CreateShortcuts(recorded, 'd');
    WriteInstallRecord(recorded, 'd', false, PartialInstallBytes);
    ASSERT_TRUE(Start());

    const Texts asked = {kConfirm, "W katalogu '" + recorded + "' nie znaleziono zainstalowanego programu.\n"
                                   "Czy usunąć tylko wpisy programu w rejestrze i skróty w menu Start?"};
    EXPECT_EQ(asked, Uninstall({IDYES, IDNO}));
    EXPECT_EQ(3, RecordParts());
    EXPECT_EQ(asked, Uninstall({IDYES, IDYES}));
    EXPECT_EQ(0, RecordParts());
    EXPECT_FALSE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL)) << "the launcher was not refreshed";
    EXPECT_EQ(Texts(dirs, dirs + 3), installed::PresentEntries(dir, dirs));
    EXPECT_EQ(Texts(files, files + (row.marker ? 3 : 2)), installed::PresentEntries(dir, files));
    EXPECT_TRUE(!row.usersFolder || testenv::DirExists(row.usersFolder));
}

INSTANTIATE_TEST_SUITE_P(
    Directories, ForeignRecord,
    ::testing::Values(ForeignDirectory{"DriveRoot", "r:\\", true}, ForeignDirectory{"UsersFolder", "r:\\Moje dokumenty", false},
                      ForeignDirectory{"UpAndOut", "r:\\Gry\\Inne\\..\\..\\Kestrel Forge\\Jex", true, "r:\\Gry\\Inne"}),
    ui::RowName());

TEST_F(UninstallE2E, RemovalWindowRefusedChangesNothing)
{
    MakeInstallation(false);
    ui::MessageBoxWatcher boxes(kAppTitle, {IDYES});
    ui::WindowRefusal refusal(kRemovalCaption);
    QuietHost host;
    RunUninstall(host);
    EXPECT_EQ(Texts({kConfirm, kFailed}), boxes.Texts());
    EXPECT_EQ(CountEntries(PartialFiles), static_cast<int>(installed::PresentEntries(m_target, PartialFiles).size()));
    EXPECT_EQ(3, RecordParts());
}

} // namespace
