// Times the directory browser: filling the directory list with a directory
// of many subdirectories, and opening the browser (both lists) on the drives
// of this machine. Each is set against the bare directory listing it rests
// on. Run through bench/browse-speed.
//   browse_speed.exe DIR [--show MS]
#include "BenchSupport.h"
#include "dirpick/BrowsePath.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Pump(HWND dialog)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// The floor: listing the directory and keeping its subdirectories' names.
double BareListing(const std::string& dir, int* count)
{
    double start = bench::Now();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    *count = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                ++*count;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return bench::Now() - start;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: browse_speed DIR [--show MS]\n");
        return 2;
    }
    std::string dir = argv[1];
    int showMs = (argc >= 4 && std::strcmp(argv[2], "--show") == 0) ? std::atoi(argv[3]) : 0;

    int subdirs = 0;
    BareListing(dir, &subdirs); // warm the cache
    double bare = BareListing(dir, &subdirs);

    // Opening the browser: both lists, every drive of the machine.
    double start = bench::Now();
    CBrowsePath browser(nullptr, "C:\\", "");
    if (!browser.Create()) {
        std::fprintf(stderr, "the browser could not be created\n");
        return 1;
    }
    Pump(browser.m_hWnd);
    double open = bench::Now() - start;

    // Filling the list with the big directory, and drawing it.
    browser.ShowWindow(SW_SHOW);
    Pump(browser.m_hWnd);
    start = bench::Now();
    browser.m_wndDirs.SetDirectory(dir, 1);
    UpdateWindow(browser.m_wndDirs.m_hWnd);
    Pump(browser.m_hWnd);
    double fill = bench::Now() - start;
    int entries = browser.m_wndDirs.GetCount();

    std::printf("directory with %d subdirectories (%d entries in the list)\n", subdirs, entries);
    std::printf("  bare listing        %8.1f ms\n", bare * 1000);
    std::printf("  list filled, drawn  %8.1f ms  (%.1f x the bare listing; target < 1000 ms: %s)\n",
                fill * 1000, bare > 0 ? fill / bare : 0.0, fill < 1.0 ? "met" : "MISSED");
    std::printf("browser opened on %d drives  %8.1f ms  (target < 1000 ms: %s)\n",
                browser.m_wndDrives.GetCount(), open * 1000, open < 1.0 ? "met" : "MISSED");

    if (showMs > 0) {
        browser.m_wndDirs.SetDirectory("C:\\", 1);
        browser.m_wndDirs.SetCurSel(1);
        browser.m_wndDirs.SetFocus();
        double until = bench::Now() + showMs / 1000.0;
        while (bench::Now() < until) {
            Pump(browser.m_hWnd);
            Sleep(20);
        }
    }
    return 0;
}
