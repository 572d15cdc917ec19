// Times the removal of a full installation through the program's own
// windows: records the installation that the script laid out on disk,
// starts install.exe, presses the uninstall button, answers "Tak" and
// waits for the success message. Run through bench/uninstall-speed.
//   uninstall_speed.exe INSTALL-EXE TARGET
#include "install/InstallManifest.h"
#include "resource.h"
#include "support/UiDriver.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"
#include "sysreg/Shortcuts.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kAppCaption[] = "Program instalacyjny";

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Fail(const char* what)
{
    std::fprintf(stderr, "uninstall_speed: %s\n", what);
    return 1;
}

// A message box of the application, found as soon as it shows.
HWND WaitForBox(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND box = ui::FindTopWindow(kAppCaption);
        if (box && GetDlgItem(box, ui::kMessageBoxTextId))
            return box;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(1);
    }
}

int Remaining(const std::string& target)
{
    int count = 0;
    for (const char* const* entry = FullFiles; *entry; ++entry) {
        if (GetFileAttributesA((target + "\\" + *entry).c_str()) != INVALID_FILE_ATTRIBUTES)
            ++count;
    }
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Fail("usage: uninstall_speed.exe INSTALL-EXE TARGET");
    const std::string exe = argv[1];
    const std::string target = argv[2];

    CreateShortcuts(target, 'd');
    WriteInstallRecord(target, 'd', true);
    const int before = Remaining(target);

    ui::Process process;
    if (!process.Start(exe))
        return Fail("install.exe did not start");
    HWND launcher = ui::WaitForWindow("Jex - Program instalacyjny");
    if (!launcher)
        return Fail("no launcher window");
    DWORD start = GetTickCount();
    while (!ui::IsItemEnabled(launcher, IDC_UNINSTALL) && GetTickCount() - start < 10000)
        Sleep(10);
    ui::ClickItem(launcher, IDC_UNINSTALL);
    HWND confirm = WaitForBox(10000);
    if (!confirm)
        return Fail("no confirmation");

    const double begin = Now();
    ui::ClickItem(confirm, IDYES);
    // The confirmation itself may still be found for a moment.
    HWND done = nullptr;
    while (!done || done == confirm) {
        done = WaitForBox(60000);
        if (!done)
            return Fail("no message after the removal");
        if (done == confirm && !IsWindowVisible(confirm))
            done = nullptr;
        if (done == confirm && Now() - begin > 60)
            return Fail("the confirmation stays");
    }
    const double seconds = Now() - begin;
    const std::string text = ui::GetItemText(done, ui::kMessageBoxTextId);
    ui::ClickItem(done, IDOK);
    ui::WaitForWindowGone(done);
    PostMessageA(launcher, WM_CLOSE, 0, 0);
    process.WaitForExit();

    std::printf("BENCH files_before=%d files_after=%d\n", before, Remaining(target));
    std::printf("BENCH message=%s\n", text == "Odinstalowanie zostało zakończone pomyślnie."
                                          ? "success"
                                          : text.c_str());
    std::printf("BENCH uninstall_seconds=%.4f\n", seconds);
    DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, UninstallKeyPath);
    return 0;
}
