// Starts a program, waits for its top-level window with the given caption,
// saves a picture of the whole screen once that window has painted itself,
// and ends the program (tools/run's screenshot of the launcher in a Wine
// virtual desktop).
//   snap.exe PROGRAM.exe CAPTION FILE.png
#include "Snapshot.h"

#include "support/UiDriver.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: snap PROGRAM.exe CAPTION FILE.png\n");
        return 2;
    }
    CoInitialize(nullptr);
    const std::string program = argv[1];
    ui::Process process;
    if (!process.Start(program, program.substr(0, program.find_last_of("\\/") + 1))) {
        std::fprintf(stderr, "snap: cannot start %s\n", argv[1]);
        return 1;
    }
    HWND window = ui::WaitForWindow(argv[2], ui::kDialogClass, 30000);
    if (!window) {
        std::fprintf(stderr, "snap: no window '%s'\n", argv[2]);
        return 1;
    }
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!SaveSnapshot(window, screen, argv[3])) {
        std::fprintf(stderr, "snap: cannot save %s\n", argv[3]);
        return 1;
    }
    return 0;
}
