// The launcher: the CD it finds, its buttons, its place, keys and pointer, the ways out, the programs it starts.
#include "app/CdLocator.h"
#include "app/LauncherDialog.h"
#include "gfx/PaletteBitmap.h"
#include "resource.h"

#include "support/InstallDriver.h"
#include "support/Surface.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace install_driver;
using testenv::kProductKey;

constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"; // its ProgramFilesDir, in HKLM

class Launcher : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        m_process.Kill();
        Reset();
    }
    void Reset()
    {
        testenv::UnmapAllExtraDrives();
        testenv::ForgetInstallation();
    }
    bool Start(std::string at = {}) { return WaitLauncherLive(m_window = StartLauncher(m_process, {}, at)); }

    ui::Process m_process;
    HWND m_window = nullptr;
};

// Each drive mapped: its letter, then '+' the sample CD, '-' a folder without the
// marker, '/' one whose marker is a folder, '#' the sample CD as a hard disk.
struct Layout { const char *name, *drives; char found; };

class CdLayouts : public Launcher, public testing::WithParamInterface<Layout> {};

TEST_P(CdLayouts, TheFirstCdRomDriveHoldingTheMarkerIsFound)
{
    const std::string made = testenv::BuildDirUnix() + "/scratch-cd";
    testenv::MakeDirs(testenv::WindowsPathOf(made + "/in/jex.ico"));
    for (const char* drive = GetParam().drives; *drive; drive += 2) {
        const std::string folder = drive[1] == '-' ? made : drive[1] == '/' ? made + "/in" : testenv::SampleCdUnix();
        ASSERT_TRUE(testenv::MapFolder(drive[0], folder, drive[1] == '#' ? DRIVE_FIXED : DRIVE_CDROM));
    }
    EXPECT_EQ(GetParam().found, LocateCd());
}

INSTANTIATE_TEST_SUITE_P(Drives, CdLayouts,
                         testing::ValuesIn(std::vector<Layout>{
                             {"NoCdRomDrive", "", 0}, {"CdOnE", "e+", 'e'}, {"SecondCdRomHoldsIt", "f-h+", 'h'},
                             {"MarkerThatDoesNotOpen", "d/", 0}, {"UnreadableMarkerThenTheCd", "d/g+", 'g'},
                             {"DrivesAAndBAreNeverTried", "a+b+", 0}, {"HardDiskWithTheMarker", "d#", 0}}),
                         ui::RowName());

// ProgramPath, as a REG_DWORD (whose bytes spell "C:\"), as text, or as text with a letter code page 1250 has no
// form for (a Cyrillic one in the place of "?"); ProgramExecutable; the system's program-files directory known or
// not; then intro, install, uninstall, configuration, game and Exit live or not, and the target.
enum PathForm { Text, Number, Cyrillic };
struct InstalledState { const char *name, *path; PathForm form; const char* executable; bool programFilesDir;
                        const char* seen; };

const InstalledState kInstalledOnE = {"Installed", "E:\\Gry\\Jex", Text, "E:\\Gry\\Jex\\jex.exe", true,
                                      "111111 E:\\Gry\\Jex"};

// The launcher made in this process, without its modal loop.
class InProcess : public testing::Test {
protected:
    InstallState m_state;
    LauncherDialog m_launcher{m_state, nullptr};
};

class InstalledStates : public InProcess, public testing::WithParamInterface<InstalledState> {
protected:
    void TearDown() override
    {
        if (m_saved.found)
            testenv::WriteReg(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", m_saved.type, m_saved.bytes);
        testenv::ForgetInstallation();
    }
    static void Put(const InstalledState& row)
    {
        testenv::ForgetInstallation();
        if (row.path && row.form == Cyrillic) {
            std::wstring wide(row.path, row.path + strlen(row.path) + 1);
            std::replace(wide.begin(), wide.end(), L'?', L'\x0418');
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Kestrel Forge\\Jex", L"ProgramPath", REG_SZ, wide.c_str(),
                            DWORD(wide.size() * 2));
        } else if (row.path) {
            testenv::WriteReg(HKEY_CURRENT_USER, kProductKey, "ProgramPath", row.form == Number ? REG_DWORD : REG_SZ,
                              std::string(row.path, strlen(row.path) + 1));
        }
        if (row.executable)
            testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", row.executable);
        const char* const folder = "ProgramFilesDir";
        row.programFilesDir ? testenv::WriteRegText(HKEY_LOCAL_MACHINE, kWindowsKey, folder, "D:\\Gry i programy")
                            : testenv::DeleteRegValue(HKEY_LOCAL_MACHINE, kWindowsKey, folder);
    }
    const testenv::RegValue m_saved = testenv::ReadReg(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
};

TEST_P(InstalledStates, ButtonsAndTargetFollowTheRegistryAtARefresh)
{
    Put(kInstalledOnE);
    ASSERT_TRUE(m_launcher.Create());
    Put(GetParam());
    m_launcher.RefreshInstallState();
    std::string seen;
    for (int id : {IDC_INTRO, IDC_INSTALL, IDC_UNINSTALL, IDC_CONFIG, IDC_GAME, IDOK})
        seen += ui::IsItemEnabled(m_launcher.m_hWnd, id) ? '1' : '0';
    EXPECT_EQ(GetParam().seen, seen + " " + m_state.InstallPath);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, InstalledStates,
    testing::ValuesIn(std::vector<InstalledState>{
        {"NotInstalled", nullptr, Text, nullptr, true, "110001 D:\\Gry i programy\\Kestrel Forge\\Jex"},
        {"DirectoryAlone", "E:\\Gry\\Jex", Text, nullptr, true, "110001 E:\\Gry\\Jex"}, kInstalledOnE,
        {"DirectoryOfTheWrongType", "C:\\", Number, "C:\\jex.exe", true, "110001 D:\\Gry i programy\\Kestrel Forge\\Jex"},
        // A directory it cannot name is none it may act on.
        {"DirectoryInCyrillic", "E:\\?\\Jex", Cyrillic, "E:\\Gry\\Jex\\jex.exe", true,
         "110001 D:\\Gry i programy\\Kestrel Forge\\Jex"},
        {"NoProgramFilesDirectory", nullptr, Text, nullptr, false, "110001 "}}),
    ui::RowName());

TEST_F(InProcess, ClientAreaIsFullSizeAndCentredAndAResizeIsUndone)
{
    ASSERT_TRUE(m_launcher.Create());
    const RECT placed = ui::WindowRect(m_launcher.m_hWnd);
    SetWindowPos(m_launcher.m_hWnd, nullptr, 3, 5, placed.right - placed.left + 80, placed.bottom - placed.top + 40,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT client = ui::ClientRectOnScreen(m_launcher.m_hWnd), now = ui::WindowRect(m_launcher.m_hWnd);
    EXPECT_EQ(std::pair(624L, 464L), std::pair(client.right - client.left, client.bottom - client.top));
    EXPECT_TRUE(EqualRect(&now, &placed));
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CXSCREEN) - now.right) - now.left), 2);
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CYSCREEN) - now.bottom) - now.top), 2);
}

struct Screen { const char* name; int width, height; };

class PlacementOnSmallScreens : public testing::TestWithParam<Screen> {};

TEST_P(PlacementOnSmallScreens, ClientAreaMadeFullSizeCentredButNeverBeyondTheTopLeft)
{
    // The template's client area, 600 x 450, in a 606 x 475 frame: the frame kept, the client made 624 x 464.
    const RECT placed = LauncherPlacement(GetParam().width, GetParam().height, {0, 0, 600, 450}, {30, 40, 636, 515});
    EXPECT_EQ(std::pair(630L, 489L), std::pair(placed.right - placed.left, placed.bottom - placed.top));
    for (auto [size, low, high] : {std::tuple{GetParam().width, placed.left, placed.right},
                                   std::tuple{GetParam().height, placed.top, placed.bottom}})
        EXPECT_NEAR(std::max(0L, (size - (high - low)) / 2), low, 1) << size; // centred, or at 0 when too small
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlacementOnSmallScreens,
                         testing::Values(Screen{"NarrowerAndLower", 600, 400}, Screen{"Narrower", 600, 768},
                                         Screen{"Lower", 1024, 400}), ui::RowName());

constexpr UINT kShiftTab = 0x10000;
constexpr int kNormalCell = 0, kHoverCell = 1; // of a strip's four: normal, highlighted, pressed, greyed
constexpr UINT kPointerOver = 0x20000; // with a button's id, or alone over the background
// A mouse move where the pointer already is, as the system sends when a window changes under it:
// it must not take the focus back from the keyboard. Sent, so that it has been handled on return.
constexpr UINT kMoveInPlace = 0x40000;

struct Step {
    UINT key;          // 0: none, where the focus starts
    int focus;         // the button that has it then; 0: the window
    bool look = false; // and on the screen: that button highlighted, the one before not
};

struct KeyRun {
    const char* name;
    bool installed;
    UINT last;       // then a key that presses the focused button or leaves; 0: the close box
    const char* box; // the question then asked; null: the launcher ends
    std::vector<Step> steps;
};

class Keyboard : public Launcher, public testing::WithParamInterface<KeyRun> {};

// Waits until the launcher's intro, install or Exit button shows this cell of its strip.
bool ShowsCell(HWND launcher, int id, int column)
{
    PaletteBitmap strip;
    strip.LoadFromResource(id == IDC_INTRO ? IDB_STRIP_INTRO : id == IDC_INSTALL ? IDB_STRIP_INSTALL : IDB_STRIP_EXIT);
    strip.SetCellSize(320, 40);
    Surface cell(320, 40);
    strip.Draw(cell.dc(), {0, 0, 319, 39}, column, 0);
    return ui::WaitUntil([&] { return ui::CaptureScreen(ui::WindowRect(GetDlgItem(launcher, id))) == cell.Pixels(); });
}

// Types the keys (pressed in order, released in reverse) as real input, once the launcher has taken in
// what the last move of the pointer sent it. Wine also hands the launcher that move's events by way of
// X, when it next waits for messages: the sent message makes it wait once, and real input then queues
// behind those moves, where a posted key would overtake them and be undone by them.
void TypeBehindThePointer(HWND launcher, std::initializer_list<UINT> keys)
{
    SendMessageTimeoutW(launcher, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    for (UINT key : keys)
        keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        keybd_event(static_cast<BYTE>(*key), 0, KEYEVENTF_KEYUP, 0);
}

TEST_P(Keyboard, MovesTheFocusDownTheScreenPastGreyedButtonsThenPressesOrLeaves)
{
    const KeyRun& run = GetParam();
    if (run.installed) {
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "E:\\Gry\\Jex");
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "E:\\Gry\\Jex\\jex.exe");
    }
    ASSERT_TRUE(Start());
    int before = 0;
    for (const Step& step : run.steps) {
        if (step.key == kShiftTab) { // the dialog reads the Shift key, which only real input sets
            TypeBehindThePointer(m_window, {VK_SHIFT, VK_TAB});
        } else if (step.key == kMoveInPlace) {
            POINT at = {};
            GetCursorPos(&at);
            HWND under = WindowFromPoint(at);
            ScreenToClient(under, &at);
            ASSERT_TRUE(SendMessageTimeoutW(under, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 5000,
                                            nullptr));
        } else if (step.key & kPointerOver) {
            const int id = step.key & 0xFFFF;
            const RECT area = id ? ui::WindowRect(GetDlgItem(m_window, id)) : ui::ClientRectOnScreen(m_window);
            ui::MovePointerTo(area.left + 60, area.top + 20);
        } else if (step.key) {
            TypeBehindThePointer(m_window, {step.key});
        }
        ASSERT_TRUE(ui::WaitUntil([&] { return GetDlgCtrlID(ui::FocusedWindow(m_window)) == step.focus; })) << step.key;
        if (step.look) {
            EXPECT_TRUE(!step.focus || ShowsCell(m_window, step.focus, kHoverCell)) << step.focus;
            EXPECT_TRUE(!before || ShowsCell(m_window, before, kNormalCell)) << before;
        }
        before = step.focus;
    }
    run.last ? ui::TypeKey(m_window, run.last) : ui::ClickCloseBox(m_window);
    if (run.box)
        EXPECT_EQ(run.box, ui::AnswerMessageBox(kLauncherBoxCaption, IDCANCEL).text);
    else
        EXPECT_EQ(0, m_process.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    States, Keyboard,
    testing::Values(
        KeyRun{"NotInstalled", false, VK_SPACE, nullptr,
               {{0, IDC_INTRO, true}, {VK_TAB, IDC_INSTALL}, {VK_TAB, IDOK}, {VK_TAB, IDC_INTRO},
                {VK_DOWN, IDC_INSTALL}, {VK_DOWN, IDOK}, {VK_RIGHT, IDC_INTRO}, {VK_UP, IDOK},
                {VK_LEFT, IDC_INSTALL}, {VK_UP, IDC_INTRO}, {kShiftTab, IDOK, true},
                {kPointerOver | IDC_INSTALL, IDC_INSTALL, true}, {kPointerOver, 0, true}, {VK_UP, IDOK},
                {kMoveInPlace, IDOK}, {kPointerOver | IDC_INSTALL, IDC_INSTALL}, {VK_DOWN, IDOK},
                {kMoveInPlace, IDOK}, {kPointerOver, 0}, {kShiftTab, IDOK}}},
        KeyRun{"Installed", true, VK_RETURN, "Nie można odnaleźć CD-ROM'u - JEX",
               {{0, IDC_INTRO}, {VK_TAB, IDC_INSTALL}, {VK_TAB, IDC_UNINSTALL}, {VK_TAB, IDC_CONFIG},
                {VK_TAB, IDC_GAME}, {VK_TAB, IDOK}, {VK_TAB, IDC_INTRO}, {VK_TAB, IDC_INSTALL}}},
        KeyRun{"Esc", false, VK_ESCAPE, nullptr, {{0, IDC_INTRO}}},
        KeyRun{"CloseBox", false, 0, nullptr, {{0, IDC_INTRO}}}),
    ui::RowName());

struct Starting { const char* name; int button; const char* program; };

// Stand-ins of the game and its configuration program in a folder with spaces, logging to a file of the test's.
class Starts : public Launcher, public testing::WithParamInterface<Starting> {
protected:
    void SetUp() override
    {
        Launcher::SetUp();
        testenv::SetEnv("JEX_STANDIN_LOG", m_log);
        testenv::SetEnv("JEX_STANDIN_LIFETIME_MS", "1000");
        testenv::MakeDirs(m_game);
        for (const std::string name : {"\\JEX.EXE", "\\JEXSETUP.EXE"})
            ASSERT_TRUE(testenv::CopyFileOver(testenv::WindowsPathOf(testenv::BuildDirUnix() + "/standins") + name,
                                              m_game + name));
    }
    void TearDown() override
    {
        ui::WaitUntil([&] { // every stand-in that started has ended, and then its folder can go
            const std::vector<StandinRun> runs = ReadStandinLog(m_log);
            return std::ranges::count(runs, std::string("end"), &StandinRun::event) * 2u == runs.size();
        });
        Launcher::TearDown();
        ui::WaitUntil([&] { return testenv::RemoveTree(m_work); });
    }

    const std::string m_work = testenv::ScratchDir("launch"), m_log = m_work + "\\standin.log";
    const std::string m_game = m_work + "\\Gry Kestrel\\Jex Gra";
};

TEST_P(Starts, TheProgramWithItsPathAloneAsTheCommandLine)
{
    // The intro comes from the CD's root and runs in the launcher's folder, where the game and the
    // configuration program are recorded but missing; the others in the game folder, its drive in lower case.
    const Starting& row = GetParam();
    const bool intro = row.button == IDC_INTRO, replaces = row.button == IDC_GAME; // the others are waited for
    const std::string dir = intro ? m_work : m_game;
    testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", std::string("c") + dir.substr(1));
    testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", dir + (intro ? "\\-" : "\\JEX.EXE"));
    testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", dir + (intro ? "\\-" : "\\JEXSETUP.EXE"));
    ASSERT_TRUE(intro || testenv::MapCd('e'));
    ASSERT_TRUE(Start(m_work));
    if (intro) {
        for (int id : {IDC_GAME, IDC_CONFIG}) // sent, not posted: back once the launcher has handled the click
            ASSERT_TRUE(SendMessageTimeoutW(GetDlgItem(m_window, id), BM_CLICK, 0, 0, 0, ui::kDefaultTimeoutMs, {}));
        EXPECT_TRUE(!ui::FindTopWindow(kAppTitle) && testenv::ReadFileBytes(m_log).empty()) << "said or started";
        ASSERT_TRUE(PressLauncherButton(m_window, IDC_INTRO)); // without the CD: asked for it
        const ui::MessageBoxSeen box = ui::WaitForMessageBox(kLauncherBoxCaption);
        EXPECT_EQ("Nie można odnaleźć CD-ROM'u - JEX", box.text);
        EXPECT_EQ(m_window, GetWindow(box.window, GW_OWNER));
        ASSERT_TRUE(testenv::MapCd('e') && ui::Answer(box.window, IDRETRY));
    } else {
        ASSERT_TRUE(PressLauncherButton(m_window, row.button));
    }
    if (replaces) { // the launcher ended before the game did, by the clock the stand-ins log by
        StandinRun end;
        EXPECT_EQ(0, m_process.WaitForExit());
        EXPECT_TRUE(WaitForStandin(m_log, row.program, "end", &end) && m_process.ExitTimeMs() < end.timeMs);
    }
    StandinRun run;
    ASSERT_TRUE(WaitForStandin(m_log, row.program, "start", &run));
    EXPECT_EQ(0, _stricmp(dir.c_str(), run.directory.c_str())) << run.directory; // ASCII
    EXPECT_EQ((intro ? "e:" : m_game) + "\\" + row.program, run.commandLine); // unquoted, spaces and all
    if (!replaces) { // waited for: the launcher answers again only once the program has ended
        ASSERT_TRUE(ui::WaitUntilResponding(m_window));
        EXPECT_TRUE(WaitForStandin(m_log, row.program, "end", nullptr, 0)) << "the launcher answered before the end";
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, Starts,
                         testing::Values(Starting{"Game", IDC_GAME, "JEX.EXE"},
                                         Starting{"Configuration", IDC_CONFIG, "JEXSETUP.EXE"},
                                         Starting{"IntroOnceTheCdComesWithTheGameMissing", IDC_INTRO, "intro.exe"}),
                         ui::RowName());

} // namespace
