// The launcher: the CD it finds, its buttons in each installed state, its
// place on the screen, the keyboard and the pointer, the ways out, and the
// programs it starts.
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
#include <functional>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace install_driver;
using testenv::kProductKey;

// Where the system keeps its program-files directory (HKEY_LOCAL_MACHINE).
constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

struct Layout {
    const char* name;
    // Each drive mapped: its letter and what it holds: '+' the sample CD,
    // '-' a folder without the marker, '/' one whose marker is a folder; '#'
    // the sample CD as a hard disk.
    const char* drives;
    char found;
};

class CdLayouts : public testing::TestWithParam<Layout> {
protected:
    void TearDown() override { testenv::UnmapAllExtraDrives(); }
};

TEST_P(CdLayouts, TheFirstCdRomDriveHoldingTheMarkerIsFound)
{
    testenv::UnmapAllExtraDrives();
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

struct InstalledState {
    const char* name;
    const char* path;       // ProgramPath
    bool pathAsNumber;      // as a REG_DWORD (whose bytes spell "C:\"), else as text
    const char* executable; // ProgramExecutable
    bool programFilesDir;   // the system's program-files directory known
    const char* seen; // intro, install, uninstall, configuration, game and Exit live or not; the target
};

const InstalledState kInstalledOnE = {"Installed", "E:\\Gry\\Jex", false, "E:\\Gry\\Jex\\jex.exe", true,
                                      "111111 E:\\Gry\\Jex"};

class InstalledStates : public testing::TestWithParam<InstalledState> {
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
        if (row.path)
            testenv::WriteReg(HKEY_CURRENT_USER, kProductKey, "ProgramPath", row.pathAsNumber ? REG_DWORD : REG_SZ,
                              std::string(row.path, strlen(row.path) + 1));
        if (row.executable)
            testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", row.executable);
        if (row.programFilesDir)
            testenv::WriteRegText(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", "D:\\Gry i programy");
        else
            testenv::DeleteRegValue(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
    }
    const testenv::RegValue m_saved = testenv::ReadReg(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
};

TEST_P(InstalledStates, ButtonsAndTargetFollowTheRegistryAtARefresh)
{
    Put(kInstalledOnE);
    InstallState state; // the launcher made in this process, without its modal loop
    LauncherDialog launcher(state, nullptr);
    ASSERT_TRUE(launcher.Create());
    Put(GetParam());
    launcher.RefreshInstallState();
    std::string seen;
    for (int id : {IDC_INTRO, IDC_INSTALL, IDC_UNINSTALL, IDC_CONFIG, IDC_GAME, IDOK})
        seen += IsWindowEnabled(launcher.GetDlgItem(id)) ? '1' : '0';
    EXPECT_EQ(GetParam().seen, seen + " " + state.InstallPath);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, InstalledStates,
    testing::ValuesIn(std::vector<InstalledState>{
        {"NotInstalled", nullptr, false, nullptr, true, "110001 D:\\Gry i programy\\Kestrel Forge\\Jex"},
        {"DirectoryAlone", "E:\\Gry\\Jex", false, nullptr, true, "110001 E:\\Gry\\Jex"}, kInstalledOnE,
        {"DirectoryOfTheWrongType", "C:\\", true, "C:\\jex.exe", true, "110001 D:\\Gry i programy\\Kestrel Forge\\Jex"},
        {"NoProgramFilesDirectory", nullptr, false, nullptr, false, "110001 "}}),
    ui::RowName());

struct Screen {
    const char* name;
    int width, height;
};

class PlacementOnSmallScreens : public testing::TestWithParam<Screen> {};

TEST_P(PlacementOnSmallScreens, ClientAreaMadeFullSizeCentredButNeverBeyondTheTopLeft)
{
    // The template's client area, 600 x 450, in a frame of 606 x 475: the
    // frame is kept and the client area made 624 x 464.
    const RECT placed = LauncherPlacement(GetParam().width, GetParam().height, {0, 0, 600, 450}, {30, 40, 636, 515});
    EXPECT_EQ(std::pair(630L, 489L), std::pair(placed.right - placed.left, placed.bottom - placed.top));
    for (auto [size, low, high] : {std::tuple{GetParam().width, placed.left, placed.right},
                                   std::tuple{GetParam().height, placed.top, placed.bottom}})
        EXPECT_NEAR(std::max(0L, (size - (high - low)) / 2), low, 1) << size; // centred, or at 0 when too small
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlacementOnSmallScreens,
                         testing::Values(Screen{"NarrowerAndLower", 600, 400}, Screen{"Narrower", 600, 768},
                                         Screen{"Lower", 1024, 400}),
                         ui::RowName());

struct WayOut {
    const char* name;
    void (*take)(HWND launcher);
    INT_PTR result;
};

class WaysOut : public testing::TestWithParam<WayOut> {};

TEST_P(WaysOut, EndTheLaunchersRun)
{
    InstallState state;
    LauncherDialog launcher(state, nullptr);
    // A way out that does not end the run: the run ends here after a while, with -1.
    const UINT_PTR timer = SetTimer(nullptr, 0, 8000, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK {
        EndDialog(ui::FindTopWindow(kLauncherCaption), -1);
    });
    EXPECT_EQ(GetParam().result, ui::RunModal(launcher, GetParam().take));
    KillTimer(nullptr, timer);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, WaysOut,
    testing::Values(WayOut{"ExitButton", [](HWND launcher) { ui::ClickItem(launcher, IDOK); }, IDOK},
                    WayOut{"Esc", [](HWND launcher) { ui::TypeKey(launcher, VK_ESCAPE); }, IDCANCEL},
                    WayOut{"CloseBox", [](HWND launcher) { ui::ClickCloseBox(launcher); }, IDCANCEL}),
    ui::RowName());

// install.exe itself on the screen.
class Launcher : public testing::Test {
protected:
    void SetUp() override
    {
        testenv::UnmapAllExtraDrives();
        testenv::ForgetInstallation();
        // The pointer away from where the window comes, or it takes the
        // focus; not to 0, 0, which Wine may already believe it is at.
        ui::MovePointerTo(1, 1);
    }
    void TearDown() override
    {
        m_process.Kill();
        ui::MovePointerTo(0, 0);
        testenv::UnmapAllExtraDrives();
        testenv::ForgetInstallation();
    }
    bool Start(const std::string& dir = {})
    {
        return (m_window = StartLauncher(m_process, {}, dir)) && WaitLauncherLive(m_window);
    }

    ui::Process m_process;
    HWND m_window = nullptr;
};

TEST_F(Launcher, ClientAreaIsCentredAndAResizeIsUndone)
{
    ASSERT_TRUE(Start());
    const RECT client = ui::ClientRectOnScreen(m_window), window = ui::WindowRect(m_window);
    EXPECT_EQ(std::pair(624L, 464L), std::pair(client.right - client.left, client.bottom - client.top));
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CXSCREEN) - window.right) - window.left), 2);
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CYSCREEN) - window.bottom) - window.top), 2);
    SetWindowPos(m_window, nullptr, 3, 5, window.right - window.left + 80, window.bottom - window.top + 40,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(ui::WaitUntil([&] {
        const RECT now = ui::WindowRect(m_window);
        return EqualRect(&now, &window) != FALSE;
    }));
}

constexpr UINT kShiftTab = 0x10000;
constexpr UINT kPointerOver = 0x20000; // with a button's id, or alone over the background

struct Step {
    UINT key;          // 0: none, where the focus starts
    int focus;         // the button that has it then; 0: the window
    bool look = false; // and on the screen: that button highlighted, the one before not
};

struct KeyRun {
    const char* name;
    bool installed;
    std::vector<Step> steps;
    UINT press;      // then presses the focused button:
    const char* box; // the question it asks; null: Exit
};

class Keyboard : public Launcher, public testing::WithParamInterface<KeyRun> {};

// Waits until the launcher's intro, install or Exit button shows this cell
// of its strip on the screen.
bool ShowsCell(HWND launcher, int id, int column)
{
    PaletteBitmap strip;
    strip.LoadFromResource(id == IDC_INTRO ? IDB_STRIP_INTRO : id == IDC_INSTALL ? IDB_STRIP_INSTALL : IDB_STRIP_EXIT);
    strip.SetCellSize(320, 40);
    Surface cell(320, 40);
    strip.Draw(cell.dc(), {0, 0, 319, 39}, column, 0);
    const std::vector<DWORD> drawn = cell.Pixels();
    return ui::WaitUntil(
        [&] {
            const std::vector<DWORD> shown = ui::CaptureScreen(ui::WindowRect(GetDlgItem(launcher, id)));
            return shown == drawn;
        },
        5000);
}

TEST_P(Keyboard, FocusGoesDownTheScreenPastGreyedButtonsAndPressesThem)
{
    const KeyRun& run = GetParam();
    if (run.installed) {
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "E:\\Gry\\Jex");
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "E:\\Gry\\Jex\\jex.exe");
        ASSERT_TRUE(testenv::MapCd('d'));
    }
    ASSERT_TRUE(Start());
    auto focused = [&] { // the button with the focus; 0 for the window itself
        HWND focus = ui::FocusedWindow(m_window);
        return focus == m_window ? 0 : GetDlgCtrlID(focus);
    };
    int before = 0;
    for (const Step& step : run.steps) {
        if (step.key == kShiftTab) { // typed: the dialog reads the Shift key, which only real input sets
            for (auto [key, up] : {std::pair{VK_SHIFT, 0}, {VK_TAB, 0}, {VK_TAB, 1}, {VK_SHIFT, 1}})
                keybd_event(key, 0, up ? KEYEVENTF_KEYUP : 0, 0);
        } else if (step.key & kPointerOver) {
            const int id = step.key & 0xFFFF;
            const RECT area = id ? ui::WindowRect(GetDlgItem(m_window, id)) : ui::ClientRectOnScreen(m_window);
            ui::MovePointerTo(area.left + 60, area.top + 20);
        } else if (step.key) {
            ui::TypeKey(m_window, step.key);
        }
        ASSERT_TRUE(ui::WaitUntil([&] { return focused() == step.focus; })) << "after " << step.key << ": " << focused();
        if (step.look) {
            EXPECT_TRUE(!step.focus || ShowsCell(m_window, step.focus, BitmapButton::kHoverCell)) << step.focus;
            EXPECT_TRUE(!before || ShowsCell(m_window, before, BitmapButton::kNormalCell)) << before;
        }
        before = step.focus;
    }
    ui::TypeKey(m_window, run.press);
    if (run.box)
        EXPECT_EQ(run.box, ui::AnswerMessageBox(kLauncherBoxCaption, IDCANCEL).text);
    else
        EXPECT_EQ(0, m_process.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    States, Keyboard,
    testing::Values(
        KeyRun{"NotInstalled",
               false,
               {{0, IDC_INTRO, true}, {VK_TAB, IDC_INSTALL}, {VK_TAB, IDOK}, {VK_TAB, IDC_INTRO},
                {VK_DOWN, IDC_INSTALL}, {VK_DOWN, IDOK}, {VK_RIGHT, IDC_INTRO}, {VK_UP, IDOK},
                {VK_LEFT, IDC_INSTALL}, {VK_UP, IDC_INTRO}, {kShiftTab, IDOK, true},
                {kPointerOver | IDC_INSTALL, IDC_INSTALL, true}, {kPointerOver, 0, true}, {VK_UP, IDOK},
                {kPointerOver | IDC_INSTALL, IDC_INSTALL}, {kPointerOver, 0}, {kShiftTab, IDOK}},
               VK_SPACE,
               nullptr},
        KeyRun{"Installed",
               true,
               {{0, IDC_INTRO}, {VK_TAB, IDC_INSTALL}, {VK_TAB, IDC_UNINSTALL}, {VK_TAB, IDC_CONFIG},
                {VK_TAB, IDC_GAME}, {VK_TAB, IDOK}, {VK_TAB, IDC_INTRO}, {VK_TAB, IDC_INSTALL}},
               VK_RETURN,
               "Program już jest zainstalowany w systemie.\nCzy chcesz kontynuować ?"}),
    ui::RowName());

// The stand-ins of the game and its configuration program in a game folder
// with spaces in its path; the stand-ins log to a file of the test's own and
// end by themselves after a second.
class ProgramStarts : public Launcher {
protected:
    void SetUp() override
    {
        Launcher::SetUp();
        SetEnvironmentVariableA("JEX_STANDIN_LOG", m_log.c_str());
        SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", "1000");
        testenv::MakeDirs(m_game);
        for (const std::string name : {"\\JEX.EXE", "\\JEXSETUP.EXE"})
            ASSERT_TRUE(CopyFileA((testenv::WindowsPathOf(testenv::BuildDirUnix() + "/standins") + name).c_str(),
                                  (m_game + name).c_str(), FALSE));
    }
    void TearDown() override
    {
        // Every stand-in that started ends by itself, and then its folder can go.
        ui::WaitUntil([&] {
            const std::vector<StandinRun> runs = ReadStandinLog(m_log);
            return std::count_if(runs.begin(), runs.end(), [](const StandinRun& run) { return run.event == "end"; }) *
                       2 == runs.size();
        });
        SetEnvironmentVariableA("JEX_STANDIN_LOG", nullptr);
        SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", nullptr);
        Launcher::TearDown();
        ui::WaitUntil([&] { return testenv::RemoveTree(m_work); });
    }
    void Register(const char* game, const char* config)
    {
        // The directory with its drive letter in lower case.
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "c" + m_game.substr(1));
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", m_game + "\\" + game);
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", m_game + "\\" + config);
    }

    const std::string m_work = testenv::ScratchDir("launch"), m_log = m_work + "\\standin.log";
    const std::string m_game = m_work + "\\Gry Kestrel\\Jex Gra";
};

struct Starting {
    const char* name;
    int button;
    const char* program;
    bool fromCd;   // from the CD's root in the launcher's folder, else from the game folder in its own
    bool replaces; // the launcher ends at once, else it waits
};

class Starts : public ProgramStarts, public testing::WithParamInterface<Starting> {};

TEST_P(Starts, TheProgramWithItsPathAloneAsTheCommandLine)
{
    const Starting& row = GetParam();
    ASSERT_TRUE(testenv::MapCd('e'));
    Register("JEX.EXE", "JEXSETUP.EXE");
    ASSERT_TRUE(Start(m_work));
    ASSERT_TRUE(PressLauncherButton(m_window, row.button));
    if (row.replaces) {
        EXPECT_EQ(0, m_process.WaitForExit());
        EXPECT_FALSE(WaitForStandin(m_log, row.program, "end", nullptr, 0)) << "the launcher waited";
    }
    StandinRun run;
    ASSERT_TRUE(WaitForStandin(m_log, row.program, "start", &run));
    EXPECT_EQ(0, lstrcmpiA((row.fromCd ? m_work : m_game).c_str(), run.directory.c_str())) << run.directory;
    EXPECT_EQ((row.fromCd ? "e:" : m_game) + "\\" + row.program, run.commandLine); // unquoted, spaces and all
    if (!row.replaces) { // waited for: the launcher answers again only once the program has ended
        EXPECT_FALSE(ui::IsResponding(m_window));
        ASSERT_TRUE(ui::WaitUntilResponding(m_window));
        EXPECT_TRUE(WaitForStandin(m_log, row.program, "end", nullptr, 0)) << "the launcher answered before the end";
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, Starts,
                         testing::Values(Starting{"Game", IDC_GAME, "JEX.EXE", false, true},
                                         Starting{"Configuration", IDC_CONFIG, "JEXSETUP.EXE", false, false},
                                         Starting{"IntroFromTheCd", IDC_INTRO, "intro.exe", true, false}),
                         ui::RowName());

TEST_F(ProgramStarts, NothingStartsWithoutItsFileAndTheIntroAsksForTheCdUntilItComes)
{
    Register("brak.exe", "brak.exe");
    ASSERT_TRUE(Start(m_work));
    for (int id : {IDC_GAME, IDC_CONFIG}) // sent, not posted: back once the launcher has handled the click
        ASSERT_TRUE(SendMessageTimeoutA(GetDlgItem(m_window, id), BM_CLICK, 0, 0, SMTO_NORMAL, ui::kDefaultTimeoutMs,
                                        nullptr));
    ASSERT_TRUE(WaitLauncherLive(m_window));
    EXPECT_EQ(nullptr, ui::FindTopWindow(kAppTitle));
    // The intro without the CD: Cancel goes back to the launcher, nothing said
    // or started.
    ASSERT_TRUE(PressLauncherButton(m_window, IDC_INTRO));
    ui::MessageBoxSeen box = ui::WaitForMessageBox(kLauncherBoxCaption);
    ASSERT_NE(nullptr, box.window) << "no box \"" << kLauncherBoxCaption << "\"";
    EXPECT_EQ("Nie można odnaleźć CD-ROM'u - JEX", box.text);
    EXPECT_TRUE(GetDlgItem(box.window, IDRETRY) && GetDlgItem(box.window, IDCANCEL));
    EXPECT_EQ(m_window, GetWindow(box.window, GW_OWNER));
    ui::ClickItem(box.window, IDCANCEL);
    ASSERT_TRUE(WaitLauncherLive(m_window));
    EXPECT_EQ(nullptr, ui::FindTopWindow(kLauncherBoxCaption));
    EXPECT_EQ("", testenv::ReadFileBytes(m_log));
    // Retry with still no CD asks again; once the CD is in f:, Retry starts
    // the intro from there.
    ASSERT_TRUE(PressLauncherButton(m_window, IDC_INTRO));
    ASSERT_NE(nullptr, ui::AnswerMessageBox(kLauncherBoxCaption, IDRETRY).window);
    box = ui::WaitForMessageBox(kLauncherBoxCaption);
    ASSERT_NE(nullptr, box.window) << "not asked again";
    ASSERT_TRUE(testenv::MapCd('f'));
    ui::ClickItem(box.window, IDRETRY);
    StandinRun run;
    ASSERT_TRUE(WaitForStandin(m_log, "intro.exe", "start", &run));
    EXPECT_EQ("f:\\intro.exe", run.commandLine);
}

} // namespace
