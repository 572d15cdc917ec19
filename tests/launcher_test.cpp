#include "app/LauncherDialog.h"

#include "dirpick_testing.h"
#include "gfx/PaletteBitmap.h"
#include "resource.h"
#include "support/Surface.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"
#include "sysreg/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using dirpick_testing::WaitUntil;

namespace {

const char kLauncherCaption[] = "Jex - Program instalacyjny";
const char kProductKey[] = "Software\\Kestrel Forge\\Jex";
const char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Leaves the product key absent and puts the program-files directory back
// as it was, whatever a test did to them.
class RegistryState {
public:
    RegistryState()
    {
        m_hadProgramFiles = ReadRegString(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", m_programFiles);
        DeleteRegKeyTree(HKEY_CURRENT_USER, kProductKey);
    }
    ~RegistryState()
    {
        DeleteRegKeyTree(HKEY_CURRENT_USER, kProductKey);
        if (m_hadProgramFiles)
            WriteRegString(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", m_programFiles);
    }
    static void RemoveProgramFiles()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWindowsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "ProgramFilesDir");
            RegCloseKey(key);
        }
    }

private:
    bool m_hadProgramFiles;
    std::string m_programFiles;
};

struct StateHolder {
    InstallState state;
};

// The launcher window made in this process, without its modal loop.
class InProcessLauncher : private StateHolder, public LauncherDialog {
public:
    InProcessLauncher() : LauncherDialog(state, nullptr) { Create(); }
    ~InProcessLauncher() override { DestroyWindow(); }
    const std::string& Target() const { return state.InstallPath; }
    // Which of uninstall, configuration and game are live (install, intro
    // and Exit always are).
    std::string LiveButtons() const
    {
        for (int id : {IDC_INSTALL, IDC_INTRO, IDOK})
            EXPECT_TRUE(::IsWindowEnabled(GetDlgItem(id))) << id;
        std::string live;
        for (int id : {IDC_UNINSTALL, IDC_CONFIG, IDC_GAME})
            live += ::IsWindowEnabled(GetDlgItem(id)) ? '1' : '0';
        return live;
    }
};

void WriteDword(const char* name, DWORD value)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

struct InstalledState {
    const char* name;
    const char* programPath;       // null: not written
    const char* programExecutable; // null: not written
    bool programPathAsNumber;      // ProgramPath written as a REG_DWORD
    const char* live;              // uninstall, configuration, game
    const char* target;            // the installation's target afterwards
};

class LauncherState : public ::testing::TestWithParam<InstalledState> {};

TEST_P(LauncherState, ButtonsAndTargetFollowTheRegistry)
{
    const InstalledState& c = GetParam();
    RegistryState registry;
    WriteRegString(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", "D:\\Gry i programy");
    if (c.programPath)
        WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramPath", c.programPath);
    if (c.programPathAsNumber)
        WriteDword("ProgramPath", 0x005c3a43); // the bytes of "C:\\"
    if (c.programExecutable)
        WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", c.programExecutable);
    InProcessLauncher launcher;
    ASSERT_NE(nullptr, launcher.m_hWnd);
    EXPECT_EQ(c.live, launcher.LiveButtons());
    EXPECT_EQ(c.target, launcher.Target());
}

INSTANTIATE_TEST_SUITE_P(
    Registry, LauncherState,
    ::testing::Values(
        InstalledState{"NotInstalled", nullptr, nullptr, false, "000", "D:\\Gry i programy\\Kestrel Forge\\Jex"},
        InstalledState{"DirectoryAlone", "E:\\Gry\\Jex", nullptr, false, "000", "E:\\Gry\\Jex"},
        InstalledState{"Installed", "E:\\Gry\\Jex", "E:\\Gry\\Jex\\jex.exe", false, "111", "E:\\Gry\\Jex"},
        // A number is no directory, whatever its bytes spell.
        InstalledState{"DirectoryOfTheWrongType", nullptr, "C:\\jex.exe", true, "000",
                       "D:\\Gry i programy\\Kestrel Forge\\Jex"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LauncherRefresh, FollowsTheRegistryAfterAnOperation)
{
    RegistryState registry;
    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "E:\\Gry\\Jex");
    WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "E:\\Gry\\Jex\\jex.exe");
    InProcessLauncher launcher;
    ASSERT_EQ("111", launcher.LiveButtons());
    // After an uninstallation the refresh greys the three again; with not
    // even the program-files directory known there is no default target.
    DeleteRegKeyTree(HKEY_CURRENT_USER, kProductKey);
    RegistryState::RemoveProgramFiles();
    launcher.RefreshInstallState();
    EXPECT_EQ("000", launcher.LiveButtons());
    EXPECT_EQ("", launcher.Target());
}

TEST(LauncherPlacement, CentresTheFrameAroundA624By464ClientArea)
{
    // The template's own client area is smaller; the frame stays as it is.
    RECT client = {0, 0, 600, 450};
    RECT window = {30, 40, 30 + 606, 40 + 475};
    RECT placed = LauncherPlacement(1024, 768, client, window);
    int width = placed.right - placed.left, height = placed.bottom - placed.top;
    EXPECT_EQ(630, width);
    EXPECT_EQ(489, height);
    // Centred to within the odd pixel on either side.
    EXPECT_LE(std::abs((1024 - placed.right) - placed.left), 2);
    EXPECT_LE(std::abs((768 - placed.bottom) - placed.top), 2);

    // A screen narrower and lower than the window: the top left corner.
    placed = LauncherPlacement(600, 400, client, window);
    EXPECT_EQ(0, placed.left);
    EXPECT_EQ(0, placed.top);
    EXPECT_EQ(630, placed.right);
    // Exactly as wide as the window: still not beyond the left edge.
    placed = LauncherPlacement(630, 489, client, window);
    EXPECT_EQ(0, placed.left);
}

// install.exe started for one test, with its launcher window found.
class LauncherWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::UnmapAllExtraDrives();
        // The pointer away from where the window comes, or it takes the
        // focus; not to 0, 0, which Wine may already believe it is at.
        ui::MovePointerTo(1, 1);
        BeforeStart();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(m_process.Start(testenv::InstallExe(), testenv::ScratchDir("launcher")));
        m_window = ui::WaitForWindow(kLauncherCaption);
        ASSERT_NE(nullptr, m_window) << "no window \"" << kLauncherCaption << "\"";
        // Shown is not yet ready: a pointer move before the buttons are in
        // place would be lost.
        ASSERT_TRUE(ui::WaitUntilResponding(m_window));
    }
    void TearDown() override
    {
        m_process.Kill();
        ui::MovePointerTo(0, 0);
        testenv::UnmapAllExtraDrives();
    }
    // What the machine holds before the program starts.
    virtual void BeforeStart() {}

    // Waits until the launcher's button with this id has the keyboard focus.
    bool FocusMovesTo(int id)
    {
        return WaitUntil([&] { return GetDlgCtrlID(ui::FocusedWindow(m_window)) == id; });
    }

    RegistryState m_registry;
    ui::Process m_process;
    HWND m_window = nullptr;
};

// How many pixels of a button on the screen match the cell of its strip.
double MatchWithCell(HWND button, UINT stripId, int column)
{
    PaletteBitmap strip;
    strip.LoadFromResource(stripId);
    strip.SetCellSize(320, 40);
    Surface cell(320, 40);
    strip.Draw(cell.dc(), {0, 0, 319, 39}, column, 0);
    std::vector<DWORD> drawn = cell.Pixels();
    std::vector<DWORD> screen = ui::CaptureScreen(ui::WindowRect(button));
    int same = 0;
    if (screen.size() == drawn.size()) {
        for (size_t i = 0; i < screen.size(); ++i)
            same += drawn[i] == screen[i];
    }
    return same / (320.0 * 40.0);
}

// Waits (bounded) until the button shows that cell on the screen.
bool ShowsCell(HWND button, UINT stripId, int column)
{
    DWORD start = GetTickCount();
    while (MatchWithCell(button, stripId, column) < 0.99) {
        if (GetTickCount() - start > 5000)
            return false;
        Sleep(100);
    }
    return true;
}

TEST_F(LauncherWindow, NotInstalledButtonsAreGreyedAndDrawnFromTheirDisabledCell)
{
    EXPECT_TRUE(ui::IsItemEnabled(m_window, IDC_INSTALL));
    EXPECT_TRUE(ui::IsItemEnabled(m_window, IDC_INTRO));
    EXPECT_TRUE(ui::IsItemEnabled(m_window, IDOK));
    const struct {
        int id;
        UINT strip;
    } greyed[] = {{IDC_UNINSTALL, IDB_STRIP_UNINSTALL}, {IDC_CONFIG, IDB_STRIP_CONFIG}, {IDC_GAME, IDB_STRIP_GAME}};
    for (const auto& button : greyed) {
        HWND item = GetDlgItem(m_window, button.id);
        EXPECT_FALSE(IsWindowEnabled(item)) << button.id;
        EXPECT_TRUE(ShowsCell(item, button.strip, BitmapButton::kDisabledCell))
            << button.id << " matches its disabled cell in "
            << MatchWithCell(item, button.strip, BitmapButton::kDisabledCell) * 100 << "% of its pixels";
    }
    // The Exit button, its pointer elsewhere, shows its normal cell.
    ui::PostMouseMove(m_window, 5, 5);
    EXPECT_TRUE(ShowsCell(GetDlgItem(m_window, IDOK), IDB_STRIP_EXIT, BitmapButton::kNormalCell));
}

TEST_F(LauncherWindow, ButtonsSitDownTheRightEdgeAndThePointerHighlightsThem)
{
    RECT client = ui::ClientRectOnScreen(m_window);
    const struct {
        int id, top;
    } places[] = {{IDC_INTRO, 101}, {IDC_INSTALL, 149}, {IDC_UNINSTALL, 201},
                  {IDC_CONFIG, 249}, {IDC_GAME, 298}, {IDOK, 377}};
    for (const auto& place : places) {
        RECT button = ui::WindowRect(GetDlgItem(m_window, place.id));
        EXPECT_EQ(client.left + 304, button.left) << place.id;
        EXPECT_EQ(client.top + place.top, button.top) << place.id;
        EXPECT_EQ(client.right, button.right) << place.id;
        EXPECT_EQ(40, button.bottom - button.top) << place.id;
    }

    // The pointer onto the install button, then back to the background.
    HWND install = GetDlgItem(m_window, IDC_INSTALL);
    RECT installRect = ui::WindowRect(install);
    ASSERT_TRUE(ui::MovePointerTo(installRect.left + 60, installRect.top + 20));
    EXPECT_TRUE(ShowsCell(install, IDB_STRIP_INSTALL, BitmapButton::kHoverCell));
    ASSERT_TRUE(ui::MovePointerTo(installRect.left + 90, installRect.top + 25));
    EXPECT_TRUE(ShowsCell(install, IDB_STRIP_INSTALL, BitmapButton::kHoverCell));
    ASSERT_TRUE(ui::MovePointerTo(client.left + 100, client.top + 100));
    EXPECT_TRUE(ShowsCell(install, IDB_STRIP_INSTALL, BitmapButton::kNormalCell));
}

TEST_F(LauncherWindow, ClientAreaIsCentredAndAResizeIsUndone)
{
    RECT client = ui::ClientRectOnScreen(m_window);
    EXPECT_EQ(624, client.right - client.left);
    EXPECT_EQ(464, client.bottom - client.top);
    RECT window = ui::WindowRect(m_window);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((screenWidth - window.right) - window.left), 2);
    EXPECT_LE(std::abs((screenHeight - window.bottom) - window.top), 2);

    // Moved to a corner and made larger: back to its size and place.
    SetWindowPos(m_window, nullptr, 3, 5, window.right - window.left + 80, window.bottom - window.top + 40,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    DWORD start = GetTickCount();
    RECT now = ui::WindowRect(m_window);
    while (!EqualRect(&now, &window) && GetTickCount() - start < 5000) {
        Sleep(50);
        now = ui::WindowRect(m_window);
    }
    EXPECT_TRUE(EqualRect(&now, &window)) << "window at " << now.left << "," << now.top << " size "
                                          << now.right - now.left << "x" << now.bottom - now.top;
}

// Shift+Tab as the keyboard types it: the dialog reads the state of the
// Shift key, which only real input sets.
void TypeShiftTab()
{
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
}

TEST_F(LauncherWindow, KeysMoveAHighlightedFocusDownTheScreenPastGreyedButtons)
{
    HWND intro = GetDlgItem(m_window, IDC_INTRO), exit = GetDlgItem(m_window, IDOK);
    // The focus starts on the top button, and shows.
    ASSERT_TRUE(FocusMovesTo(IDC_INTRO));
    EXPECT_TRUE(ShowsCell(intro, IDB_STRIP_INTRO, BitmapButton::kHoverCell));

    const struct {
        UINT key;
        int id;
    } steps[] = {{VK_TAB, IDC_INSTALL}, {VK_TAB, IDOK},         {VK_TAB, IDC_INTRO},
                 {VK_DOWN, IDC_INSTALL}, {VK_DOWN, IDOK},       {VK_RIGHT, IDC_INTRO},
                 {VK_UP, IDOK},          {VK_LEFT, IDC_INSTALL}, {VK_UP, IDC_INTRO}};
    for (const auto& step : steps) {
        ui::TypeKey(m_window, step.key);
        ASSERT_TRUE(FocusMovesTo(step.id)) << "key " << step.key << " should reach " << step.id;
    }
    TypeShiftTab();
    ASSERT_TRUE(FocusMovesTo(IDOK));
    // The focused button is highlighted, the one it left is not.
    EXPECT_TRUE(ShowsCell(exit, IDB_STRIP_EXIT, BitmapButton::kHoverCell));
    EXPECT_TRUE(ShowsCell(intro, IDB_STRIP_INTRO, BitmapButton::kNormalCell));

    // The pointer over the background takes the focus from the buttons, so
    // none is highlighted; going back from there starts at the bottom.
    for (bool shiftTab : {false, true}) {
        ui::PostMouseMove(m_window, 5, 5);
        ASSERT_TRUE(WaitUntil([&] { return ui::FocusedWindow(m_window) == m_window; }));
        EXPECT_TRUE(ShowsCell(intro, IDB_STRIP_INTRO, BitmapButton::kNormalCell));
        EXPECT_TRUE(ShowsCell(exit, IDB_STRIP_EXIT, BitmapButton::kNormalCell));
        if (shiftTab)
            TypeShiftTab();
        else
            ui::TypeKey(m_window, VK_UP);
        ASSERT_TRUE(FocusMovesTo(IDOK));
    }

    // Space presses the focused button.
    ui::TypeKey(m_window, VK_SPACE);
    EXPECT_NE(-1, m_process.WaitForExit());
}

// The launcher of an installed game, started with the CD in its drive.
class InstalledLauncherWindow : public LauncherWindow {
protected:
    void BeforeStart() override
    {
        WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramPath", "E:\\Gry\\Jex");
        WriteRegString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", "E:\\Gry\\Jex\\jex.exe");
        ASSERT_TRUE(testenv::MapCd('d'));
    }
};

TEST_F(InstalledLauncherWindow, TabGoesDownTheScreenAndEnterPressesTheFocusedButton)
{
    ASSERT_TRUE(FocusMovesTo(IDC_INTRO));
    for (int id : {IDC_INSTALL, IDC_UNINSTALL, IDC_CONFIG, IDC_GAME, IDOK, IDC_INTRO, IDC_INSTALL}) {
        ui::TypeKey(m_window, VK_TAB);
        ASSERT_TRUE(FocusMovesTo(id)) << "Tab should reach " << id;
    }
    // Enter installs: the game is there already, so the installation asks first.
    ui::TypeKey(m_window, VK_RETURN);
    ui::MessageBoxSeen box = ui::AnswerMessageBox("Program Instalacyjny", IDCANCEL);
    EXPECT_EQ("Program już jest zainstalowany w systemie.\nCzy chcesz kontynuować ?", box.text);
    EXPECT_TRUE(m_process.IsRunning());
}

TEST_F(LauncherWindow, ExitButtonEndsTheProgram)
{
    ASSERT_TRUE(ui::ClickItem(m_window, IDOK));
    EXPECT_NE(-1, m_process.WaitForExit());
}

TEST_F(LauncherWindow, EscEndsTheProgram)
{
    ui::TypeKey(m_window, VK_ESCAPE);
    EXPECT_NE(-1, m_process.WaitForExit());
}

TEST_F(LauncherWindow, CloseBoxEndsTheProgram)
{
    ui::ClickCloseBox(m_window);
    EXPECT_NE(-1, m_process.WaitForExit());
}

} // namespace
