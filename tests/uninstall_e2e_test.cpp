// The uninstall button of the real install.exe, driven through its windows.
// An "installed" state is made by the test itself (tree, shortcuts, record)
// unless a test installs through the launcher on purpose.

#include "install/InstallManifest.h"
#include "install/UninstallSequence.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/InstalledTree.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"
#include "sysreg/Shortcuts.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

using install_driver::kLauncherCaption;
using install_driver::kOptionsCaption;
constexpr const char* kAppCaption = install_driver::kAppTitle;
constexpr char kRemovalCaption[] = "Usuwanie plików programu";

constexpr char kConfirm[] = "Usunąć program 'Jex'?";
constexpr char kFailed[] = "Wystąpił błąd w trakcie usuwania programu.";
constexpr char kSucceeded[] = "Odinstalowanie zostało zakończone pomyślnie.";

bool KeyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string GroupFolder()
{
    return installed::ProgramsFolder() + "\\Kestrel Forge\\Jex";
}

bool Recorded()
{
    return KeyExists(HKEY_CURRENT_USER, ProductKeyPath) && KeyExists(HKEY_LOCAL_MACHINE, UninstallKeyPath) &&
           testenv::FileExists(GroupFolder() + "\\Jex.lnk");
}

class UninstallE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        Forget();
        m_scratch = testenv::ScratchDir("uninstall");
        m_target = m_scratch + "\\Kestrel Forge\\Jex";
    }

    void TearDown() override
    {
        CloseLauncher();
        Forget();
        testenv::RemoveTree(m_scratch);
        testenv::UnmapAllExtraDrives();
    }

    static void Forget()
    {
        DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);
        DeleteRegKeyTree(HKEY_LOCAL_MACHINE, UninstallKeyPath);
        testenv::RemoveTree(installed::ProgramsFolder() + "\\Kestrel Forge");
    }

    // An installation of the given kind in `target`, as an earlier run of
    // the program would have left it: files, jex.ini, shortcuts, record.
    static void MakeInstallation(const std::string& target, bool full)
    {
        std::string failed;
        ASSERT_TRUE(installed::MakeTree(target, ManifestDirectories, SelectedFiles(full), &failed)) << failed;
        CreateShortcuts(target, 'd');
        WriteInstallRecord(target, 'd', full);
        ASSERT_TRUE(Recorded());
    }

    void StartLauncher()
    {
        m_launcher = install_driver::StartLauncher(m_process);
        ASSERT_NE(nullptr, m_launcher) << "no launcher window";
    }
    void CloseLauncher()
    {
        if (m_launcher) {
            PostMessageA(m_launcher, WM_CLOSE, 0, 0);
            m_process.WaitForExit(5000);
            m_launcher = nullptr;
        }
        m_process.Kill();
    }

    // Presses the uninstall button and says "Tak" to the confirmation; the
    // boxes that follow are answered with `answers` (then OK) and their
    // texts returned once the launcher is live again.
    std::vector<std::string> Uninstall(std::vector<int> answers = {})
    {
        EXPECT_TRUE(install_driver::PressLauncherButton(m_launcher, IDC_UNINSTALL));
        answers.insert(answers.begin(), IDYES);
        ui::MessageBoxWatcher boxes(kAppCaption, answers);
        EXPECT_TRUE(ui::WaitUntil([&] {
            return boxes.Answered() > 0 && IsWindowEnabled(m_launcher) && !ui::FindTopWindow(kRemovalCaption);
        }, 60000));
        std::vector<std::string> texts = boxes.Texts();
        EXPECT_FALSE(texts.empty());
        if (!texts.empty()) {
            EXPECT_EQ(kConfirm, texts.front());
            texts.erase(texts.begin());
        }
        return texts;
    }

    // The state after a complete removal of the installation in `target`.
    void ExpectRemoved(const std::string& target)
    {
        EXPECT_EQ(std::vector<std::string>{kInstallerCopy}, installed::PresentEntries(target, FullFiles));
        EXPECT_TRUE(testenv::FileExists(target + "\\jex.ini"));
        EXPECT_FALSE(testenv::DirExists(GroupFolder()));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProductKeyPath));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKeyPath));
        for (int id : {IDC_UNINSTALL, IDC_CONFIG, IDC_GAME})
            EXPECT_FALSE(ui::IsItemEnabled(m_launcher, id)) << id;
    }

    std::string m_scratch;
    std::string m_target;
    ui::Process m_process;
    HWND m_launcher = nullptr;
};

TEST_F(UninstallE2E, RemovesAnEarlierRunsInstallationOfEitherKindButTheUsersFiles)
{
    for (bool full : {false, true}) {
        SCOPED_TRACE(full ? "full" : "partial");
        MakeInstallation(m_target, full);
        ASSERT_TRUE(installed::WriteFile(m_target + "\\PLAYER\\save1.sav", "save"));
        ASSERT_TRUE(DeleteFileA((m_target + "\\JEX.EXE").c_str())); // gone already: no question
        // A fresh run of the program: the kind comes from the record alone.
        StartLauncher();
        EXPECT_EQ(std::vector<std::string>{kSucceeded}, Uninstall());
        ExpectRemoved(m_target);
        EXPECT_EQ(std::vector<std::string>({"PLAYER"}), installed::PresentEntries(m_target, ManifestDirectories));
        EXPECT_TRUE(testenv::FileExists(m_target + "\\PLAYER\\save1.sav"));
        CloseLauncher();
        testenv::RemoveTree(m_target);
    }
}

TEST_F(UninstallE2E, RemovesTheInstallationOfTheSameRunNotTheCancelledTarget)
{
    // Another directory with files of the game's names, never installed.
    const std::string decoy = m_scratch + "\\Elsewhere";
    std::string failed;
    ASSERT_TRUE(installed::MakeTree(decoy, ManifestDirectories, FullFiles, &failed)) << failed;
    ASSERT_TRUE(testenv::MapCd('d'));
    StartLauncher();
    ASSERT_TRUE(install_driver::BeginInstall(m_launcher, m_target, true));
    ASSERT_TRUE(install_driver::AnswerClosingQuestions(IDNO, IDNO));

    // Install again, type the decoy, browse (which takes the typed text as
    // the target) and cancel everything.
    ASSERT_TRUE(install_driver::PressInstall(m_launcher));
    ASSERT_NE(nullptr, ui::AnswerMessageBox(install_driver::kLauncherBoxCaption, IDOK).window);
    HWND options = install_driver::WaitForOptions();
    ASSERT_NE(nullptr, options);
    ASSERT_TRUE(ui::SetItemText(options, IDC_OPTIONS_TARGET, decoy));
    ASSERT_TRUE(ui::ClickItem(options, IDC_OPTIONS_BROWSE));
    HWND browser = ui::WaitForWindow("Program instalacyjny - wybór katalogu");
    ASSERT_NE(nullptr, browser) << "no directory browser";
    ASSERT_TRUE(ui::ClickItem(browser, IDCANCEL));
    ASSERT_TRUE(ui::WaitForWindowGone(browser));
    ASSERT_TRUE(ui::ClickItem(options, IDCANCEL));
    ASSERT_EQ("Instalacja programu została przerwana.", ui::AnswerMessageBox(kAppCaption, IDOK).text);

    EXPECT_EQ(std::vector<std::string>{kSucceeded}, Uninstall());
    ExpectRemoved(m_target);
    EXPECT_EQ(CountEntries(FullFiles), static_cast<int>(installed::PresentEntries(decoy, FullFiles).size()));
}

TEST_F(UninstallE2E, FileThatCannotGoLeavesTheRecordForALaterRemoval)
{
    MakeInstallation(m_target, true);
    const std::string heldEntry = FullFiles[40];
    {
        installed::HeldFile held(m_target + "\\" + heldEntry);
        ASSERT_TRUE(held.IsHeld());
        StartLauncher();
        // Retry while it is held asks again; Cancel gives up: the failure,
        // and no word of success.
        const std::string question = "Błąd przy usuwaniu pliku '" + heldEntry + "'";
        EXPECT_EQ(std::vector<std::string>({question, question, kFailed}), Uninstall({IDRETRY, IDCANCEL}));
    }
    // The held file and every entry before it stay; so do the record and
    // the shortcuts, and with them the uninstall button.
    EXPECT_TRUE(testenv::FileExists(m_target + "\\" + heldEntry));
    EXPECT_FALSE(testenv::FileExists(m_target + "\\DOS4GW.EXE"));
    EXPECT_FALSE(testenv::DirExists(m_target + "\\LEVEL\\TIDE"));
    EXPECT_TRUE(Recorded());
    EXPECT_TRUE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL));

    // Released, the next removal finishes the work.
    EXPECT_EQ(std::vector<std::string>{kSucceeded}, Uninstall());
    ExpectRemoved(m_target);
}

TEST_F(UninstallE2E, NoToTheConfirmationChangesNothing)
{
    MakeInstallation(m_target, true);
    StartLauncher();
    // Behind the launcher's back the record goes: a refresh would now
    // disable the buttons, so they show whether one happened.
    DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);

    ASSERT_TRUE(install_driver::PressLauncherButton(m_launcher, IDC_UNINSTALL));
    ui::MessageBoxWatcher boxes(kAppCaption, {IDNO});
    ASSERT_TRUE(ui::WaitUntil([&] { return boxes.Answered() > 0 && IsWindowEnabled(m_launcher); }));
    EXPECT_EQ(std::vector<std::string>{kConfirm}, boxes.Texts());
    EXPECT_TRUE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL));
    EXPECT_EQ(static_cast<size_t>(CountEntries(FullFiles)), installed::PresentEntries(m_target, FullFiles).size());
    EXPECT_TRUE(testenv::FileExists(GroupFolder() + "\\Jex.lnk"));
}

// A record that points at a directory this program never installed into:
// the drive's root, or a user's folder that happens to hold files of the
// game's names. Nothing there may go.
struct ForeignDirectory {
    const char* name;
    std::string directory;
    std::vector<std::string> files;
    std::vector<std::string> emptyDirs;
};

class ForeignRecord : public UninstallE2E, public ::testing::WithParamInterface<ForeignDirectory> {
protected:
    void TearDown() override
    {
        UninstallE2E::TearDown();
        for (const std::string& file : GetParam().files)
            DeleteFileA((GetParam().directory + file).c_str());
        for (const std::string& dir : GetParam().emptyDirs)
            RemoveDirectoryA((GetParam().directory + dir).c_str());
        RemoveDirectoryA((GetParam().directory + "DATA").c_str());
    }
};

TEST_P(ForeignRecord, DeletesNothingAndRemovesTheRecordOnlyWhenAsked)
{
    const ForeignDirectory& c = GetParam();
    CreateDirectoryA(c.directory.c_str(), nullptr);
    CreateDirectoryA((c.directory + "DATA").c_str(), nullptr);
    for (const std::string& file : c.files)
        ASSERT_TRUE(installed::WriteFile(c.directory + file, "not the game's"));
    for (const std::string& dir : c.emptyDirs)
        ASSERT_TRUE(CreateDirectoryA((c.directory + dir).c_str(), nullptr));
    std::string recorded = c.directory;
    if (recorded.size() > 3)
        recorded.pop_back();
    CreateShortcuts(recorded, 'd');
    WriteInstallRecord(recorded, 'd', false);
    StartLauncher();

    const std::string question = "W katalogu '" + recorded +
                                 "' nie znaleziono zainstalowanego programu.\n"
                                 "Czy usunąć tylko wpisy programu w rejestrze i skróty w menu Start?";
    EXPECT_EQ(std::vector<std::string>{question}, Uninstall({IDNO}));
    EXPECT_TRUE(Recorded());
    EXPECT_EQ(nullptr, ui::FindTopWindow(kRemovalCaption));

    EXPECT_EQ(std::vector<std::string>{question}, Uninstall({IDYES}));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProductKeyPath));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKeyPath));
    EXPECT_FALSE(testenv::DirExists(GroupFolder()));
    EXPECT_FALSE(ui::IsItemEnabled(m_launcher, IDC_UNINSTALL));

    for (const std::string& file : c.files)
        EXPECT_EQ("not the game's", testenv::ReadFileBytes(c.directory + file)) << file;
    for (const std::string& dir : c.emptyDirs)
        EXPECT_TRUE(testenv::DirExists(c.directory + dir)) << dir;
}

INSTANTIATE_TEST_SUITE_P(
    Directories, ForeignRecord,
    ::testing::Values(
        ForeignDirectory{"DriveRoot", "C:\\", {"JEX.EXE", "DATA\\SFX.DAT"}, {"PLAYER", "LEVEL"}},
        ForeignDirectory{"UsersFolder", "C:\\jextest\\Moje dokumenty\\", {"JEX.EXE", "DATA\\ART_H.DAT"}, {"PLAYER"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The removal in this process, with its window refused by the system.
class NoWindowHost : public OperationHost {
public:
    HWND OwnerWindow() const override { return nullptr; }
    int ShowMessage(const char* text, UINT type) override { return MessageBoxA(nullptr, text, "", type); }
    bool IsInstalled() const override { return true; }
    bool EnsureCd() override { return true; }
    void RunConfig() override {}
    void RunGame() override {}
    void RefreshInstallState() override {}
};

LRESULT CALLBACK RefuseRemovalWindow(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (create->lpszName && HIWORD(reinterpret_cast<UINT_PTR>(create->lpszName)) &&
            std::string(create->lpszName) == kRemovalCaption)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(UninstallE2E, WindowThatCannotBeMadeChangesNothing)
{
    MakeInstallation(m_target, false);
    HHOOK hook = SetWindowsHookExA(WH_CBT, &RefuseRemovalWindow, nullptr, GetCurrentThreadId());
    ui::MessageBoxWatcher boxes(kAppCaption, {IDYES});
    NoWindowHost host;
    RunUninstall(host);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(std::vector<std::string>({kConfirm, kFailed}), boxes.Texts());
    EXPECT_EQ(static_cast<size_t>(CountEntries(PartialFiles)), installed::PresentEntries(m_target, PartialFiles).size());
    EXPECT_TRUE(Recorded());
}

} // namespace
