// Choosing the target directory: the rule a target must follow, the options
// dialog that applies it, and the directory browser with its directory list
// and drive list, in this process; modal runs are driven from a second
// thread as a person would.
#include "dirpick/BrowsePath.h"
#include "dirpick/InstallOptionsDialog.h"
#include "dirpick/TargetPath.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

using install_driver::kAppTitle;
using install_driver::kBrowserCaption;
using Strings = std::vector<std::string>;
const std::string kRoot = "C:\\jextest\\dirpick";

// --- The target rule, without a window: only X:\dir..., nothing Windows
// would refuse or change, short enough; a refusal names the expected form.
struct TargetCase {
    const char* name;
    std::string typed;
    const char* refusal; // the start of the message, or null when taken
};

class TargetRules : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetRules, OnlyADirectoryOnADriveShortEnough)
{
    const TargetCase& c = GetParam();
    const std::string problem = TargetPathProblem(c.typed, 235);
    if (!c.refusal) {
        EXPECT_EQ("", problem);
    } else {
        EXPECT_EQ(0u, problem.rfind(c.refusal, 0)) << problem;
        EXPECT_NE(std::string::npos, problem.find("X:\\katalog")) << "the expected form is not named: " << problem;
    }
}

const std::string kLongest = "C:\\" + std::string(232, 'a'); // 235 characters

INSTANTIATE_TEST_SUITE_P(
    Dirpick, TargetRules,
    ::testing::Values(
        TargetCase{"Plain", "C:\\Gry\\Jex", nullptr},
        TargetCase{"PolishAndSpaces", "d:\\Gry i programy\\Zażółć Jex", nullptr},
        TargetCase{"LongestThatFits", kLongest, nullptr},
        TargetCase{"DriveRoot", "C:\\", "Ścieżka 'C:\\' nie wskazuje katalogu na dysku."},
        TargetCase{"DriveAlone", "C:", "Ścieżka 'C:' nie wskazuje"},
        TargetCase{"Relative", "Gry\\Jex", "Ścieżka 'Gry\\Jex' nie wskazuje"},
        TargetCase{"Network", "\\\\serwer\\gry\\Jex", "Ścieżka '\\\\serwer\\gry\\Jex' nie wskazuje"},
        TargetCase{"Empty", "", "Nie podano katalogu docelowego."},
        TargetCase{"ForbiddenCharacter", "C:\\Gry\\Je?x", "Ścieżka 'C:\\Gry\\Je?x' zawiera znak niedozwolony"},
        TargetCase{"UpAndOut", "C:\\Gry\\..\\Windows", "Ścieżka 'C:\\Gry\\..\\Windows' zawiera niepoprawną nazwę"},
        TargetCase{"TrailingDot", "C:\\Gry\\Jex.", "Ścieżka 'C:\\Gry\\Jex.' zawiera niepoprawną nazwę"},
        TargetCase{"OneTooLong", kLongest + "b", "Ścieżka jest za długa: ma 236 znaków, a może mieć najwyżej 235."},
        // Longer than any edit box would take: refused whole, never cut.
        TargetCase{"FarTooLong", "C:\\" + std::string(298, 'x'), "Ścieżka jest za długa: ma 301 znaków"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The options dialog: `typed` goes into its target line; with
// `browsed`, the "..." browser opens and that text is typed into its path
// line and confirmed ("-": the browser is cancelled); without, "Dalej >".
// A refusal leaves the dialog open with the text as typed; whatever is left
// open is cancelled.
struct OptionsCase {
    const char* name;
    std::string typed, browsed;
    std::string taken;   // empty: refused
    const char* refusal; // the start of the box, or null
};

class OptionsDialog : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(OptionsDialog, TakesOnlyATargetThatWillDo)
{
    const OptionsCase& c = GetParam();
    std::string installPath = "C:\\Before\\Jex", line;
    bool full = false;
    InstallOptionsDialog options(installPath, full, 235, nullptr);
    ui::MessageBoxWatcher boxes(kAppTitle);
    const INT_PTR result = ui::RunModal(options, [&](HWND dialog) {
        ui::WaitForWindow(install_driver::kOptionsCaption);
        ui::SetItemText(dialog, IDC_OPTIONS_TARGET, c.typed);
        if (c.browsed.empty()) {
            ui::ClickItem(dialog, IDOK);
        } else {
            ui::ClickItem(dialog, IDC_OPTIONS_BROWSE);
            HWND browser = ui::WaitForWindow(kBrowserCaption);
            // The list's first notification rewrites the path line: wait for it.
            ui::WaitUntil([&] { return ui::GetItemText(browser, IDC_BROWSE_PATH) != c.typed; });
            if (c.browsed != "-")
                ui::SetItemText(browser, IDC_BROWSE_PATH, c.browsed);
            ui::ClickItem(browser, c.browsed == "-" ? IDCANCEL : IDOK);
            ui::WaitForWindowGone(browser);
            ui::WaitUntilResponding(dialog);
        }
        if (c.refusal)
            ui::WaitUntil([&] { return boxes.Answered() > 0; });
        else if (c.browsed.empty())
            ui::WaitForWindowGone(dialog);
        ui::WaitUntil([] { return !ui::FindTopWindow(kAppTitle); }); // any box answered and counted
        line = ui::GetItemText(dialog, IDC_OPTIONS_TARGET);
    });
    const Strings texts = boxes.Texts();
    ASSERT_EQ(c.refusal ? 1u : 0u, texts.size());
    EXPECT_TRUE(!c.refusal || texts[0].rfind(c.refusal, 0) == 0) << texts[0];
    // Left open, the line shows what was taken or what was typed; a browse
    // has already made that the installation's target.
    const bool confirmed = c.browsed.empty() && !c.refusal;
    const std::string shown = c.refusal ? c.typed : c.taken;
    EXPECT_EQ(confirmed ? IDOK : IDCANCEL, result);
    EXPECT_TRUE(confirmed || shown == line) << line;
    EXPECT_EQ(c.browsed.empty() && c.refusal ? "C:\\Before\\Jex" : shown, installPath);
}

INSTANTIATE_TEST_SUITE_P(
    Dirpick, OptionsDialog,
    ::testing::Values(OptionsCase{"Refused", "C:\\", "", "", "Ścieżka 'C:\\' nie wskazuje"},
                      OptionsCase{"Taken", "C:\\Gry\\Jex", "", "C:\\Gry\\Jex", nullptr},
                      OptionsCase{"BrowseAppendsJex", "C:\\Old", "D:\\Games", "D:\\Games\\Jex", nullptr},
                      OptionsCase{"BrowseAppendsJexAfterTheBackslash", "C:\\Old", "D:\\Games\\", "D:\\Games\\Jex", nullptr},
                      OptionsCase{"BrowseKeepsAPathWithJex", "C:\\Old", "D:\\Jex\\Old\\", "D:\\Jex\\Old\\", nullptr},
                      OptionsCase{"BrowseCancelled", "C:\\Typed\\Here", "-", "C:\\Typed\\Here", nullptr},
                      OptionsCase{"BrowseResultTooLong", "C:\\Old", "D:\\" + std::string(240, 'b'), "", "Ścieżka jest za długa"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The browser and its two lists. A tree under C:\jextest\dirpick, and
// drives p: (subdirectories "gry" and "Dane") and o: (nothing at all).
class Browser : public ::testing::Test {
protected:
    void SetUp() override { testenv::ScratchDir("dirpick"), SetCurrentDirectoryA("C:\\"); }
    void TearDown() override { SetCurrentDirectoryA("C:\\"), m_browser.reset(), testenv::RemoveTree(kRoot), testenv::UnmapAllExtraDrives(); }

    // A folder of the build tree mapped as a drive, with these subdirectories.
    static void MapDrive(char letter, const std::string& name, const Strings& subdirs, UINT type = DRIVE_FIXED)
    {
        const std::string unix = testenv::BuildDirUnix() + "/dirpick-drives/" + name;
        testenv::RemoveTree(testenv::WindowsPathOf(unix));
        testenv::MakeDirs(testenv::WindowsPathOf(unix));
        for (const std::string& subdir : subdirs)
            testenv::MakeDirs(testenv::WindowsPathOf(unix) + "\\" + subdir);
        ASSERT_TRUE(testenv::MapFolder(letter, unix, type));
    }
    // A modeless browser on this thread.
    CBrowsePath& Open(const std::string& initialDir)
    {
        m_browser = std::make_unique<CBrowsePath>(nullptr, initialDir, "");
        EXPECT_TRUE(m_browser->Create());
        return *m_browser;
    }
    // The path line once the posted notifications are handled.
    std::string PathLine()
    {
        ui::Pump();
        return ui::GetItemText(*m_browser, IDC_BROWSE_PATH);
    }
    // The list as it looks: path components, "|", subdirectories; an entry
    // out of its indentation is marked.
    std::string Shown() const
    {
        const DirListBox& list = m_browser->m_wndDirs;
        std::string shown;
        int components = 0;
        for (int i = 0; i < list.GetCount(); ++i) {
            const auto* item = reinterpret_cast<const DirItem*>(list.GetItemData(i));
            shown += std::string(shown.empty() ? "" : " ") + (!item->isPathItem && components == i ? "| " : "") + item->name;
            if (item->level != (item->isPathItem ? i : components))
                shown += "(level " + std::to_string(item->level) + ")";
            components += item->isPathItem;
        }
        return shown;
    }

    std::unique_ptr<CBrowsePath> m_browser;
};

// What the directory list shows for a start: the existing part of a path,
// spelled as given, and the subdirectories; a drive that cannot be read
// leaves it empty without a word.
struct ShowCase {
    const char* name;
    const char* currentDir;
    std::string initialDir;
    const char* fill; // a path given to the list afterwards, or null
    const char* shown;
    const char* directory;
    const char* drive; // selected in the drive list
};

class DirListShows : public Browser, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(DirListShows, TheExistingPartOfThePath)
{
    const ShowCase& c = GetParam();
    testenv::MakeDirs(kRoot + "\\games\\Alpha");
    testenv::MakeDirs(kRoot + "\\games\\data");
    MapDrive('p', "drive-p", {"gry", "Dane"});
    MapDrive('o', "drive-o", {});
    ASSERT_TRUE(SetCurrentDirectoryA(c.currentDir));
    ui::MessageBoxWatcher boxes(kAppTitle, {}, IDCANCEL);
    Open(c.initialDir);
    if (c.fill)
        m_browser->m_wndDirs.FillDirectory(c.fill);
    else
        EXPECT_EQ(c.directory, PathLine());
    EXPECT_EQ(c.shown, Shown());
    EXPECT_EQ(c.directory, m_browser->m_wndDirs.GetDirectory());
    EXPECT_EQ(c.drive, m_browser->m_wndDrives.SelectedDrive());
    EXPECT_EQ(Strings{}, boxes.Texts());
}

INSTANTIATE_TEST_SUITE_P(
    Dirpick, DirListShows,
    ::testing::Values(
        ShowCase{"PartlyExisting", "C:\\", "c:\\JEXTEST\\dirpick\\games\\dat\\x", nullptr,
                 "c:\\ JEXTEST\\ dirpick\\ games\\ | Alpha data", "c:\\JEXTEST\\dirpick\\games\\", "c:\\"},
        ShowCase{"WithoutTrailingBackslash", "C:\\", kRoot + "\\games", nullptr,
                 "C:\\ jextest\\ dirpick\\ games\\ | Alpha data", "C:\\jextest\\dirpick\\games\\", "c:\\"},
        ShowCase{"EmptyInitialDirectory", "C:\\jextest\\dirpick\\games", "", nullptr,
                 "C:\\ jextest\\ dirpick\\ games\\ | Alpha data", "C:\\jextest\\dirpick\\games\\", "c:\\"},
        ShowCase{"DriveRoot", "C:\\", "p:\\", nullptr, "p:\\ | Dane gry", "p:\\", "p:\\"},
        // The root of the current drive.
        ShowCase{"EmptyPath", "p:\\", kRoot, "", "\\ | Dane gry", "\\", "c:\\"},
        // The drive list stays on the drive of the current directory.
        ShowCase{"UnreadableDrive", "Z:\\", "q:\\games\\jex", nullptr, "", "\\", "z:\\"},
        ShowCase{"EmptyDriveRoot", "C:\\", "o:\\", nullptr, "", "\\", "c:\\"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Browser, SubdirectoriesInPolishOrderWithoutHiddenOnesOrFiles)
{
    // Byte order would put every Polish initial after "z", and the order in
    // which Wine lists a directory puts "_" after the letters.
    const Strings names = {"Źródła", "windows", "podkatalogi", "podkatalog_c", "Ósemka",
                           "mapy", "Łąka", "dane", "Ćwiczenia", "biblioteka", ".config", "ukryty"};
    for (const std::string& name : names)
        testenv::MakeDirs(kRoot + "\\lista\\" + name);
    SetFileAttributesA((kRoot + "\\lista\\ukryty").c_str(), FILE_ATTRIBUTE_HIDDEN);
    testenv::WriteFileBytes(kRoot + "\\lista\\plik.txt", "");
    Open(kRoot + "\\lista");
    EXPECT_EQ("C:\\ jextest\\ dirpick\\ lista\\ | biblioteka Ćwiczenia dane Łąka mapy Ósemka podkatalog_c podkatalogi windows Źródła",
              Shown());
    SetFileAttributesA((kRoot + "\\lista\\ukryty").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Browser, EnterAndDoubleClickOpenTheSelectedEntry)
{
    testenv::MakeDirs(kRoot + "\\łąka\\ŁĄKA\\mapy");
    testenv::MakeDirs(kRoot + "\\łąka\\muzyka");
    HWND list = GetDlgItem(Open(kRoot + "\\łąka\\"), IDC_BROWSE_DIRS);
    EXPECT_EQ(kRoot + "\\łąka\\", PathLine());
    // Nothing is selected after creation, so Enter does nothing yet.
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ("C:\\ jextest\\ dirpick\\ łąka\\ | ŁĄKA muzyka", Shown());

    // Opened, a name the path repeats selects its first entry from the top, case ignored.
    SendMessageA(list, LB_SETCURSEL, 4, 0);
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ("C:\\ jextest\\ dirpick\\ łąka\\ ŁĄKA\\ | mapy", Shown());
    EXPECT_EQ(3, SendMessageA(list, LB_GETCURSEL, 0, 0));
    // The parent hears of it only once the notification's turn comes.
    EXPECT_EQ(kRoot + "\\łąka\\", ui::GetItemText(*m_browser, IDC_BROWSE_PATH));
    EXPECT_EQ(kRoot + "\\łąka\\ŁĄKA\\", PathLine());

    // A double-click on the drive root, handed back by the parent.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(*m_browser, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_DIRS, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(0u, Shown().rfind("C:\\ | ", 0)) << Shown();
    EXPECT_EQ(0, SendMessageA(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ("C:\\", PathLine());
}

TEST_F(Browser, ListsUseTheirMeasuredItemHeight)
{
    Open(kRoot);
    const DirListBox& dirs = m_browser->m_wndDirs;
    const DriveComboBox& drives = m_browser->m_wndDrives;
    EXPECT_EQ(dirs.m_nItemHeight, dirs.GetItemHeight(0));
    EXPECT_EQ(drives.m_nItemHeight, drives.GetItemHeight(0));
    // The selection field holds an item too (the system may add its frame).
    EXPECT_GE(drives.GetItemHeight(-1), drives.m_nItemHeight);
    EXPECT_LE(drives.GetItemHeight(-1), drives.m_nItemHeight + 4);
    EXPECT_GE(dirs.m_nItemHeight, 16) << "an item holds its icon";
}

TEST(DriveList, AmountsFromKilobytesToTerabytes)
{
    const std::pair<uint64_t, const char*> amounts[] = {
        {0, "0.0k"}, {500, "0.5k"}, {1048576, "1024.0k"}, {1048577, "1.0M"}, {1073741824, "1024.0M"},
        {1536ull << 20, "1.5G"}, {4ull << 30, "4.0G"}, {(4ull << 30) + 1, "4.0G"}, // past 32 bits
        {1ull << 40, "1024.0G"}, {(5ull << 40) / 2, "2.5T"}, {1ull << 52, "4096.0T"}};
    for (const auto& [bytes, text] : amounts)
        EXPECT_EQ(text, DriveComboBox::FormatAmount(bytes)) << bytes << " bytes";
}

TEST_F(Browser, DriveListItemsForWineDrives)
{
    testenv::UnmapAllExtraDrives();
    ASSERT_TRUE(testenv::MapCd('m'));
    const std::string labelled = testenv::BuildDirUnix() + "/dirpick-drives/labelled";
    testenv::MakeDirs(testenv::WindowsPathOf(labelled));
    testenv::WriteFileBytes(testenv::WindowsPathOf(labelled + "/.windows-label"), "GRY Dysk\n");
    ASSERT_TRUE(testenv::MapFolder('h', labelled, DRIVE_FIXED));
    MapDrive('a', "floppy", {}, DRIVE_REMOVABLE);
    MapDrive('r', "stick", {}, DRIVE_REMOVABLE);
    const DriveComboBox& drives = Open("C:\\").m_wndDrives;
    std::map<char, std::string> items; // the kind, then the text
    for (int i = 0; i < drives.GetCount(); ++i) {
        const std::string text = drives.GetLBText(i);
        EXPECT_TRUE(items.empty() || items.rbegin()->first < text[0]) << "out of letter order: " << text;
        items[text[0]] = std::to_string(drives.GetItemData(i)) + " " + text;
    }
    auto kind = [](DriveKind driveKind) { return std::to_string(driveKind) + " "; };
    // Floppies A: and B: and CDs are never asked anything.
    EXPECT_EQ(kind(FloppyAB) + "a:\\", items['a']);
    EXPECT_EQ(kind(CdRom) + "m:\\", items['m']);
    // Other drives show their label in lower case and their free space.
    const std::string free = " \\(wolne: [0-9]+\\.[0-9][kMGT]\\)";
    EXPECT_TRUE(std::regex_match(items['c'], std::regex(kind(Fixed) + "c:\\\\ .*" + free))) << items['c'];
    EXPECT_TRUE(std::regex_match(items['h'], std::regex(kind(Fixed) + "h:\\\\ gry dysk" + free))) << items['h'];
    EXPECT_TRUE(std::regex_match(items['r'], std::regex(kind(Removable) + "r:\\\\ " + free))) << items['r'];
    EXPECT_FALSE(items.count('b') || items.count('n'));
}

TEST_F(Browser, DriveListSelectsTheDriveOfAPathIgnoringCase)
{
    ASSERT_TRUE(testenv::MapCd('m'));
    DriveComboBox& drives = Open("C:\\").m_wndDrives;
    drives.SelectDriveOf("M:\\GAMES\\JEX");
    EXPECT_EQ("m:\\", drives.SelectedDrive());
    drives.SelectDriveOf("C:\\GAMES");
    EXPECT_EQ("c:\\", drives.SelectedDrive());
    drives.SelectDriveOf("k:\\games\\"); // no such drive: no change
    EXPECT_EQ("c:\\", drives.SelectedDrive());
    drives.SetCurSel(-1);
    EXPECT_EQ("", drives.SelectedDrive());
}

TEST_F(Browser, F4DropsAListOfEightDrivesWithoutScrolling)
{
    testenv::UnmapAllExtraDrives();
    for (char letter : {'d', 'e', 'f', 'g', 'h', 'i'})
        ASSERT_TRUE(testenv::MapCd(letter));
    DriveComboBox& drives = Open("C:\\").m_wndDrives;
    ASSERT_EQ(8, drives.GetCount()); // c:, z: and the six CDs
    drives.Send(WM_KEYDOWN, VK_F4);
    ui::Pump();
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(drives, &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    RECT shown = {}, last = {};
    GetClientRect(info.hwndList, &shown);
    SendMessageA(info.hwndList, LB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(0, SendMessageA(info.hwndList, LB_GETTOPINDEX, 0, 0));
    EXPECT_LE(last.bottom, shown.bottom) << "the list shows " << shown.bottom / drives.m_nItemHeight << " drives";
    drives.Send(CB_SHOWDROPDOWN, FALSE);
}

// --- The browser run modally and driven from a second thread once it is
// shown, when the lists have taken their placeholders' places.
INT_PTR RunBrowser(CBrowsePath& browser, const std::function<void(HWND)>& person)
{
    return ui::RunModal(browser, [&](HWND dialog) {
        if (ui::WaitUntil([&] { return IsWindowVisible(dialog); }))
            person(dialog);
    });
}

void ExpectPathLine(HWND dialog, const std::string& text)
{
    EXPECT_TRUE(ui::WaitUntil([&] { return ui::GetItemText(dialog, IDC_BROWSE_PATH) == text; }))
        << ui::GetItemText(dialog, IDC_BROWSE_PATH);
}

void ExpectFocusOn(HWND dialog, int id)
{
    EXPECT_TRUE(ui::WaitUntil([&] { return ui::FocusedWindow(dialog) == GetDlgItem(dialog, id); })) << id;
}

std::string SelectedDriveText(HWND dialog)
{
    char text[300] = "";
    HWND combo = GetDlgItem(dialog, IDC_BROWSE_DRIVES);
    SendMessageA(combo, CB_GETLBTEXT, SendMessageA(combo, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
    return text;
}

// The path line follows the list's first notification; typed over, it is
// returned as typed.
TEST_F(Browser, EnterInThePathLineReturnsItAsTyped)
{
    testenv::MakeDirs(kRoot + "\\Program Files");
    CBrowsePath browser(nullptr, kRoot + "\\Program Files\\Kestrel Forge\\Jex", "");
    EXPECT_EQ(IDOK, RunBrowser(browser, [](HWND dialog) {
        EXPECT_EQ("Wybierz katalog", ui::GetText(dialog)) << "an empty title keeps the template's";
        ExpectPathLine(dialog, kRoot + "\\Program Files\\");
        ui::SetItemText(dialog, IDC_BROWSE_PATH, "D:\\Games");
        ui::PressKey(GetDlgItem(dialog, IDC_BROWSE_PATH), VK_RETURN);
    }));
    EXPECT_EQ("D:\\Games", browser.m_strPath);
}

TEST_F(Browser, EnterInTheListOpensAndKeepsTheBrowserOpen)
{
    testenv::MakeDirs(kRoot + "\\games");
    CBrowsePath browser(nullptr, kRoot, kBrowserCaption);
    EXPECT_EQ(IDCANCEL, RunBrowser(browser, [](HWND dialog) {
        ExpectPathLine(dialog, kRoot + "\\");
        HWND list = GetDlgItem(dialog, IDC_BROWSE_DIRS);
        SendMessageA(list, LB_SETCURSEL, 3, 0); // C:\ jextest\ dirpick\ games
        ui::PressKey(list, VK_RETURN);
        ExpectPathLine(dialog, kRoot + "\\games\\");
        EXPECT_TRUE(ui::WaitUntilResponding(dialog) && IsWindowVisible(dialog)) << "Enter closed the browser";
        ui::ClickItem(dialog, IDCANCEL);
    }));
}

TEST_F(Browser, TabFromTheListGoesToTheDrivesAndEscapeCancels)
{
    CBrowsePath browser(nullptr, kRoot, kBrowserCaption);
    EXPECT_EQ(IDCANCEL, RunBrowser(browser, [](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_BROWSE_DIRS);
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        ExpectFocusOn(dialog, IDC_BROWSE_DIRS);
        ui::PressKey(list, VK_TAB);
        ExpectFocusOn(dialog, IDC_BROWSE_DRIVES);
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        ExpectFocusOn(dialog, IDC_BROWSE_DIRS);
        ui::PressKey(list, VK_ESCAPE);
        EXPECT_TRUE(ui::WaitForWindowGone(dialog, 5000)) << "Escape left it open";
    }));
}

TEST_F(Browser, UnreadableDriveAskedAgainOnRetryAndLeftOnCancel)
{
    MapDrive('o', "drive-o", {});
    CBrowsePath browser(nullptr, kRoot, kBrowserCaption);
    ui::MessageBoxWatcher boxes(kAppTitle, {IDRETRY, IDCANCEL});
    EXPECT_EQ(IDOK, RunBrowser(browser, [&](HWND dialog) {
        ExpectPathLine(dialog, kRoot + "\\");
        HWND combo = GetDlgItem(dialog, IDC_BROWSE_DRIVES);
        SendMessageA(combo, CB_SETCURSEL, SendMessageA(combo, CB_FINDSTRING, -1, reinterpret_cast<LPARAM>("o:\\")), 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_DRIVES, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
        // Back on the drive and the directory shown before.
        EXPECT_TRUE(ui::WaitUntil([&] { return boxes.Answered() == 2 && SelectedDriveText(dialog).rfind("c:\\", 0) == 0; }))
            << SelectedDriveText(dialog);
        ExpectPathLine(dialog, kRoot + "\\");
        ui::ClickItem(dialog, IDOK);
    }));
    EXPECT_EQ(Strings(2, "Nie mogę czytać katalogu o:\\ !"), boxes.Texts());
    EXPECT_EQ(kRoot + "\\", browser.m_strPath);
}

} // namespace
