// What the benchmark drivers share: a clock, the wait for a message box of
// the program measured, and the peak working set of another process, as
// the system reports it.
#pragma once

#include <windows.h>

#include <cstddef>

namespace bench {

// Seconds on the performance counter.
double Now();

// A visible message box with this caption, other than `except`, polled
// every millisecond. It finds windows through the system's window list
// alone: a program busy copying is never sent a message, so the wait costs
// it nothing. Null after the timeout.
HWND WaitForMessageBox(const char* caption, HWND except, DWORD timeoutMs);

// Presses a button of a dialog as the mouse would (a posted BM_CLICK) and
// waits for a message box as WaitForMessageBox does; `seconds` is the time
// from the press to the box. Null after the timeout.
HWND PressAndWaitForMessageBox(HWND dialog, int buttonId, const char* caption, HWND except,
                               DWORD timeoutMs, double& seconds);

// The peak working set of the process with this id, in bytes; 0 when the
// system does not tell.
size_t PeakWorkingSet(DWORD processId);

// Prints "PROGRAM: WHAT" to stderr and returns 1, the drivers' exit code
// for a run that measured nothing.
int Fail(const char* program, const char* what);

} // namespace bench
