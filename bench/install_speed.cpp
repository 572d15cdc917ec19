// Times one installation through the program's own windows, from the press
// on "Dalej >" in the options dialog to the closing question that reports
// success, and within it the copy window's own life (the directories, the
// files and jex.ini, without the shortcuts, the record and the windows
// around them). It also reads the program's peak working set while that
// question is open, and once before, at the launcher. Run through bench/install-speed,
// which alternates it with `cp -r` and Wine's `xcopy /e` of the same tree.
//   install_speed.exe INSTALL-EXE CD-FOLDER TARGET partial|full SIGNALS
//       CD-FOLDER is a Linux path, mapped as the CD-ROM drive D:. Once the
//       options are filled in, the driver makes the file SIGNALS\ready and
//       presses "Dalej >" only when SIGNALS\go exists: the script clears
//       the target's folder in between, so that the copy starts right after
//       the clearing, as the other contenders' copies do.
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
// Clearing the folder of an earlier 580 MB copy and syncing may take a while.
constexpr DWORD kGoTimeoutMs = 120000;
constexpr wchar_t kCopyCaption[] = L"Kopiowanie plik\u00f3w";

// Checks every millisecond until `ready` holds; false after the timeout.
// The checks of the copy window, like the wait for the closing box, ask
// only the window list, never the busy program.
template <class Check>
bool PollUntil(Check ready, DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount(); !ready(); Sleep(1)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
    return true;
}

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

// Says "ready" through the signal folder and waits for "go".
bool AwaitGo(const std::string& signals)
{
    const std::string ready = signals + "\\ready", go = signals + "\\go";
    HANDLE file = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return PollUntil([&] { return GetFileAttributesA(go.c_str()) != INVALID_FILE_ATTRIBUTES; },
                     kGoTimeoutMs);
}

int MeasureInstall(const std::string& exe, const std::string& cd, const std::string& target,
                   bool full, const std::string& signals)
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
    if (!AwaitGo(signals))
        return Fail("no go from the script");

    const double start = bench::Now();
    PostMessageA(GetDlgItem(options, IDOK), BM_CLICK, 0, 0);
    HWND copyWindow = nullptr;
    if (!PollUntil([&] { return (copyWindow = FindWindowW(L"#32770", kCopyCaption)) != nullptr; },
                   kCopyTimeoutMs))
        return Fail("no copy window");
    const double copyStart = bench::Now();
    if (!PollUntil([&] { return !IsWindow(copyWindow); }, kCopyTimeoutMs))
        return Fail("the copy window stayed");
    const double copySeconds = bench::Now() - copyStart;
    HWND done = bench::WaitForMessageBox(kAppTitle, nullptr, kCopyTimeoutMs);
    const double seconds = bench::Now() - start;
    if (!done)
        return Fail("no closing question");
    PrintPeak("peak_working_set", process.Id());
    const std::string text = ui::GetItemText(done, ui::kMessageBoxTextId);
    if (text != kDoneQuestion) {
        std::fprintf(stderr, "%s: the installation ended with \"%s\"\n", kProgram, text.c_str());
        return 1;
    }
    std::printf("BENCH seconds=%.4f copy_window=%.4f\n", seconds, copySeconds);

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
    if (argc != 6 || (std::strcmp(argv[4], "partial") != 0 && std::strcmp(argv[4], "full") != 0))
        return Fail("usage: install_speed.exe INSTALL-EXE CD-FOLDER TARGET partial|full SIGNALS\n"
                    "       install_speed.exe --bare COMMAND-LINE");
    return MeasureInstall(argv[1], argv[2], argv[3], std::strcmp(argv[4], "full") == 0, argv[5]);
}
