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

#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using install_driver::kLauncherBoxCaption;
using install_driver::StandinRun;
using install_driver::WaitForStandin;
using install_driver::WaitLauncherLive;
using testenv::kProductKey;

// Where the system keeps its program-files directory (HKEY_LOCAL_MACHINE).
constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

template <class Row>
std::string RowName(const testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

// ------------------------------------------------------------- CD locator

enum class Folder { Cd, NoMarker, MarkerIsADirectory };

struct Drive {
    char letter;
    Folder folder;
    unsigned type = DRIVE_CDROM;
};

struct Layout {
    const char* name;
    std::vector<Drive> drives;
    char found;
};

class CdLayouts : public testing::TestWithParam<Layout> {
protected:
    void TearDown() override { testenv::UnmapAllExtraDrives(); }
};

TEST_P(CdLayouts, TheFirstCdRomDriveHoldingTheMarkerIsFound)
{
    testenv::UnmapAllExtraDrives();
    for (const Drive& drive : GetParam().drives) {
        std::string folder = testenv::SampleCdUnix();
        if (drive.folder != Folder::Cd) {
            folder = testenv::BuildDirUnix() + (drive.folder == Folder::NoMarker ? "/scratch-no-cd" : "/scratch-dir-cd");
            testenv::MakeDirs(testenv::WindowsPathOf(folder + (drive.folder == Folder::NoMarker ? "" : "/jex.ico")));
        }
        ASSERT_TRUE(testenv::MapFolder(drive.letter, folder, drive.type));
    }
    EXPECT_EQ(GetParam().found, LocateCd());
}

INSTANTIATE_TEST_SUITE_P(
    Drives, CdLayouts,
    testing::Values(Layout{"NoCdRomDrive", {}, 0}, Layout{"CdOnE", {{'e', Folder::Cd}}, 'e'},
                    Layout{"SecondCdRomHoldsIt", {{'f', Folder::NoMarker}, {'h', Folder::Cd}}, 'h'},
                    Layout{"MarkerThatDoesNotOpen", {{'d', Folder::MarkerIsADirectory}}, 0},
                    Layout{"UnreadableMarkerThenTheCd", {{'d', Folder::MarkerIsADirectory}, {'g', Folder::Cd}}, 'g'},
                    Layout{"DrivesAAndBAreNeverTried", {{'a', Folder::Cd}, {'b', Folder::Cd}}, 0},
                    Layout{"HardDiskWithTheMarker", {{'d', Folder::Cd, DRIVE_FIXED}}, 0}),
    RowName<Layout>);

// ------------------------------------------------- installed states, in here

struct Recorded {
    const char* path = nullptr;       // ProgramPath as text
    const char* executable = nullptr; // ProgramExecutable
    bool pathAsNumber = false;        // ProgramPath as the REG_DWORD whose bytes spell "C:\"
};

const Recorded kInstalledOnE = {"E:\\Gry\\Jex", "E:\\Gry\\Jex\\jex.exe"};

struct InstalledState {
    const char* name;
    Recorded recorded;
    bool programFilesDir;
    bool refreshed; // the launcher made over an installation on E:, then refreshed
    const char* seen; // intro, install, uninstall, configuration, game and Exit live or not; the target
};

class InstalledStates : public testing::TestWithParam<InstalledState> {
protected:
    void TearDown() override
    {
        if (m_saved.found)
            testenv::WriteReg(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", m_saved.type, m_saved.bytes);
        testenv::ForgetInstallation();
    }
    static void Put(const Recorded& recorded, bool programFilesDir)
    {
        testenv::ForgetInstallation();
        if (recorded.path)
            testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", recorded.path);
        if (recorded.pathAsNumber)
            testenv::WriteRegNumber(HKEY_CURRENT_USER, kProductKey, "ProgramPath", 0x005c3a43);
        if (recorded.executable)
            testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", recorded.executable);
        if (programFilesDir)
            testenv::WriteRegText(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", "D:\\Gry i programy");
        else
            testenv::DeleteRegValue(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
    }
    const testenv::RegValue m_saved = testenv::ReadReg(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
};

TEST_P(InstalledStates, ButtonsAndTargetFollowTheRegistry)
{
    const InstalledState& row = GetParam();
    Put(row.refreshed ? kInstalledOnE : row.recorded, row.refreshed || row.programFilesDir);
    InstallState state; // the launcher made in this process, without its modal loop
    LauncherDialog launcher(state, nullptr);
    ASSERT_TRUE(launcher.Create());
    if (row.refreshed) {
        Put(row.recorded, row.programFilesDir);
        launcher.RefreshInstallState();
    }
    std::string seen;
    for (int id : {IDC_INTRO, IDC_INSTALL, IDC_UNINSTALL, IDC_CONFIG, IDC_GAME, IDOK})
        seen += IsWindowEnabled(launcher.GetDlgItem(id)) ? '1' : '0';
    EXPECT_EQ(row.seen, seen + " " + state.InstallPath);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, InstalledStates,
    testing::Values(
        InstalledState{"NotInstalled", {}, true, false, "110001 D:\\Gry i programy\\Kestrel Forge\\Jex"},
        InstalledState{"DirectoryAlone", {"E:\\Gry\\Jex"}, true, false, "110001 E:\\Gry\\Jex"},
        InstalledState{"Installed", kInstalledOnE, true, false, "111111 E:\\Gry\\Jex"},
        InstalledState{"DirectoryOfTheWrongType", {nullptr, "C:\\jex.exe", true}, true, false,
                       "110001 D:\\Gry i programy\\Kestrel Forge\\Jex"},
        InstalledState{"RefreshedAfterARemoval", {}, false, true, "110001 "}),
    RowName<InstalledState>);

// -------------------------------------------------------------- placement

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
    EXPECT_EQ(630, placed.right - placed.left);
    EXPECT_EQ(489, placed.bottom - placed.top);
    for (auto [size, low, high] : {std::tuple{GetParam().width, placed.left, placed.right},
                                   std::tuple{GetParam().height, placed.top, placed.bottom}}) {
        if (size < high - low) {
            EXPECT_EQ(0, low) << size;
        } else {
            EXPECT_LE(std::abs((size - high) - low), 2) << size; // centred to the odd pixel
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlacementOnSmallScreens,
                         testing::Values(Screen{"NarrowerAndLower", 600, 400}, Screen{"Narrower", 600, 768},
                                         Screen{"Lower", 1024, 400}),
                         RowName<Screen>);

// ---------------------------------------------------- the ways out, in here

struct WayOut {
    const char* name;
    void (*take)(HWND launcher);
    INT_PTR result;
};

class WaysOut : public testing::TestWithParam<WayOut> {};

// A way out that does not end the run: the run ends here after a while, with -1.
void CALLBACK EndStuckRun(HWND, UINT, UINT_PTR, DWORD)
{
    EndDialog(ui::FindTopWindow(install_driver::kLauncherCaption), -1);
}

TEST_P(WaysOut, EndTheLaunchersRun)
{
    InstallState state;
    LauncherDialog launcher(state, nullptr);
    const UINT_PTR timer = SetTimer(nullptr, 0, 8000, EndStuckRun);
    EXPECT_EQ(GetParam().result, ui::RunModal(launcher, [take = GetParam().take](HWND window) { take(window); }));
    KillTimer(nullptr, timer);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, WaysOut,
    testing::Values(WayOut{"ExitButton", [](HWND launcher) { ui::ClickItem(launcher, IDOK); }, IDOK},
                    WayOut{"Esc", [](HWND launcher) { ui::TypeKey(launcher, VK_ESCAPE); }, IDCANCEL},
                    WayOut{"CloseBox", [](HWND launcher) { ui::ClickCloseBox(launcher); }, IDCANCEL}),
    RowName<WayOut>);

// ---------------------------------------------------- install.exe on screen

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
    void Start(const std::string& currentDir = {})
    {
        m_window = install_driver::StartLauncher(m_process, {}, currentDir);
        ASSERT_NE(nullptr, m_window) << "no launcher window";
        ASSERT_TRUE(WaitLauncherLive(m_window));
    }
    // The button with the focus; 0 for the window itself.
    int Focused() const
    {
        HWND focus = ui::FocusedWindow(m_window);
        return focus == m_window ? 0 : GetDlgCtrlID(focus);
    }
    // Waits until the button shows this cell of its strip on the screen.
    bool ShowsCell(int id, int column) const
    {
        PaletteBitmap strip;
        for (auto [button, picture] : {std::pair{IDC_INTRO, IDB_STRIP_INTRO}, {IDC_INSTALL, IDB_STRIP_INSTALL},
                                       {IDC_UNINSTALL, IDB_STRIP_UNINSTALL}, {IDC_CONFIG, IDB_STRIP_CONFIG},
                                       {IDC_GAME, IDB_STRIP_GAME}, {IDOK, IDB_STRIP_EXIT}})
            if (button == id)
                strip.LoadFromResource(picture);
        strip.SetCellSize(320, 40);
        Surface cell(320, 40);
        strip.Draw(cell.dc(), {0, 0, 319, 39}, column, 0);
        const std::vector<DWORD> drawn = cell.Pixels();
        return ui::WaitUntil(
            [&] {
                const std::vector<DWORD> shown = ui::CaptureScreen(ui::WindowRect(GetDlgItem(m_window, id)));
                size_t same = 0;
                for (size_t i = 0; i < shown.size() && shown.size() == drawn.size(); ++i)
                    same += shown[i] == drawn[i];
                return same >= drawn.size() * 99 / 100;
            },
            5000);
    }

    ui::Process m_process;
    HWND m_window = nullptr;
};

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

TEST_P(Keyboard, FocusGoesDownTheScreenPastGreyedButtonsAndPressesThem)
{
    const KeyRun& run = GetParam();
    if (run.installed) {
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "E:\\Gry\\Jex");
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "E:\\Gry\\Jex\\jex.exe");
        ASSERT_TRUE(testenv::MapCd('d'));
    }
    Start();
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
        ASSERT_TRUE(ui::WaitUntil([&] { return Focused() == step.focus; }))
            << "after key " << std::hex << step.key << std::dec << " the focus is on " << Focused();
        if (step.look) {
            EXPECT_TRUE(!step.focus || ShowsCell(step.focus, BitmapButton::kHoverCell)) << step.focus;
            EXPECT_TRUE(!before || ShowsCell(before, BitmapButton::kNormalCell)) << before;
        }
        before = step.focus;
    }
    ui::TypeKey(m_window, run.press);
    if (run.box) {
        EXPECT_EQ(run.box, ui::AnswerMessageBox(kLauncherBoxCaption, IDCANCEL).text);
        EXPECT_TRUE(m_process.IsRunning());
    } else {
        EXPECT_EQ(0, m_process.WaitForExit());
    }
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
    RowName<KeyRun>);

TEST_F(Launcher, ClientAreaIsCentredAndAResizeIsUndone)
{
    Start();
    const RECT client = ui::ClientRectOnScreen(m_window);
    EXPECT_EQ(624, client.right - client.left);
    EXPECT_EQ(464, client.bottom - client.top);
    const RECT window = ui::WindowRect(m_window);
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CXSCREEN) - window.right) - window.left), 2);
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CYSCREEN) - window.bottom) - window.top), 2);
    SetWindowPos(m_window, nullptr, 3, 5, window.right - window.left + 80, window.bottom - window.top + 40,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(ui::WaitUntil([&] {
        const RECT now = ui::WindowRect(m_window);
        return EqualRect(&now, &window) != FALSE;
    }));
}

// ------------------------------------------------------- program starts

// The stand-ins of the game and its configuration program in a game folder
// with spaces in its path; the stand-ins log to a file of the test's own and
// end by themselves after a second.
class ProgramStarts : public Launcher {
protected:
    void SetUp() override
    {
        Launcher::SetUp();
        m_work = testenv::ScratchDir("launch");
        m_log = m_work + "\\standin.log";
        SetEnvironmentVariableA("JEX_STANDIN_LOG", m_log.c_str());
        SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", "1000");
        testenv::MakeDirs(m_game = m_work + "\\Gry Kestrel\\Jex Gra");
        for (const char* name : {"\\JEX.EXE", "\\JEXSETUP.EXE"}) {
            const std::string standin = testenv::WindowsPathOf(testenv::BuildDirUnix() + "/standins") + name;
            ASSERT_TRUE(CopyFileA(standin.c_str(), (m_game + name).c_str(), FALSE));
        }
    }
    void TearDown() override
    {
        // Every stand-in that started is closed and gone before its folder goes.
        std::istringstream lines(testenv::ReadFileBytes(m_log));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            std::string name, event, time, id;
            std::getline(fields, name, '\t') && std::getline(fields, event, '\t') &&
                std::getline(fields, time, '\t') && std::getline(fields, id, '\t');
            const DWORD pid = event == "start" ? std::strtoul(id.c_str(), nullptr, 10) : 0;
            if (HANDLE process = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr) {
                if (HWND window = ui::FindTopWindow(name, "JexStandin"))
                    PostMessageA(window, WM_CLOSE, 0, 0);
                WaitForSingleObject(process, ui::kDefaultTimeoutMs);
                CloseHandle(process);
            }
        }
        SetEnvironmentVariableA("JEX_STANDIN_LOG", nullptr);
        SetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", nullptr);
        Launcher::TearDown();
        testenv::RemoveTree(m_work);
    }
    void Register(const char* game, const char* config)
    {
        std::string lower = m_game; // its drive letter
        lower[0] = 'c';
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", lower);
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", m_game + "\\" + game);
        testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", m_game + "\\" + config);
    }

    std::string m_work, m_log, m_game;
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
    Start(m_work);
    ASSERT_TRUE(install_driver::PressLauncherButton(m_window, row.button));
    if (row.replaces) {
        EXPECT_EQ(0, m_process.WaitForExit());
        EXPECT_FALSE(WaitForStandin(m_log, row.program, "end", nullptr, 0)) << "the launcher waited";
    }
    StandinRun run;
    ASSERT_TRUE(WaitForStandin(m_log, row.program, "start", &run));
    EXPECT_EQ(0, lstrcmpiA((row.fromCd ? m_work : m_game).c_str(), run.directory.c_str())) << run.directory;
    EXPECT_EQ((row.fromCd ? "e:" : m_game) + "\\" + row.program, run.commandLine); // unquoted, spaces and all
    if (row.replaces)
        return;
    // Waited for: the launcher answers again only once the program has ended.
    EXPECT_FALSE(ui::IsResponding(m_window));
    ASSERT_TRUE(ui::WaitUntilResponding(m_window));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    StandinRun ended;
    ASSERT_TRUE(WaitForStandin(m_log, row.program, "end", &ended, 0)) << "the launcher answered before the end";
    EXPECT_LE(ended.timeMs, ((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000);
    EXPECT_TRUE(m_process.IsRunning());
}

INSTANTIATE_TEST_SUITE_P(Programs, Starts,
                         testing::Values(Starting{"Game", IDC_GAME, "JEX.EXE", false, true},
                                         Starting{"Configuration", IDC_CONFIG, "JEXSETUP.EXE", false, false},
                                         Starting{"IntroFromTheCd", IDC_INTRO, "intro.exe", true, false}),
                         RowName<Starting>);

TEST_F(ProgramStarts, NothingStartsWithoutTheRegisteredFile)
{
    Register("brak.exe", "brak.exe");
    Start(m_work);
    for (int id : {IDC_GAME, IDC_CONFIG}) {
        // Sent, not posted: back once the launcher has handled the click.
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(GetDlgItem(m_window, id), BM_CLICK, 0, 0, SMTO_NORMAL, ui::kDefaultTimeoutMs,
                                        &result));
    }
    ASSERT_TRUE(WaitLauncherLive(m_window));
    EXPECT_TRUE(m_process.IsRunning());
    EXPECT_EQ("", testenv::ReadFileBytes(m_log));
    EXPECT_EQ(nullptr, ui::FindTopWindow(kLauncherBoxCaption));
    EXPECT_EQ(nullptr, ui::FindTopWindow(install_driver::kAppTitle));
}

TEST_F(ProgramStarts, WithoutTheCdTheIntroAsksForItUntilItComes)
{
    Start(m_work);
    // Cancel: back to the launcher, nothing started, nothing more said.
    ASSERT_TRUE(install_driver::PressLauncherButton(m_window, IDC_INTRO));
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
    ASSERT_TRUE(install_driver::PressLauncherButton(m_window, IDC_INTRO));
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
