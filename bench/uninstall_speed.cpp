// Times one removal through the program's own windows, from the press on
// "Tak" in the confirmation to the message that reports success. Records
// the installation that bench/uninstall-speed laid out on disk as the
// program would, starts install.exe and presses the uninstall button.
//   uninstall_speed.exe INSTALL-EXE TARGET partial|full
// Prints "BENCH name=value" lines.
#include "BenchSupport.h"
#include "install/InstallManifest.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Shortcuts.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace install_driver;

constexpr char kProgram[] = "uninstall_speed";
constexpr char kSuccess[] = "Odinstalowanie zostało zakończone pomyślnie.";
constexpr DWORD kRemovalTimeoutMs = 60000;

int Fail(const char* what)
{
    return bench::Fail(kProgram, what);
}

// The files of the table still under the target.
int Remaining(const std::string& target, const char* const* table)
{
    int count = 0;
    for (; *table; ++table) {
        if (GetFileAttributesA((target + "\\" + *table).c_str()) != INVALID_FILE_ATTRIBUTES)
            ++count;
    }
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || (std::strcmp(argv[3], "partial") != 0 && std::strcmp(argv[3], "full") != 0))
        return Fail("usage: uninstall_speed.exe INSTALL-EXE TARGET partial|full");
    const std::string exe = argv[1];
    const std::string target = argv[2];
    const bool full = std::strcmp(argv[3], "full") == 0;

    testenv::ForgetInstallation();
    CreateShortcuts(target, 'd');
    WriteInstallRecord(target, 'd', full, SelectedInstallBytes(full));
    const int before = Remaining(target, SelectedFiles(full));

    ui::Process process;
    HWND launcher = StartLauncher(process, exe);
    if (!launcher || !PressLauncherButton(launcher, IDC_UNINSTALL))
        return Fail("no launcher");
    HWND confirm = bench::WaitForMessageBox(kAppTitle, nullptr, ui::kDefaultTimeoutMs);
    if (!confirm)
        return Fail("no confirmation");

    double seconds = 0;
    HWND done = bench::PressAndWaitForMessageBox(confirm, IDYES, kAppTitle, confirm, kRemovalTimeoutMs, seconds);
    if (!done)
        return Fail("no message after the removal");
    const std::string text = ui::GetItemText(done, ui::kMessageBoxTextId);
    ui::ClickItem(done, IDOK);
    ui::WaitForWindowGone(done);
    ui::ClickItem(launcher, IDOK);
    process.WaitForExit();

    std::printf("BENCH files_before=%d files_after=%d\n", before,
                Remaining(target, SelectedFiles(full)));
    if (text != kSuccess) {
        std::fprintf(stderr, "%s: the removal ended with \"%s\"\n", kProgram, text.c_str());
        return 1;
    }
    std::printf("BENCH seconds=%.4f\n", seconds);
    testenv::ForgetInstallation();
    return 0;
}
