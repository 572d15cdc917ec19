// The removal window and its two steps, run in the test process on trees
// made on disk. Message boxes are answered from a second thread.

#include "install/UninstallProgressDialog.h"

#include "app/Globals.h"
#include "install/InstallManifest.h"
#include "resource.h"
#include "support/InstalledTree.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kAppCaption[] = "Program instalacyjny";

// Notes every application message box that shows while it lives and
// answers it with Cancel, so an unexpected question cannot hang a test.
class BoxWatcher {
public:
    BoxWatcher() : m_thread([this] { Run(); }) {}
    ~BoxWatcher() { Stop(); }

    // Stops watching; afterwards Seen() is stable.
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    const std::vector<ui::MessageBoxSeen>& Seen() const { return m_seen; }

private:
    void Run()
    {
        while (!m_stop) {
            ui::MessageBoxSeen box = ui::WaitForMessageBox(kAppCaption, 100);
            if (!box.window)
                continue;
            m_seen.push_back(box);
            ui::ClickItem(box.window, IDCANCEL);
            ui::WaitForWindowGone(box.window, 5000);
        }
    }

    std::atomic<bool> m_stop{false};
    std::vector<ui::MessageBoxSeen> m_seen;
    std::thread m_thread;
};

std::string ItemText(const UninstallProgressDialog& dialog, int id)
{
    return ui::GetItemText(dialog.m_hWnd, id);
}

class RemovalWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_target = testenv::ScratchDir("removal") + "\\Jex";
        std::strcpy(InstallPath, m_target.c_str());
        ASSERT_TRUE(m_dialog.Create(nullptr));
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        testenv::RemoveTree(testenv::ScratchDir("removal"));
        InstallPath[0] = '\0';
    }

    void MakeTree(const char* const* files)
    {
        std::string failed;
        ASSERT_TRUE(installed::MakeTree(m_target, ManifestDirectories, files, &failed)) << failed;
    }

    std::string m_target;
    UninstallProgressDialog m_dialog{nullptr};
};

TEST_F(RemovalWindow, OpensWithItsTextsAndAnEmptyBar)
{
    EXPECT_EQ("Usuwanie plików programu", ui::GetText(m_dialog.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(m_dialog.m_hWnd));
    EXPECT_EQ("Nazwa usuwanego pliku", ItemText(m_dialog, IDC_REMOVE_FILE_NAME));
    EXPECT_EQ("Opis usuwanego pliku", ItemText(m_dialog, IDC_REMOVE_DESCRIPTION));
    EXPECT_EQ(0, m_dialog.GetProgress());
    EXPECT_FALSE(ui::IsItemVisible(m_dialog.m_hWnd, IDCANCEL));

    // An empty table is a failed step that leaves the window as it was.
    const char* const empty[] = {nullptr};
    BoxWatcher boxes;
    EXPECT_FALSE(m_dialog.DeleteFiles(empty));
    EXPECT_TRUE(m_dialog.RemoveDirectories(empty));
    boxes.Stop();
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ("Opis usuwanego pliku", ItemText(m_dialog, IDC_REMOVE_DESCRIPTION));
}

TEST_F(RemovalWindow, DeletesEveryListedFileButTheInstallerCopy)
{
    for (const char* const* table : {PartialFiles, FullFiles}) {
        SCOPED_TRACE(table == FullFiles ? "full" : "partial");
        MakeTree(table);
        ASSERT_TRUE(installed::WriteFile(m_target + "\\jex.ini", "[]\r\n"));
        ASSERT_TRUE(installed::WriteFile(m_target + "\\DATA\\notes.txt", "mine"));

        BoxWatcher boxes;
        EXPECT_TRUE(m_dialog.DeleteFiles(table));
        boxes.Stop();
        EXPECT_TRUE(boxes.Seen().empty());

        EXPECT_EQ(std::vector<std::string>{kInstallerCopy}, installed::PresentEntries(m_target, table));
        EXPECT_TRUE(testenv::FileExists(m_target + "\\jex.ini"));
        EXPECT_TRUE(testenv::FileExists(m_target + "\\DATA\\notes.txt"));
        EXPECT_EQ(100, m_dialog.GetProgress());
        EXPECT_EQ("Usuwanie plików z katalogu \n'" + m_target + "'",
                  ItemText(m_dialog, IDC_REMOVE_DESCRIPTION));
        // The first entry of the table is the last one removed.
        EXPECT_EQ(table[0], ItemText(m_dialog, IDC_REMOVE_FILE_NAME));
    }
}

TEST_F(RemovalWindow, FilesAlreadyGoneCountAsRemoved)
{
    MakeTree(PartialFiles);
    ASSERT_TRUE(DeleteFileA((m_target + "\\JEX.EXE").c_str()));
    // A whole directory of listed files gone too.
    testenv::RemoveTree(m_target + "\\DATA");

    BoxWatcher boxes;
    EXPECT_TRUE(m_dialog.DeleteFiles(PartialFiles));
    boxes.Stop();
    for (const auto& box : boxes.Seen())
        ADD_FAILURE() << "unexpected question: " << box.text;
    EXPECT_EQ(std::vector<std::string>{kInstallerCopy},
              installed::PresentEntries(m_target, PartialFiles));
    EXPECT_EQ(100, m_dialog.GetProgress());
}

TEST_F(RemovalWindow, SkippedInstallerCopyStillBringsTheBarToFull)
{
    const char* const table[] = {kInstallerCopy, "JEX.EXE", nullptr};
    MakeTree(table);
    BoxWatcher boxes;
    EXPECT_TRUE(m_dialog.DeleteFiles(table));
    boxes.Stop();
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(100, m_dialog.GetProgress());
    // The skipped entry does not show in the window.
    EXPECT_EQ("JEX.EXE", ItemText(m_dialog, IDC_REMOVE_FILE_NAME));
    EXPECT_TRUE(testenv::FileExists(m_target + "\\" + kInstallerCopy));
    EXPECT_FALSE(testenv::FileExists(m_target + "\\JEX.EXE"));
}

TEST_F(RemovalWindow, RemovesOnlyEmptyDirectoriesThenTheEmptyTargetAndAncestors)
{
    const std::string scratch = testenv::ScratchDir("removal");
    ASSERT_TRUE(installed::WriteFile(scratch + "\\keep.txt", "stays"));
    m_target = scratch + "\\Kestrel Forge\\Jex";
    std::strcpy(InstallPath, m_target.c_str());

    // Files of the user's own keep their directories and the target.
    MakeTree(nullptr);
    ASSERT_TRUE(installed::WriteFile(m_target + "\\PLAYER\\save1.sav", "save"));
    ASSERT_TRUE(installed::WriteFile(m_target + "\\LEVEL\\REEF3\\custom.map", "map"));
    BoxWatcher boxes;
    EXPECT_TRUE(m_dialog.RemoveDirectories(ManifestDirectories));
    EXPECT_EQ(std::vector<std::string>({"LEVEL", "LEVEL\\REEF3", "PLAYER"}),
              installed::PresentEntries(m_target, ManifestDirectories));
    EXPECT_TRUE(testenv::FileExists(m_target + "\\PLAYER\\save1.sav"));
    EXPECT_TRUE(testenv::DirExists(m_target));
    EXPECT_EQ(100, m_dialog.GetProgress());
    EXPECT_EQ("Usuwanie podkatalogów", ItemText(m_dialog, IDC_REMOVE_DESCRIPTION));
    EXPECT_EQ(ManifestDirectories[0], ItemText(m_dialog, IDC_REMOVE_FILE_NAME));

    // Once everything is empty, the target and its empty parent go too; the
    // first ancestor that holds anything stays.
    DeleteFileA((m_target + "\\PLAYER\\save1.sav").c_str());
    DeleteFileA((m_target + "\\LEVEL\\REEF3\\custom.map").c_str());
    EXPECT_TRUE(m_dialog.RemoveDirectories(ManifestDirectories));
    boxes.Stop();
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_FALSE(testenv::DirExists(scratch + "\\Kestrel Forge"));
    EXPECT_TRUE(testenv::FileExists(scratch + "\\keep.txt"));
}

} // namespace
