#include "dirpick/BrowsePath.h"
#include "dirpick/InstallOptionsDialog.h"
#include "dirpick_testing.h"
#include "resource.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <functional>
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

// The options dialog run as a person would: `typed` goes into its target
// line; with `browsed`, the "..." browser opens and that text is typed into
// its path line and confirmed (or the browser cancelled when it is "-");
// then "Dalej >". A box that refuses the target is read and answered, and
// the dialog, still open, is cancelled.
struct OptionsRun {
    INT_PTR result = 0;
    std::string box;
    std::string targetLine; // after the box, or when the dialog ended
    std::string installPath;
};

// The box that refuses a target, once it or the end of `done` comes.
std::string AnswerRefusal(const std::function<bool()>& done)
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = ui::FindTopWindow(kAppBoxCaption)) != nullptr || done(); });
    if (!box)
        return std::string();
    std::string text = ui::GetItemText(box, ui::kMessageBoxTextId);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ui::WaitForWindowGone(box);
    return text;
}

OptionsRun RunOptions(const std::string& typed, const std::string& browsed)
{
    OptionsRun run;
    run.installPath = "C:\\Before\\Jex";
    bool full = false;
    InstallOptionsDialog options(run.installPath, full, 235, nullptr);
    run.result = RunDriven(options, [&] {
        HWND dialog = ui::WaitForWindow(kOptionsTitle);
        if (!dialog)
            return;
        ui::SetItemText(dialog, IDC_OPTIONS_TARGET, typed);
        if (browsed.empty()) {
            ui::ClickItem(dialog, IDOK);
            run.box = AnswerRefusal([&] { return !IsWindow(dialog); });
        } else {
            ui::ClickItem(dialog, IDC_OPTIONS_BROWSE);
            HWND browser = ui::WaitForWindow(kBrowseTitle);
            if (!browser)
                return;
            // The list's first notification rewrites the path line: wait for it.
            WaitUntil([&] { return ui::GetItemText(browser, IDC_BROWSE_PATH) != typed; }, 2000);
            const bool cancel = browsed == "-";
            if (!cancel)
                ui::SetItemText(browser, IDC_BROWSE_PATH, browsed);
            ui::ClickItem(browser, cancel ? IDCANCEL : IDOK);
            ui::WaitForWindowGone(browser);
            run.box = AnswerRefusal([&] {
                return cancel || ui::GetItemText(dialog, IDC_OPTIONS_TARGET) != typed;
            });
        }
        if (IsWindow(dialog)) {
            run.targetLine = ui::GetItemText(dialog, IDC_OPTIONS_TARGET);
            ui::ClickItem(dialog, IDCANCEL);
        }
    });
    return run;
}

struct TargetCase {
    const char* name;
    std::string typed;
    std::string browsed;  // empty: no browse; "-": browse cancelled
    std::string accepted; // the target taken, or empty when refused
    const char* refusal;  // the start of the refusing box, or null
};

class OptionsTarget : public ::testing::TestWithParam<TargetCase> {};

} // namespace

TEST_P(OptionsTarget, OnlyADirectoryOnADriveIsTakenAndNeverCut)
{
    const TargetCase& c = GetParam();
    const OptionsRun run = RunOptions(c.typed, c.browsed);
    if (c.refusal) {
        EXPECT_EQ(0u, run.box.rfind(c.refusal, 0)) << run.box;
        EXPECT_NE(std::string::npos, run.box.find("X:\\katalog")) << "the form expected is named";
    } else {
        EXPECT_EQ("", run.box);
    }
    if (!c.browsed.empty()) {
        // The browse leaves the dialog open with its result, or with what
        // was typed when the result was refused or the browse cancelled.
        const std::string shown = c.accepted.empty() ? c.typed : c.accepted;
        EXPECT_EQ(shown, run.targetLine);
        EXPECT_EQ(shown, run.installPath);
    } else if (c.accepted.empty()) {
        EXPECT_EQ(IDCANCEL, run.result);
        EXPECT_EQ(c.typed, run.targetLine) << "the text stays as typed";
        EXPECT_EQ("C:\\Before\\Jex", run.installPath);
    } else {
        EXPECT_EQ(IDOK, run.result);
        EXPECT_EQ(c.accepted, run.installPath);
    }
}

const std::string kLongest = "C:\\" + std::string(232, 'a'); // 235 characters

INSTANTIATE_TEST_SUITE_P(
    Targets, OptionsTarget,
    ::testing::Values(
        TargetCase{"Plain", "C:\\Gry\\Jex", "", "C:\\Gry\\Jex", nullptr},
        TargetCase{"PolishAndSpaces", "d:\\Gry i programy\\Zażółć Jex", "", "d:\\Gry i programy\\Zażółć Jex", nullptr},
        TargetCase{"LongestThatFits", kLongest, "", kLongest, nullptr},
        TargetCase{"DriveRoot", "C:\\", "", "", "Ścieżka 'C:\\' nie wskazuje katalogu na dysku."},
        TargetCase{"DriveAlone", "C:", "", "", "Ścieżka 'C:' nie wskazuje"},
        TargetCase{"Relative", "Gry\\Jex", "", "", "Ścieżka 'Gry\\Jex' nie wskazuje"},
        TargetCase{"Network", "\\\\serwer\\gry\\Jex", "", "", "Ścieżka '\\\\serwer\\gry\\Jex' nie wskazuje"},
        TargetCase{"Empty", "", "", "", "Nie podano katalogu docelowego."},
        TargetCase{"ForbiddenCharacter", "C:\\Gry\\Je?x", "", "", "Ścieżka 'C:\\Gry\\Je?x' zawiera znak niedozwolony"},
        TargetCase{"UpAndOut", "C:\\Gry\\..\\Windows", "", "", "Ścieżka 'C:\\Gry\\..\\Windows' zawiera niepoprawną nazwę"},
        TargetCase{"TrailingDot", "C:\\Gry\\Jex.", "", "", "Ścieżka 'C:\\Gry\\Jex.' zawiera niepoprawną nazwę"},
        TargetCase{"OneTooLong", kLongest + "b", "", "", "Ścieżka jest za długa: ma 236 znaków, a może mieć najwyżej 235."},
        TargetCase{"FarTooLong", "C:\\" + std::string(298, 'x'), "", "", "Ścieżka jest za długa: ma 301 znaków"},
        TargetCase{"BrowseAppendsJex", "C:\\Old", "D:\\Games", "D:\\Games\\Jex", nullptr},
        TargetCase{"BrowseAppendsJexAfterTheBackslash", "C:\\Old", "D:\\Games\\", "D:\\Games\\Jex", nullptr},
        TargetCase{"BrowseKeepsAPathWithJex", "C:\\Old", "D:\\Jex\\Old\\", "D:\\Jex\\Old\\", nullptr},
        TargetCase{"BrowseMindsTheCaseOfJex", "C:\\Old", "D:\\JEX\\", "D:\\JEX\\Jex", nullptr},
        TargetCase{"BrowseCancelled", "E:\\Typed\\Here", "-", "E:\\Typed\\Here", nullptr},
        TargetCase{"BrowseResultTooLong", "C:\\Old", "D:\\" + std::string(240, 'b'), "", "Ścieżka jest za długa"}),
    [](const auto& info) { return std::string(info.param.name); });
