// Pictures of the program's windows for the README and tools/run: what the
// screen shows, saved as PNG files through the system's imaging component.
#pragma once

#include <windows.h>

#include <string>

// Once `window` has painted itself afresh, saves what the screen shows in
// `area` (screen coordinates) as a PNG file. False when it cannot.
bool SaveSnapshot(HWND window, const RECT& area, const std::string& path);
