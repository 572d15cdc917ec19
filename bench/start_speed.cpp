// Times a program's start: from the moment it is started to the moment its
// window is on the screen as it stays, painted. Run through
// bench/install-speed, which alternates the launcher of install.exe with
// bench/bare_dialog.exe, measured the same way.
//   start_speed.exe CAPTION COMMAND-LINE
//       CAPTION: the dialog's caption; COMMAND-LINE: the program and its
//       arguments.
//
// Seven lines of pixels across the window's client area are read from the
// screen every millisecond: for the launcher the background and a line
// through each of its six buttons, for any other window seven lines spread
// evenly over it. The window counts as painted at the first reading that
// equals the last one, taken once the program has waited for input for a
// while with nothing changing on the screen. For the launcher that last
// reading must also show the background picture and every button drawn
// from its strip, or the run fails.
// Prints "BENCH seconds=value".
#include "BenchSupport.h"
#include "gfx/PaletteBitmap.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/Surface.h"
#include "support/UiDriver.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kProgram[] = "start_speed";
constexpr int kLines = 7;
// How long the screen must stay as it is, with the program idle, to count
// as its final look.
constexpr double kSettledSeconds = 0.5;
constexpr double kTimeoutSeconds = 30;

struct Button {
    UINT strip;
    int top;
};
// The launcher's buttons, as it places them (left edge 304, 320 x 40).
constexpr int kButtonLeft = 304;
constexpr Button kButtons[] = {
    {IDB_STRIP_INTRO, 101}, {IDB_STRIP_INSTALL, 149}, {IDB_STRIP_UNINSTALL, 201},
    {IDB_STRIP_CONFIG, 249}, {IDB_STRIP_GAME, 298},   {IDB_STRIP_EXIT, 377},
};
constexpr int kBackgroundLine = 50;

bool IsLauncher(const std::string& caption)
{
    return caption == install_driver::kLauncherCaption;
}

// The client-area rows read: for the launcher the background's and one
// through the middle of each button.
std::vector<int> RowsOf(const std::string& caption, int clientHeight)
{
    std::vector<int> rows;
    if (IsLauncher(caption)) {
        rows.push_back(kBackgroundLine);
        for (const Button& button : kButtons)
            rows.push_back(button.top + 20);
    } else {
        for (int i = 0; i < kLines; ++i)
            rows.push_back(clientHeight * (2 * i + 1) / (2 * kLines));
    }
    return rows;
}

// The lines on the screen now; empty when the window is not there.
std::vector<DWORD> ReadLines(const std::string& caption)
{
    HWND window = FindWindowA("#32770", caption.c_str());
    if (!window || !IsWindowVisible(window))
        return {};
    const RECT client = ui::ClientRectOnScreen(window);
    std::vector<DWORD> pixels;
    for (int row : RowsOf(caption, client.bottom - client.top)) {
        std::vector<DWORD> line =
            ui::CaptureScreen({client.left, client.top + row, client.right, client.top + row + 1});
        if (line.empty())
            return {};
        pixels.insert(pixels.end(), line.begin(), line.end());
    }
    return pixels;
}

// Row y of a picture (resource id) cut into cells of 320 x 40, `width`
// pixels of it from cell `column`, as the program draws them.
std::vector<DWORD> PictureRow(UINT id, int width, int column, int y)
{
    PaletteBitmap picture;
    picture.LoadFromResource(id);
    picture.SetCellSize(320, 40);
    picture.SetSourceRect({0, y, 0, y});
    Surface row(width, 1);
    picture.Draw(row.dc(), {0, 0, width - 1, 0}, column, 0);
    return row.Pixels();
}

// Whether the launcher's lines show the background and each button in one
// of its strip's cells.
bool ShowsLauncher(const std::vector<DWORD>& lines)
{
    const size_t width = lines.size() / kLines;
    auto segment = [&](int line, size_t from, size_t to) {
        return std::vector<DWORD>(lines.begin() + line * width + from, lines.begin() + line * width + to);
    };
    if (segment(0, 0, width) != PictureRow(IDB_BACKGROUND, static_cast<int>(width), 0, kBackgroundLine))
        return false;
    for (int i = 0; i < 6; ++i) {
        const int row = kButtons[i].top + 20;
        if (segment(i + 1, 0, kButtonLeft) != PictureRow(IDB_BACKGROUND, kButtonLeft, 0, row))
            return false;
        bool drawn = false;
        for (int column = 0; column < 4 && !drawn; ++column)
            drawn = segment(i + 1, kButtonLeft, width) == PictureRow(kButtons[i].strip, 320, column, 20);
        if (!drawn)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return bench::Fail(kProgram, "usage: start_speed.exe CAPTION COMMAND-LINE");
    const std::string caption = argv[1];
    std::string commandLine = argv[2];
    // The pointer rests away from every window: a button under it would
    // change its look on the first mouse move.
    SetCursorPos(0, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = bench::Now();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return bench::Fail(kProgram, "the program did not start");
    CloseHandle(process.hThread);

    std::vector<DWORD> last;
    double lastChanged = start;
    bool settled = false;
    for (double now = start; now - start < kTimeoutSeconds; now = bench::Now()) {
        std::vector<DWORD> lines = ReadLines(caption);
        if (lines != last) {
            last = std::move(lines);
            lastChanged = now;
        } else if (!last.empty() && now - lastChanged >= kSettledSeconds &&
                   WaitForInputIdle(process.hProcess, 0) == 0) {
            settled = true;
            break;
        }
        Sleep(1);
    }
    if (HWND window = FindWindowA("#32770", caption.c_str()))
        PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);

    if (!settled)
        return bench::Fail(kProgram, "the window did not settle on the screen");
    if (IsLauncher(caption) && !ShowsLauncher(last))
        return bench::Fail(kProgram, "the launcher's picture or buttons are not on the screen");
    std::printf("BENCH seconds=%.4f\n", lastChanged - start);
    return 0;
}
