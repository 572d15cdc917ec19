#include "app/Globals.h"
#include "dirpick/BrowsePath.h"
#include "dirpick/InstallOptionsDialog.h"
#include "dirpick_testing.h"
#include "resource.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace dirpick_testing;

namespace {

constexpr char kOptionsTitle[] = "Program instalacyjny - opcje instalacji";

// What the driver saw, checked on the test's thread afterwards.
struct Seen {
    bool dialog = false;
    std::string pathLine;
    std::string drive;
    std::string box;
    bool stillOpen = false;
    HWND focus = nullptr;
    HWND expectedFocus = nullptr;
};

std::string SelectedDriveText(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, IDC_BROWSE_DRIVES);
    int sel = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (sel < 0)
        return std::string();
    char text[300] = "";
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
    return text;
}

class Browse : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = testenv::ScratchDir("browse");
        SetCurrentDirectoryA("C:\\");
    }
    void TearDown() override
    {
        testenv::RemoveTree(m_root);
        testenv::UnmapAllExtraDrives();
    }
    std::string m_root;
};

} // namespace

TEST_F(Browse, NotificationReplacesThePathLineAndOkReturnsIt)
{
    MakeDirs(m_root + "\\Program Files");
    std::string initial = m_root + "\\Program Files\\Kestrel Forge\\Jex";
    CBrowsePath browser(nullptr, initial, kBrowseTitle);
    Seen seen;
    INT_PTR result = RunDriven(browser, [&] {
        HWND dialog = ui::WaitForWindow(kBrowseTitle);
        if (!dialog)
            return;
        seen.dialog = true;
        WaitForItemText(dialog, IDC_BROWSE_PATH, m_root + "\\Program Files\\");
        seen.pathLine = ui::GetItemText(dialog, IDC_BROWSE_PATH);
        seen.drive = SelectedDriveText(dialog);
        ui::ClickItem(dialog, IDOK);
    });
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(m_root + "\\Program Files\\", seen.pathLine);
    EXPECT_EQ(0u, seen.drive.rfind("c:\\", 0)) << seen.drive;
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(m_root + "\\Program Files\\", browser.m_strPath);
}

TEST_F(Browse, TypedPathIsReturnedExactlyAndEnterInThePathLinePressesOk)
{
    CBrowsePath browser(nullptr, m_root, "");
    Seen seen;
    INT_PTR result = RunDriven(browser, [&] {
        // An empty title keeps the template's.
        HWND dialog = ui::WaitForWindow("Wybierz katalog");
        if (!dialog)
            return;
        seen.dialog = true;
        WaitForItemText(dialog, IDC_BROWSE_PATH, m_root + "\\");
        ui::SetItemText(dialog, IDC_BROWSE_PATH, "D:\\Games");
        ui::PressKey(GetDlgItem(dialog, IDC_BROWSE_PATH), VK_RETURN);
    });
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("D:\\Games", browser.m_strPath);
}

TEST_F(Browse, EnterInTheListOpensTheDirectoryAndKeepsTheDialogOpen)
{
    MakeDirs(m_root + "\\games");
    CBrowsePath browser(nullptr, m_root, kBrowseTitle);
    Seen seen;
    INT_PTR result = RunDriven(browser, [&] {
        HWND dialog = ui::WaitForWindow(kBrowseTitle);
        if (!dialog)
            return;
        seen.dialog = true;
        WaitForItemText(dialog, IDC_BROWSE_PATH, m_root + "\\");
        HWND list = GetDlgItem(dialog, IDC_BROWSE_DIRS);
        // c:\ jextest\ browse\ games
        SendMessageA(list, LB_SETCURSEL, 3, 0);
        ui::PressKey(list, VK_RETURN);
        WaitForItemText(dialog, IDC_BROWSE_PATH, m_root + "\\games\\");
        seen.pathLine = ui::GetItemText(dialog, IDC_BROWSE_PATH);
        Sleep(200);
        seen.stillOpen = IsWindowVisible(dialog) != FALSE;
        ui::ClickItem(dialog, IDCANCEL);
    });
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(m_root + "\\games\\", seen.pathLine);
    EXPECT_TRUE(seen.stillOpen);
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(Browse, TabInTheListMovesOnAndEscapeCancels)
{
    CBrowsePath browser(nullptr, m_root, kBrowseTitle);
    Seen seen;
    INT_PTR result = RunDriven(browser, [&] {
        HWND dialog = ui::WaitForWindow(kBrowseTitle);
        if (!dialog)
            return;
        seen.dialog = true;
        DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
        HWND list = GetDlgItem(dialog, IDC_BROWSE_DIRS);
        GUITHREADINFO info = {sizeof info};
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        WaitUntil([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == list; });
        ui::PressKey(list, VK_TAB);
        // After the list in the tab order comes the drive list.
        seen.expectedFocus = GetDlgItem(dialog, IDC_BROWSE_DRIVES);
        WaitUntil([&] {
            return GetGUIThreadInfo(thread, &info) && info.hwndFocus == seen.expectedFocus;
        });
        seen.focus = info.hwndFocus;

        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        WaitUntil([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == list; });
        ui::PressKey(list, VK_ESCAPE);
        seen.stillOpen = !ui::WaitForWindowGone(dialog, 5000);
    });
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.expectedFocus, seen.focus);
    EXPECT_FALSE(seen.stillOpen);
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(Browse, UnreadableDriveAnsweredWithCancelKeepsTheShownDirectory)
{
    // A drive letter whose folder holds nothing at all.
    std::string empty = testenv::BuildDirUnix() + "/dirpick-drives/emptyroot";
    testenv::RemoveTree(testenv::WindowsPathOf(empty));
    MakeDirs(testenv::WindowsPathOf(empty));
    ASSERT_TRUE(testenv::MapFolder('p', empty, DRIVE_FIXED));

    CBrowsePath browser(nullptr, m_root, kBrowseTitle);
    Seen seen;
    std::string secondBox;
    INT_PTR result = RunDriven(browser, [&] {
        HWND dialog = ui::WaitForWindow(kBrowseTitle);
        if (!dialog)
            return;
        seen.dialog = true;
        WaitForItemText(dialog, IDC_BROWSE_PATH, m_root + "\\");
        HWND combo = GetDlgItem(dialog, IDC_BROWSE_DRIVES);
        LRESULT index = SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>("p:\\"));
        if (index < 0)
            return;
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_DRIVES, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(combo));
        seen.box = ui::AnswerMessageBox(kAppBoxCaption, IDRETRY).text;
        secondBox = ui::AnswerMessageBox(kAppBoxCaption, IDCANCEL).text;
        WaitUntil([&] { return SelectedDriveText(dialog).rfind("c:\\", 0) == 0; });
        seen.drive = SelectedDriveText(dialog);
        seen.pathLine = ui::GetItemText(dialog, IDC_BROWSE_PATH);
        ui::ClickItem(dialog, IDOK);
    });
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ("Nie mogę czytać katalogu p:\\ !", seen.box);
    EXPECT_EQ("Nie mogę czytać katalogu p:\\ !", secondBox); // asked again after Retry
    EXPECT_EQ(0u, seen.drive.rfind("c:\\", 0)) << seen.drive;
    EXPECT_EQ(m_root + "\\", seen.pathLine);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(m_root + "\\", browser.m_strPath);
}

namespace {

// Runs the options dialog, types `edit` into its target line, browses, types
// `typed` into the browser's path line and confirms it, then cancels the
// options dialog. Returns the options dialog's target line after the browse.
struct BrowseRun {
    std::string targetAfter;
    std::string box;
    bool browsed = false;
};

BrowseRun BrowseFromOptions(const std::string& edit, const std::string& typed, bool confirm = true)
{
    InstallOptionsDialog options(nullptr);
    BrowseRun run;
    RunDriven(options, [&] {
        HWND dialog = ui::WaitForWindow(kOptionsTitle);
        if (!dialog)
            return;
        ui::SetItemText(dialog, IDC_OPTIONS_TARGET, edit);
        ui::ClickItem(dialog, IDC_OPTIONS_BROWSE);
        HWND browser = ui::WaitForWindow(kBrowseTitle);
        if (!browser)
            return;
        run.browsed = true;
        // Let the list's first notification pass before typing.
        Sleep(300);
        ui::SetItemText(browser, IDC_BROWSE_PATH, typed);
        ui::ClickItem(browser, confirm ? IDOK : IDCANCEL);
        ui::WaitForWindowGone(browser);
        // Either the target line takes the result or a message refuses it.
        HWND box = nullptr;
        WaitUntil([&] {
            if (!confirm)
                return true;
            box = ui::FindTopWindow(kAppBoxCaption);
            return box || ui::GetItemText(dialog, IDC_OPTIONS_TARGET) != edit;
        });
        if (box) {
            run.box = ui::GetItemText(box, ui::kMessageBoxTextId);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            ui::WaitForWindowGone(box);
        }
        run.targetAfter = ui::GetItemText(dialog, IDC_OPTIONS_TARGET);
        ui::ClickItem(dialog, IDCANCEL);
    });
    return run;
}

class BrowseTarget : public ::testing::Test {
protected:
    void SetUp() override { std::strcpy(InstallPath, "C:\\Before\\Jex"); }
    void TearDown() override { InstallPath[0] = '\0'; }
};

} // namespace

TEST_F(BrowseTarget, AppendsJexWithABackslashBetween)
{
    auto run = BrowseFromOptions("C:\\Old", "D:\\Games");
    ASSERT_TRUE(run.browsed);
    EXPECT_STREQ("D:\\Games\\Jex", InstallPath);
    EXPECT_EQ("D:\\Games\\Jex", run.targetAfter);

    run = BrowseFromOptions("C:\\Old", "D:\\Games\\");
    EXPECT_STREQ("D:\\Games\\Jex", InstallPath);
}

TEST_F(BrowseTarget, KeepsAPathThatContainsJexAnywhere)
{
    auto run = BrowseFromOptions("C:\\Old", "D:\\Jex\\Old\\");
    ASSERT_TRUE(run.browsed);
    EXPECT_STREQ("D:\\Jex\\Old\\", InstallPath);
    EXPECT_EQ("D:\\Jex\\Old\\", run.targetAfter);

    // The search minds the case.
    run = BrowseFromOptions("C:\\Old", "D:\\JEX\\");
    EXPECT_STREQ("D:\\JEX\\Jex", InstallPath);
}

TEST_F(BrowseTarget, CancelledBrowseKeepsTheTypedTarget)
{
    auto run = BrowseFromOptions("E:\\Typed\\Here", "D:\\Ignored", false);
    ASSERT_TRUE(run.browsed);
    EXPECT_STREQ("E:\\Typed\\Here", InstallPath);
    EXPECT_EQ("E:\\Typed\\Here", run.targetAfter);
}

TEST_F(BrowseTarget, RefusesAResultLongerThan255Characters)
{
    // 251 characters and "\Jex" make 255: still taken.
    std::string fits = "D:\\" + std::string(248, 'a');
    auto run = BrowseFromOptions("C:\\Old", fits);
    ASSERT_TRUE(run.browsed);
    EXPECT_EQ("", run.box);
    EXPECT_EQ(fits + "\\Jex", std::string(InstallPath));

    std::string tooLong = fits + "b";
    run = BrowseFromOptions("C:\\Old", tooLong);
    EXPECT_EQ("Ścieżka jest za długa.", run.box);
    EXPECT_STREQ("C:\\Old", InstallPath); // what the target line held
    EXPECT_EQ("C:\\Old", run.targetAfter);
}
