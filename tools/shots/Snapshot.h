// Pictures of the program's windows for the README and tools/run: what the
// screen shows, saved as PNG files through the system's imaging component.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Whether the picture of `area` (screen coordinates) shows `window` drawn:
// its client area not of one colour, nor any of its buttons, nor a message
// box's text.
bool Shows(HWND window, const std::vector<DWORD>& pixels, const RECT& area);

// Once `window` has painted itself afresh (and is the active window, when
// `active`) and the screen shows it drawn (and whatever else `shows`
// wants), saves what the screen shows in `area` as a PNG file. False when
// that does not come within the UI driver's time, or the file cannot be
// written.
bool SaveSnapshot(HWND window, const RECT& area, const std::string& path, bool active = true,
                  const std::function<bool(const std::vector<DWORD>&)>& shows = nullptr);
