#include "BenchSupport.h"

#include <psapi.h>

#include <cstdio>

namespace bench {

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

namespace {

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

HWND FindMessageBox(const char* caption, HWND except)
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", caption));) {
        if (window != except && IsWindowVisible(window) && GetDlgItem(window, kMessageBoxTextId))
            return window;
    }
    return nullptr;
}

} // namespace

HWND WaitForMessageBox(const char* caption, HWND except, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND box = FindMessageBox(caption, except))
            return box;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(1);
    }
}

HWND PressAndWaitForMessageBox(HWND dialog, int buttonId, const char* caption, HWND except,
                               DWORD timeoutMs, double& seconds)
{
    const double start = Now();
    PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
    HWND box = WaitForMessageBox(caption, except, timeoutMs);
    seconds = Now() - start;
    return box;
}

size_t PeakWorkingSet(DWORD processId)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return 0;
    const bool known = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    return known ? counters.PeakWorkingSetSize : 0;
}

int Fail(const char* program, const char* what)
{
    std::fprintf(stderr, "%s: %s\n", program, what);
    return 1;
}

} // namespace bench
