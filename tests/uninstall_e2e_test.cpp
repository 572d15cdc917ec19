// The uninstall button of the real install.exe, driven through its windows.
// An "installed" state is made by the test itself (tree, shortcuts, record)
// unless a test installs through the launcher on purpose.

#include "app/Globals.h"
#include "install/InstallManifest.h"
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

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using install_driver::kLauncherBoxCaption;
using install_driver::kLauncherCaption;
using install_driver::kOptionsCaption;
constexpr const char* kAppCaption = install_driver::kAppTitle;
constexpr char kRemovalCaption[] = "Usuwanie plików programu";

constexpr char kConfirm[] = "Usunąć program 'Jex'?";
constexpr char kFailed[] = "Wystąpił błąd w trakcie usuwania programu.";
constexpr char kSucceeded[] = "Odinstalowanie zostało zakończone pomyślnie.";

constexpr int kRecordButtons[] = {IDC_UNINSTALL, IDC_CONFIG, IDC_GAME};

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = ui::kDefaultTimeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

bool KeyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

int BarPosition(HWND window)
{
    DWORD_PTR position = 0;
    SendMessageTimeoutA(GetDlgItem(window, IDC_REMOVE_BAR), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                        5000, &position);
    return static_cast<int>(position);
}

std::string StartMenuMaker()
{
    return installed::ProgramsFolder() + "\\Kestrel Forge";
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
        if (m_launcher) {
            PostMessageA(m_launcher, WM_CLOSE, 0, 0);
            m_process.WaitForExit(5000);
        }
        m_process.Kill();
        Forget();
        testenv::RemoveTree(m_scratch);
        testenv::UnmapAllExtraDrives();
    }

    static void Forget()
    {
        DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);
        DeleteRegKeyTree(HKEY_LOCAL_MACHINE, UninstallKeyPath);
        testenv::RemoveTree(StartMenuMaker());
    }

    // An installation of the given kind in `target`, as an earlier run of
    // the program would have left it: files, jex.ini, shortcuts, record.
    void MakeInstallation(const std::string& target, bool full)
    {
        std::string failed;
        ASSERT_TRUE(installed::MakeTree(target, ManifestDirectories, full ? FullFiles : PartialFiles,
                                        &failed))
            << failed;
        std::strcpy(InstallPath, target.c_str());
        std::strcpy(CdLetter, "d");
        FullInstall = full ? 1 : 0;
        CreateShortcuts();
        WriteInstallRecord();
        ASSERT_TRUE(testenv::FileExists(GroupFolder() + "\\Jex.lnk"));
        ASSERT_TRUE(testenv::FileExists(target + "\\jex.ini"));
    }

    static std::string GroupFolder() { return StartMenuMaker() + "\\Jex"; }

    void StartLauncher()
    {
        ASSERT_TRUE(m_process.Start(testenv::InstallExe(), m_scratch));
        m_launcher = ui::WaitForWindow(kLauncherCaption);
        ASSERT_NE(nullptr, m_launcher) << "no launcher window";
    }

    // Presses the uninstall button and says "Tak" to the confirmation.
    void PressUninstallAndConfirm()
    {
        ASSERT_TRUE(WaitUntil([&] { return ui::IsItemEnabled(m_launcher, IDC_UNINSTALL); }))
            << "the uninstall button stays disabled";
        ASSERT_TRUE(ui::ClickItem(m_launcher, IDC_UNINSTALL));
        ui::MessageBoxSeen box = ui::AnswerMessageBox(kAppCaption, IDYES);
        ASSERT_NE(nullptr, box.window) << "no confirmation";
        EXPECT_EQ(kConfirm, box.text);
    }

    // Waits for the success message and checks the removal window behind
    // it, then closes the message.
    void ExpectSuccessMessage()
    {
        ui::MessageBoxSeen box = ui::WaitForMessageBox(kAppCaption);
        ASSERT_NE(nullptr, box.window) << "no message after the removal";
        EXPECT_EQ(kSucceeded, box.text);
        HWND removal = ui::FindTopWindow(kRemovalCaption);
        EXPECT_NE(nullptr, removal) << "the removal window is gone before the message";
        if (removal) {
            EXPECT_EQ(100, BarPosition(removal)) << "the directory step ends short of full";
            EXPECT_EQ("Usuwanie podkatalogów", ui::GetItemText(removal, IDC_REMOVE_DESCRIPTION));
        }
        ui::ClickItem(box.window, IDOK);
        ASSERT_TRUE(ui::WaitForWindowGone(box.window));
        EXPECT_TRUE(WaitUntil([] { return ui::FindTopWindow(kRemovalCaption) == nullptr; }))
            << "the removal window stays";
    }

    // The state after a complete removal of the installation in `target`.
    void ExpectRemoved(const std::string& target)
    {
        EXPECT_EQ(std::vector<std::string>{kInstallerCopy}, installed::PresentEntries(target, FullFiles));
        EXPECT_TRUE(installed::PresentEntries(target, ManifestDirectories).empty());
        EXPECT_TRUE(testenv::FileExists(target + "\\jex.ini"));
        EXPECT_TRUE(testenv::DirExists(target));
        EXPECT_FALSE(testenv::DirExists(GroupFolder()));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProductKeyPath));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKeyPath));
        EXPECT_TRUE(WaitUntil([&] {
            for (int id : kRecordButtons) {
                if (ui::IsItemEnabled(m_launcher, id))
                    return false;
            }
            return true;
        })) << "buttons left enabled after the removal";
    }

    // Installs through the launcher: options dialog, copy, closing questions.
    void InstallThroughLauncher(const std::string& target, bool full)
    {
        ASSERT_TRUE(ui::ClickItem(m_launcher, IDC_INSTALL));
        HWND options = ui::WaitForWindow(kOptionsCaption);
        ASSERT_NE(nullptr, options) << "no options dialog";
        ASSERT_TRUE(ui::SetItemText(options, IDC_OPTIONS_TARGET, target));
        ASSERT_TRUE(ui::ClickItem(options, full ? IDC_OPTIONS_FULL : IDC_OPTIONS_PARTIAL));
        ASSERT_TRUE(WaitUntil([&] {
            return ui::GetItemCheck(options, full ? IDC_OPTIONS_FULL : IDC_OPTIONS_PARTIAL) ==
                   BST_CHECKED;
        }));
        ASSERT_TRUE(ui::ClickItem(options, IDOK));
        ui::MessageBoxSeen done = ui::AnswerMessageBox(kAppCaption, IDNO, 60000);
        ASSERT_NE(nullptr, done.window) << "the installation did not finish";
        ASSERT_EQ(0u, done.text.rfind("Instalacja zakończona pomyślnie.", 0)) << done.text;
        ASSERT_NE(nullptr, ui::AnswerMessageBox(kAppCaption, IDNO).window) << "no game question";
        ASSERT_TRUE(WaitUntil([&] { return ui::IsItemEnabled(m_launcher, IDC_UNINSTALL); }));
    }

    std::string m_scratch;
    std::string m_target;
    ui::Process m_process;
    HWND m_launcher = nullptr;
};

TEST_F(UninstallE2E, RemovesPartialAndFullInstallationsOfAnEarlierRun)
{
    for (bool full : {false, true}) {
        SCOPED_TRACE(full ? "full" : "partial");
        MakeInstallation(m_target, full);
        // A fresh run of the program: the kind comes from the record alone.
        StartLauncher();
        PressUninstallAndConfirm();
        ExpectSuccessMessage();
        ExpectRemoved(m_target);
        // The target's empty ancestor stays only because of the target.
        EXPECT_TRUE(testenv::DirExists(m_scratch + "\\Kestrel Forge"));

        PostMessageA(m_launcher, WM_CLOSE, 0, 0);
        EXPECT_GE(m_process.WaitForExit(), 0);
        m_launcher = nullptr;
        m_process.Kill();
    }
}

TEST_F(UninstallE2E, RemovesInstallationsMadeInTheSameRun)
{
    ASSERT_TRUE(testenv::MapCd('d'));
    StartLauncher();
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "full" : "partial");
        const std::string target = m_scratch + (full ? "\\Full" : "\\Partial") + "\\Jex";
        InstallThroughLauncher(target, full);
        const char* const* table = full ? FullFiles : PartialFiles;
        ASSERT_EQ(static_cast<size_t>(CountEntries(table)),
                  installed::PresentEntries(target, table).size());
        PressUninstallAndConfirm();
        ExpectSuccessMessage();
        ExpectRemoved(target);
    }
}

TEST_F(UninstallE2E, CancelledOptionsDialogDoesNotRedirectTheRemoval)
{
    // Another directory with files of the game's names, never installed.
    const std::string decoy = m_scratch + "\\Elsewhere";
    std::string failed;
    ASSERT_TRUE(installed::MakeTree(decoy, ManifestDirectories, FullFiles, &failed)) << failed;
    MakeInstallation(m_target, true);
    ASSERT_TRUE(testenv::MapCd('d'));
    StartLauncher();

    // Install, go on over the recorded one, type the other directory, browse
    // (which takes the typed text as the target), cancel both dialogs.
    ASSERT_TRUE(ui::ClickItem(m_launcher, IDC_INSTALL));
    ASSERT_NE(nullptr, ui::AnswerMessageBox(kLauncherBoxCaption, IDOK).window)
        << "no already-installed question";
    HWND options = ui::WaitForWindow(kOptionsCaption);
    ASSERT_NE(nullptr, options);
    ASSERT_TRUE(ui::SetItemText(options, IDC_OPTIONS_TARGET, decoy));
    ASSERT_TRUE(ui::ClickItem(options, IDC_OPTIONS_BROWSE));
    HWND browser = ui::WaitForWindow("Program instalacyjny - wybór katalogu");
    ASSERT_NE(nullptr, browser) << "no directory browser";
    ASSERT_TRUE(ui::ClickItem(browser, IDCANCEL));
    ASSERT_TRUE(ui::WaitForWindowGone(browser));
    ASSERT_TRUE(ui::ClickItem(options, IDCANCEL));
    ui::MessageBoxSeen stopped = ui::AnswerMessageBox(kAppCaption, IDOK);
    ASSERT_EQ("Instalacja programu została przerwana.", stopped.text);

    PressUninstallAndConfirm();
    ExpectSuccessMessage();
    ExpectRemoved(m_target);
    EXPECT_EQ(CountEntries(FullFiles),
              static_cast<int>(installed::PresentEntries(decoy, FullFiles).size()));
    EXPECT_EQ(CountEntries(ManifestDirectories),
              static_cast<int>(installed::PresentEntries(decoy, ManifestDirectories).size()));
}

TEST_F(UninstallE2E, UserFilesAndFilesAlreadyGoneRaiseNoQuestion)
{
    MakeInstallation(m_target, true);
    ASSERT_TRUE(installed::WriteFile(m_target + "\\PLAYER\\save1.sav", "save"));
    ASSERT_TRUE(installed::WriteFile(m_target + "\\LEVEL\\MOSS2\\mine.map", "map"));
    ASSERT_TRUE(DeleteFileA((m_target + "\\JEX.EXE").c_str()));
    StartLauncher();
    PressUninstallAndConfirm();
    // The very next message is the success.
    ExpectSuccessMessage();

    EXPECT_EQ(std::vector<std::string>{kInstallerCopy}, installed::PresentEntries(m_target, FullFiles));
    EXPECT_EQ(std::vector<std::string>({"LEVEL", "LEVEL\\MOSS2", "PLAYER"}),
              installed::PresentEntries(m_target, ManifestDirectories));
    EXPECT_TRUE(testenv::FileExists(m_target + "\\PLAYER\\save1.sav"));
    EXPECT_TRUE(testenv::FileExists(m_target + "\\LEVEL\\MOSS2\\mine.map"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProductKeyPath));
}

TEST_F(UninstallE2E, FileHeldByAnotherProgramAsksAndRetryRemovesItOnceReleased)
{
    MakeInstallation(m_target, false);
    // The first entry is removed last: its question shows the bar short of full.
    const char* heldEntry = PartialFiles[0];
    installed::HeldFile held(m_target + "\\" + heldEntry);
    ASSERT_TRUE(held.IsHeld());
    StartLauncher();
    PressUninstallAndConfirm();

    const std::string question = std::string("Błąd przy usuwaniu pliku '") + heldEntry + "'";
    ui::MessageBoxSeen box = ui::WaitForMessageBox(kAppCaption);
    ASSERT_EQ(question, box.text);
    HWND removal = ui::FindTopWindow(kRemovalCaption);
    ASSERT_NE(nullptr, removal);
    EXPECT_EQ(heldEntry, ui::GetItemText(removal, IDC_REMOVE_FILE_NAME));
    const int barAtQuestion = BarPosition(removal);
    EXPECT_GT(barAtQuestion, 0);
    EXPECT_LT(barAtQuestion, 100);

    // Retry while the file is still held asks again.
    ui::ClickItem(box.window, IDRETRY);
    ASSERT_TRUE(ui::WaitForWindowGone(box.window));
    box = ui::WaitForMessageBox(kAppCaption);
    ASSERT_EQ(question, box.text);

    held.Release();
    ui::ClickItem(box.window, IDRETRY);
    ASSERT_TRUE(ui::WaitForWindowGone(box.window));
    ExpectSuccessMessage();
    ExpectRemoved(m_target);
}

TEST_F(UninstallE2E, CancelAtAHeldFileLeavesTheRestAndStillReportsSuccess)
{
    MakeInstallation(m_target, true);
    const int heldIndex = 40; // a file of one of the level directories
    const std::string heldEntry = FullFiles[heldIndex];
    installed::HeldFile held(m_target + "\\" + heldEntry);
    ASSERT_TRUE(held.IsHeld());
    StartLauncher();
    PressUninstallAndConfirm();

    ui::MessageBoxSeen box = ui::AnswerMessageBox(kAppCaption, IDCANCEL);
    ASSERT_EQ("Błąd przy usuwaniu pliku '" + heldEntry + "'", box.text);
    box = ui::AnswerMessageBox(kAppCaption, IDOK);
    ASSERT_EQ(kFailed, box.text);
    ExpectSuccessMessage();
    held.Release();

    // Removal runs from the last entry: the held file and every entry
    // before it stay, with the directories that hold them.
    std::vector<std::string> expected(FullFiles, FullFiles + heldIndex + 1);
    expected.push_back(kInstallerCopy);
    EXPECT_EQ(expected, installed::PresentEntries(m_target, FullFiles));
    EXPECT_TRUE(testenv::DirExists(m_target + "\\DATA"));
    EXPECT_TRUE(testenv::DirExists(m_target + "\\LEVEL\\FERN1"));
    EXPECT_FALSE(testenv::DirExists(m_target + "\\LEVEL\\TIDE"));
    EXPECT_FALSE(testenv::DirExists(m_target + "\\PLAYER"));
    // The rest of the removal ran as usual.
    EXPECT_FALSE(testenv::DirExists(GroupFolder()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProductKeyPath));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKeyPath));
    EXPECT_TRUE(WaitUntil([&] { return !ui::IsItemEnabled(m_launcher, IDC_UNINSTALL); }));
}

TEST_F(UninstallE2E, NoToTheConfirmationChangesNothing)
{
    MakeInstallation(m_target, true);
    StartLauncher();
    ASSERT_TRUE(WaitUntil([&] { return ui::IsItemEnabled(m_launcher, IDC_UNINSTALL); }));
    // Behind the launcher's back the record goes: a refresh would now
    // disable the buttons, so they show whether one happened.
    DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);

    ASSERT_TRUE(ui::ClickItem(m_launcher, IDC_UNINSTALL));
    ui::MessageBoxSeen box = ui::AnswerMessageBox(kAppCaption, IDNO);
    ASSERT_EQ(kConfirm, box.text);
    // Nothing more follows.
    EXPECT_EQ(nullptr, ui::WaitForMessageBox(kAppCaption, 1500).window);
    EXPECT_EQ(nullptr, ui::FindTopWindow(kRemovalCaption));

    for (int id : kRecordButtons)
        EXPECT_TRUE(ui::IsItemEnabled(m_launcher, id)) << id;
    EXPECT_EQ(static_cast<size_t>(CountEntries(FullFiles)),
              installed::PresentEntries(m_target, FullFiles).size());
    EXPECT_EQ(static_cast<size_t>(CountEntries(ManifestDirectories)),
              installed::PresentEntries(m_target, ManifestDirectories).size());
    EXPECT_TRUE(testenv::FileExists(GroupFolder() + "\\Jex.lnk"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKeyPath));
}

} // namespace
