// Times one installation through the program's own windows, from the press
// on "Dalej >" in the options dialog to the closing question that reports
// success, and reads the program's peak working set while that question is
// open, and once before, at the launcher. Run through bench/install-speed,
// which alternates it with `cp -r` and Wine's `xcopy /e` of the same tree.
//   install_speed.exe INSTALL-EXE CD-FOLDER TARGET partial|full
//       CD-FOLDER is a Linux path, mapped as the CD-ROM drive D:.
//   install_speed.exe --bare COMMAND-LINE
//       the peak working set of a bare program (bare_dialog.exe and its
//       arguments) at its message box, measured the same way.
// Prints "BENCH name=value" lines.
#include "BenchSupport.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace install_driver;

constexpr char kProgram[] = "install_speed";
constexpr DWORD kCopyTimeoutMs = 600000;

int Fail(const char* what)
{
    return bench::Fail(kProgram, what);
}

void PrintPeak(const char* name, DWORD processId)
{
    std::printf("BENCH %s=%lu\n", name, static_cast<unsigned long>(bench::PeakWorkingSet(processId)));
}

int MeasureBare(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return Fail("the bare program did not start");
    CloseHandle(process.hThread);
    HWND box = bench::WaitForMessageBox(kAppTitle, nullptr, ui::kDefaultTimeoutMs);
    if (box) {
        PrintPeak("peak_working_set", process.dwProcessId);
        ui::ClickItem(box, IDNO);
    }
    WaitForSingleObject(process.hProcess, ui::kDefaultTimeoutMs);
    CloseHandle(process.hProcess);
    return box ? 0 : Fail("no message box from the bare program");
}

int MeasureInstall(const std::string& exe, const std::string& cd, const std::string& target,
                   bool full)
{
    testenv::UnmapAllExtraDrives();
    if (!testenv::MapCd('d', cd))
        return Fail("the CD could not be mapped");
    testenv::ForgetInstallation();

    ui::Process process;
    HWND launcher = StartLauncher(process, exe);
    if (!launcher)
        return Fail("no launcher");
    // Where the program stands before the installation begins.
    PrintPeak("launcher_working_set", process.Id());
    if (!PressInstall(launcher))
        return Fail("the install button did not take the press");
    HWND options = WaitForOptions();
    if (!FillOptions(options, target, full))
        return Fail("the options dialog did not take the target and the kind");

    double seconds = 0;
    HWND done = bench::PressAndWaitForMessageBox(options, IDOK, kAppTitle, nullptr, kCopyTimeoutMs, seconds);
    if (!done)
        return Fail("no closing question");
    PrintPeak("peak_working_set", process.Id());
    const std::string text = ui::GetItemText(done, ui::kMessageBoxTextId);
    if (text != kDoneQuestion) {
        std::fprintf(stderr, "%s: the installation ended with \"%s\"\n", kProgram, text.c_str());
        return 1;
    }
    std::printf("BENCH seconds=%.4f\n", seconds);

    ui::ClickItem(done, IDNO);
    ui::WaitForWindowGone(done);
    ui::AnswerMessageBox(kAppTitle, IDNO);
    ui::ClickItem(launcher, IDOK);
    process.WaitForExit();
    testenv::ForgetInstallation();
    testenv::UnmapAllExtraDrives();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--bare") == 0)
        return MeasureBare(argv[2]);
    if (argc != 5 || (std::strcmp(argv[4], "partial") != 0 && std::strcmp(argv[4], "full") != 0))
        return Fail("usage: install_speed.exe INSTALL-EXE CD-FOLDER TARGET partial|full\n"
                    "       install_speed.exe --bare COMMAND-LINE");
    return MeasureInstall(argv[1], argv[2], argv[3], std::strcmp(argv[4], "full") == 0);
}
