// Choosing the target directory: the target rule, the options dialog, the browser with its directory and drive lists.
#include "dirpick/BrowsePath.h"
#include "dirpick/InstallOptionsDialog.h"
#include "dirpick/TargetPath.h"
#include "resource.h"
#include "support/Cp1250.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <regex>

namespace {

using install_driver::kAppTitle;
using Strings = std::vector<std::string>;
const std::string kRoot = "C:\\jextest\\dirpick";

// --- The target rule: only X:\dir..., nothing Windows would refuse or change, short enough; a refusal names the
// expected form.
// `refusal`: the start of the message, or null when taken.
struct TargetCase { const char* name; std::string typed; const char* refusal; std::string browsed = "", target = ""; };

class TargetRules : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetRules, OnlyADirectoryOnADriveShortEnough)
{
    const std::string problem = TargetPathProblem(GetParam().typed, 235);
    const std::string refusal = GetParam().refusal ? GetParam().refusal : "";
    EXPECT_TRUE(refusal.empty() ? problem.empty()
                                : problem.rfind(refusal, 0) == 0 && problem.find("X:\\katalog") != std::string::npos)
        << problem;
}

const std::string kLongest = "C:\\" + std::string(232, 'a'); // 235 characters

INSTANTIATE_TEST_SUITE_P(
    Dirpick, TargetRules,
    ::testing::Values(
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
        TargetCase{"TrailingSpace", "C:\\Gry\\Jex ", "Ścieżka 'C:\\Gry\\Jex ' zawiera niepoprawną nazwę"},
        TargetCase{"EmptyName", "C:\\Gry\\\\Jex", "Ścieżka 'C:\\Gry\\\\Jex' zawiera niepoprawną nazwę"},
        TargetCase{"OneTooLong", kLongest + "b", "Ścieżka jest za długa: ma 236 znaków, a może mieć najwyżej 235."},
        // Longer than any edit box would take: refused whole, never cut.
        TargetCase{"FarTooLong", "C:\\" + std::string(298, 'x'), "Ścieżka jest za długa: ma 301 znaków"}),
    ui::RowName());

// --- The options dialog: `typed` goes into its target line, then "Dalej >"; or the browser opens, `browsed` is typed
// into its path line and Enter pressed ("-": Escape). A refused target leaves the dialog open with the text as typed.
class OptionsDialog : public ::testing::TestWithParam<TargetCase> {};

TEST_P(OptionsDialog, TakesOnlyATargetThatWillDo)
{
    const TargetCase& c = GetParam();
    std::string installPath = "C:\\Before\\Jex", line;
    bool full = false;
    InstallOptionsDialog options(installPath, full, 235, nullptr);
    ui::MessageBoxWatcher boxes(kAppTitle);
    ui::RunModal(options, [&](HWND dialog) {
        ui::SetItemText(dialog, IDC_OPTIONS_TARGET, c.typed);
        ui::ClickItem(dialog, c.browsed.empty() ? IDOK : IDC_OPTIONS_BROWSE);
        if (!c.browsed.empty()) {
            HWND browser = ui::WaitForWindow(install_driver::kBrowserCaption), path = GetDlgItem(browser, IDC_BROWSE_PATH);
            // The list's first notification rewrites the path line: wait for it.
            ui::WaitUntil([&] { return ui::GetText(path) != c.typed; });
            ui::SetItemText(browser, IDC_BROWSE_PATH, c.browsed);
            ui::PressKey(path, c.browsed == "-" ? VK_ESCAPE : VK_RETURN);
            EXPECT_TRUE(ui::WaitForWindowGone(browser) && ui::WaitUntilResponding(dialog));
        }
        ui::WaitUntil([&] { return boxes.Answered() == (c.refusal ? 1u : 0u) && !ui::FindTopWindow(kAppTitle); });
        line = ui::GetItemText(dialog, IDC_OPTIONS_TARGET);
    });
    const Strings texts = boxes.Texts();
    EXPECT_TRUE(c.refusal ? texts.size() == 1 && texts[0].rfind(c.refusal, 0) == 0 : texts.empty())
        << ::testing::PrintToString(texts);
    EXPECT_EQ(c.refusal ? c.typed : c.target, line);
    EXPECT_EQ(c.target, installPath);
}

INSTANTIATE_TEST_SUITE_P(
    Dirpick, OptionsDialog,
    ::testing::Values(TargetCase{"Refused", "C:\\", "Ścieżka 'C:\\' nie wskazuje", "", "C:\\Before\\Jex"},
                      TargetCase{"BrowseAppendsJex", "C:\\Old", nullptr, "D:\\Games", "D:\\Games\\Jex"},
                      TargetCase{"BrowseAppendsJexAfterTheBackslash", "C:\\Old", nullptr, "D:\\Games\\", "D:\\Games\\Jex"},
                      TargetCase{"BrowseKeepsAPathWithJex", "C:\\Old", nullptr, "D:\\Jex\\Old\\", "D:\\Jex\\Old\\"},
                      // A browse makes the typed text the target first.
                      TargetCase{"BrowseCancelled", "C:\\Typed\\Here", nullptr, "-", "C:\\Typed\\Here"},
                      TargetCase{"BrowseResultTooLong", "C:\\Old", "Ścieżka jest za długa",
                                 "D:\\" + std::string(240, 'b'), "C:\\Old"}),
    ui::RowName());

// A target in letters that code page 1250 has no form for (Cyrillic), typed into the options dialog or into the
// browser's path line: refused in words of its own, whatever the system's code page, and never taken.
TEST(OptionsDialogCyrillic, RefusesATargetItCannotName)
{
    std::string installPath = "C:\\Before\\Jex";
    bool full = false;
    InstallOptionsDialog options(installPath, full, 235, nullptr);
    ui::MessageBoxWatcher boxes(kAppTitle);
    ui::RunModal(options, [&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_OPTIONS_TARGET, L"C:\\\x0418\x0433\x0440\x044B\\Jex");
        ui::ClickItem(dialog, IDOK);
        ui::WaitUntil([&] { return boxes.Answered() == 1 && !ui::FindTopWindow(kAppTitle); });
        ui::ClickItem(dialog, IDC_OPTIONS_BROWSE);
        HWND browser = ui::WaitForWindow(install_driver::kBrowserCaption), path = GetDlgItem(browser, IDC_BROWSE_PATH);
        ui::WaitUntil([&] { return ui::GetText(path) == "C:\\"; }); // C:\Before is not there
        SetWindowTextW(path, L"D:\\\x0418\x0433\x0440\x044B\\");
        ui::PressKey(path, VK_RETURN);
        EXPECT_TRUE(ui::WaitForWindowGone(browser));
        ui::WaitUntil([&] { return boxes.Answered() == 2 && !ui::FindTopWindow(kAppTitle); });
    });
    const Strings texts = boxes.Texts();
    const std::string refusal = "' zawiera znaki, których program instalacyjny nie obsługuje";
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(0u, texts[0].rfind("Ścieżka 'C:\\????\\Jex" + refusal, 0)) << texts[0];
    EXPECT_EQ(0u, texts[1].rfind("Ścieżka 'D:\\????\\Jex" + refusal, 0)) << texts[1];
    EXPECT_EQ("C:\\Before\\Jex", installPath);
}

// --- The browser and its two lists, on a tree under kRoot and mapped drives.
struct Browser : ::testing::Test {
    void SetUp() override
    {
        testenv::ScratchDir("dirpick");
        testenv::ChangeDir("C:\\");
    }
    void TearDown() override
    {
        testenv::ChangeDir("C:\\");
        m_browser.reset();
        testenv::RemoveTree(kRoot);
        testenv::UnmapAllExtraDrives();
    }

    // A folder of the build tree with these subdirectories (and the label the drive reads when mapped).
    static void MapDrive(char letter, const std::string& name, const Strings& subdirs, UINT type = DRIVE_FIXED,
                         const char* label = "")
    {
        const std::string unix = testenv::BuildDirUnix() + "/dirpick-drives/" + name, root = testenv::WindowsPathOf(unix);
        testenv::RemoveTree(root);
        testenv::MakeDirs(root);
        for (const std::string& subdir : subdirs)
            testenv::MakeDirs(root + "\\" + subdir);
        if (*label)
            testenv::WriteFileBytes(root + "\\.windows-label", label);
        ASSERT_TRUE(testenv::MapFolder(letter, unix, type));
    }
    CBrowsePath& Open(const std::string& initialDir) // modeless, on this thread
    {
        m_browser = std::make_unique<CBrowsePath>(nullptr, initialDir, "");
        EXPECT_TRUE(m_browser->Create());
        return *m_browser;
    }
    std::string PathLine() // with the posted notifications handled
    {
        ui::Pump();
        return ui::GetItemText(*m_browser, IDC_BROWSE_PATH);
    }
    // The list as it looks: path components, "|", subdirectories; an entry out of its indentation is marked.
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

// What the directory list and the path line show for a start: the existing part of a path, spelled as given, and the
// visible subdirectories in Polish order (byte order would put every Polish initial after "z", and Wine lists "_" after
// the letters); a drive that cannot be read leaves them empty without a word.
struct ShowCase { const char *name, *currentDir; std::string initialDir; const char *shown, *directory, *drive; };
const char* const kGames = "C:\\jextest\\dirpick\\games\\";
const char* const kGamesShown = "C:\\ jextest\\ dirpick\\ games\\ | Alpha data";

class DirListShows : public Browser, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(DirListShows, TheExistingPartOfThePath)
{
    const ShowCase& c = GetParam();
    for (const char* dir : {"games\\Alpha", "games\\data", "lista\\Źródła", "lista\\windows", "lista\\podkatalogi",
                            "lista\\podkatalog_c", "lista\\Ósemka", "lista\\mapy", "lista\\Łąka", "lista\\dane",
                            "lista\\Ćwiczenia", "lista\\biblioteka", "lista\\.config", "lista\\ukryty"})
        testenv::MakeDirs(kRoot + "\\" + dir);
    SetFileAttributesW(cp1250::Wide(kRoot + "\\lista\\ukryty").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW(L"C:\\jextest\\dirpick\\lista\\\x0418\x0433\x0440\x044B", nullptr); // never shown: it has no name to open
    testenv::WriteFileBytes(kRoot + "\\lista\\plik.txt", "");
    MapDrive('p', "drive-p", {"gry", "Dane"});
    MapDrive('o', "drive-o", {});
    ASSERT_TRUE(testenv::ChangeDir(c.currentDir));
    ui::MessageBoxWatcher boxes(kAppTitle, {}, IDCANCEL);
    Open(c.initialDir);
    EXPECT_EQ(Strings({c.directory, c.shown, c.drive}),
              Strings({PathLine(), Shown(), m_browser->m_wndDrives.SelectedDrive()}));
    EXPECT_EQ(Strings{}, boxes.Texts());
}

INSTANTIATE_TEST_SUITE_P(
    Dirpick, DirListShows,
    ::testing::Values(
        ShowCase{"PartlyExisting", "C:\\", "c:\\JEXTEST\\dirpick\\games\\dat\\x",
                 "c:\\ JEXTEST\\ dirpick\\ games\\ | Alpha data", "c:\\JEXTEST\\dirpick\\games\\", "c:\\"},
        ShowCase{"WithoutTrailingBackslash", "C:\\", kRoot + "\\games", kGamesShown, kGames, "c:\\"},
        ShowCase{"EmptyInitialDirectory", kGames, "", kGamesShown, kGames, "c:\\"},
        ShowCase{"PolishOrderWithoutHiddenOnesOrFiles", "C:\\", kRoot + "\\lista",
                 "C:\\ jextest\\ dirpick\\ lista\\ | "
                 "biblioteka Ćwiczenia dane Łąka mapy Ósemka podkatalog_c podkatalogi windows Źródła",
                 "C:\\jextest\\dirpick\\lista\\", "c:\\"},
        ShowCase{"DriveRoot", "C:\\", "p:\\", "p:\\ | Dane gry", "p:\\", "p:\\"},
        // The drive list stays on the drive of the current directory.
        ShowCase{"UnreadableDrive", "Z:\\", "q:\\games\\jex", "", "\\", "z:\\"},
        ShowCase{"EmptyDriveRoot", "C:\\", "o:\\", "", "\\", "c:\\"}),
    ui::RowName());

TEST_F(Browser, EnterAndDoubleClickOpenTheSelectedEntry)
{
    testenv::MakeDirs(kRoot + "\\łąka\\ŁĄKA\\mapy");
    testenv::MakeDirs(kRoot + "\\łąka\\muzyka");
    HWND list = GetDlgItem(Open(kRoot + "\\łąka\\"), IDC_BROWSE_DIRS);
    EXPECT_EQ(kRoot + "\\łąka\\", PathLine());
    // Nothing is selected after creation, so Enter does nothing yet.
    SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ("C:\\ jextest\\ dirpick\\ łąka\\ | ŁĄKA muzyka", Shown());

    // Opened, a name the path repeats selects its first entry from the top, case ignored.
    SendMessageW(list, LB_SETCURSEL, 4, 0);
    SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ("C:\\ jextest\\ dirpick\\ łąka\\ ŁĄKA\\ | mapy", Shown());
    EXPECT_EQ(3, SendMessageW(list, LB_GETCURSEL, 0, 0));
    // The parent hears of it only once the notification's turn comes.
    EXPECT_EQ(kRoot + "\\łąka\\", ui::GetItemText(*m_browser, IDC_BROWSE_PATH));
    EXPECT_EQ(kRoot + "\\łąka\\ŁĄKA\\", PathLine());

    // A double-click on the drive root, handed back by the parent.
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    SendMessageW(*m_browser, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_DIRS, LBN_DBLCLK), LPARAM(list));
    EXPECT_EQ(0u, Shown().rfind("C:\\ | ", 0)) << Shown();
    EXPECT_EQ("C:\\", PathLine());
}

// Free space in every unit, also past 32 bits.
TEST(DriveList, AmountsFromKilobytesToTerabytes)
{
    const std::pair<uint64_t, const char*> amounts[] = {
        {0, "0.0k"}, {500, "0.5k"}, {1048576, "1024.0k"}, {1048577, "1.0M"}, {1073741824, "1024.0M"},
        {1536ull << 20, "1.5G"}, {4ull << 30, "4.0G"}, {(4ull << 30) + 1, "4.0G"}, {1ull << 40, "1024.0G"},
        {(5ull << 40) / 2, "2.5T"}, {1ull << 52, "4096.0T"}};
    for (const auto& [bytes, text] : amounts)
        EXPECT_EQ(text, DriveComboBox::FormatAmount(bytes)) << bytes << " bytes";
}

// Every drive in letter order with its kind; floppies A: and B: and CDs are never asked anything, others show their
// label in lower case and their free space. Both lists use their measured item height; eight drives drop down (F4) whole.
TEST_F(Browser, DriveList)
{
    testenv::UnmapAllExtraDrives();
    for (char letter : {'d', 'e', 'm'})
        ASSERT_TRUE(testenv::MapCd(letter));
    MapDrive('h', "labelled", {}, DRIVE_FIXED, "GRY Dysk\n");
    MapDrive('a', "floppy", {}, DRIVE_REMOVABLE);
    MapDrive('r', "stick", {}, DRIVE_REMOVABLE);
    DriveComboBox& drives = Open("C:\\").m_wndDrives;
    std::string items; // the kind and the text of each, in order
    for (int i = 0; i < drives.GetCount(); ++i)
        items += std::to_string(drives.GetItemData(i)) + " " + drives.GetLBText(i) + "\n";
    auto item = [](DriveKind kind, const std::string& text) { return std::to_string(kind) + " " + text + "\n"; };
    const std::string free = " \\(wolne: [0-9]+\\.[0-9][kMGT]\\)";
    const std::string expected = item(FloppyAB, "a:\\\\") + item(Fixed, "c:\\\\ .*" + free) + item(CdRom, "d:\\\\") +
                                 item(CdRom, "e:\\\\") + item(Fixed, "h:\\\\ gry dysk" + free) + item(CdRom, "m:\\\\") +
                                 item(Removable, "r:\\\\ " + free) + item(Fixed, "z:\\\\ .*" + free);
    ASSERT_TRUE(std::regex_match(items, std::regex(expected))) << items;
    EXPECT_EQ(m_browser->m_wndDirs.m_nItemHeight, m_browser->m_wndDirs.GetItemHeight(0));
    EXPECT_EQ(drives.m_nItemHeight, drives.GetItemHeight(0));
    // The selection field holds an item too (the system may add its frame).
    EXPECT_TRUE(drives.GetItemHeight(-1) >= drives.m_nItemHeight && drives.GetItemHeight(-1) <= drives.m_nItemHeight + 4);

    drives.Send(WM_KEYDOWN, VK_F4);
    ui::Pump();
    COMBOBOXINFO info = {sizeof info, {}, {}, 0, nullptr, nullptr, nullptr};
    ASSERT_TRUE(GetComboBoxInfo(drives, &info) && IsWindowVisible(info.hwndList));
    RECT shown = {}, last = {};
    GetClientRect(info.hwndList, &shown);
    SendMessageW(info.hwndList, LB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&last));
    EXPECT_LE(last.bottom, shown.bottom) << "the list shows " << shown.bottom / drives.m_nItemHeight << " drives";
}

// --- The browser run modally from a second thread. With an empty title the template's stays; the path line follows
// the list; Enter in the list opens the entry, the browser stays (Enter in the path line is OK: see OptionsDialog); an
// unreadable drive is asked about again on Retry, left on Cancel for the drive and directory before; Tab goes to the
// drives; Escape cancels.
TEST_F(Browser, Keys)
{
    testenv::MakeDirs(kRoot + "\\games");
    MapDrive('o', "drive-o", {});
    CBrowsePath browser(nullptr, kRoot, "");
    ui::MessageBoxWatcher boxes(kAppTitle, {IDRETRY, IDCANCEL});
    EXPECT_EQ(IDCANCEL, ui::RunModal(browser, [&](HWND dialog) {
        EXPECT_EQ("Wybierz katalog", ui::GetText(dialog));
        auto pathIs = [&](std::string text) {
            return ui::WaitUntil([&] { return ui::GetItemText(dialog, IDC_BROWSE_PATH) == text; });
        };
        EXPECT_TRUE(pathIs(kRoot + "\\"));
        HWND list = GetDlgItem(dialog, IDC_BROWSE_DIRS), drives = GetDlgItem(dialog, IDC_BROWSE_DRIVES);
        SendMessageW(list, LB_SETCURSEL, 3, 0); // C:\ jextest\ dirpick\ games
        ui::PressKey(list, VK_RETURN);
        EXPECT_TRUE(pathIs(kRoot + "\\games\\"));
        EXPECT_TRUE(ui::WaitUntilResponding(dialog) && IsWindowVisible(dialog)) << "Enter closed the browser";

        SendMessageW(drives, CB_SETCURSEL, SendMessageW(drives, CB_FINDSTRING, -1, reinterpret_cast<LPARAM>(L"o:\\")), 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_DRIVES, CBN_SELENDOK), reinterpret_cast<LPARAM>(drives));
        EXPECT_TRUE(ui::WaitUntil([&] { return boxes.Answered() == 2 && ui::GetText(drives).rfind("c:\\", 0) == 0; }));
        EXPECT_TRUE(pathIs(kRoot + "\\games\\"));

        PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        EXPECT_TRUE(ui::WaitUntil([&] { return ui::FocusedWindow(dialog) == list; }));
        ui::PressKey(list, VK_TAB);
        EXPECT_TRUE(ui::WaitUntil([&] { return ui::FocusedWindow(dialog) == drives; })) << "Tab from the list";
        ui::PressKey(list, VK_ESCAPE);
        EXPECT_TRUE(ui::WaitForWindowGone(dialog, 5000)) << "Escape left it open";
    }));
    EXPECT_EQ(Strings(2, "Nie mogę czytać katalogu o:\\ !"), boxes.Texts());
}

} // namespace
