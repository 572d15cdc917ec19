#include "support/InstallDriver.h"

#include "resource.h"
#include "support/TestEnv.h"

#include <sstream>

namespace install_driver {

namespace {

// The copy progress window, or the overwrite question: they share a caption.
HWND FindCopyWindow(bool question)
{
    return ui::FindTopWindow(kCopyCaption, nullptr, [question](HWND window) {
        return (GetDlgItem(window, IDC_OVERWRITE_NO_ALL) != nullptr) == question;
    });
}

} // namespace

HWND StartLauncher(ui::Process& process, const std::string& exe, const std::string& currentDir)
{
    // A button under the pointer as the window comes up would take the focus.
    if (!ui::MovePointerAway() || !process.Start(exe.empty() ? testenv::InstallExe() : exe, currentDir))
        return nullptr;
    // Clicks posted before the window's initialisation has settled can be
    // lost: wait until the program waits for input, active and drawn.
    if (HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process.Id())) {
        WaitForInputIdle(handle, ui::kDefaultTimeoutMs);
        CloseHandle(handle);
    }
    return ui::WaitForWindow(kLauncherCaption);
}

bool PressLauncherButton(HWND launcher, int id)
{
    // The launcher is disabled until its last operation has ended.
    return ui::WaitUntil([&] { return IsWindowEnabled(launcher) && IsWindowEnabled(GetDlgItem(launcher, id)); }) &&
           ui::ClickItem(launcher, id);
}

bool PressInstall(HWND launcher)
{
    return PressLauncherButton(launcher, IDC_INSTALL);
}

HWND WaitForOptions(DWORD timeoutMs)
{
    return ui::WaitForWindow(kOptionsCaption, ui::kDialogClass, timeoutMs);
}

bool FillOptions(HWND options, const std::string& target, bool full)
{
    const int kind = full ? IDC_OPTIONS_FULL : IDC_OPTIONS_PARTIAL;
    // The click is posted: wait until the radio button shows it.
    return options && ui::SetItemText(options, IDC_OPTIONS_TARGET, target) && ui::ClickItem(options, kind) &&
           ui::WaitUntil([&] { return ui::GetItemCheck(options, kind) == BST_CHECKED; });
}

bool ConfirmOptions(HWND options, const std::string& target, bool full)
{
    return FillOptions(options, target, full) && ui::ClickItem(options, IDOK) && ui::WaitForWindowGone(options);
}

bool WaitLauncherLive(HWND launcher)
{
    return ui::WaitUntil([&] { return IsWindowEnabled(launcher) != FALSE; }) && ui::WaitUntilResponding(launcher);
}

std::vector<StandinRun> ReadStandinLog(const std::string& path)
{
    // name, event, time, process id and, for a start, directory and command line; tab-separated.
    std::vector<StandinRun> runs;
    std::istringstream lines(testenv::ReadFileBytes(path));
    for (std::string line; std::getline(lines, line, '\n');) {
        std::istringstream fields(line.substr(0, line.find('\r')));
        StandinRun run;
        std::string time, process;
        if (std::getline(fields, run.name, '\t') && std::getline(fields, run.event, '\t') &&
            std::getline(fields, time, '\t') && std::getline(fields, process, '\t')) {
            run.timeMs = std::stoull(time);
            std::getline(fields, run.directory, '\t');
            std::getline(fields, run.commandLine);
            runs.push_back(run);
        }
    }
    return runs;
}

bool WaitForStandin(const std::string& log, const std::string& name, const std::string& event, StandinRun* found,
                    DWORD timeoutMs)
{
    return ui::WaitUntil(
        [&] {
            for (const StandinRun& run : ReadStandinLog(log)) {
                if (run.name == name && run.event == event) {
                    if (found)
                        *found = run;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
}

bool BeginInstall(HWND launcher, const std::string& target, bool full)
{
    return PressInstall(launcher) && ConfirmOptions(WaitForOptions(), target, full);
}

HWND FindCopyProgress()
{
    return FindCopyWindow(false);
}

HWND WaitForOverwriteQuestion(DWORD timeoutMs)
{
    HWND found = nullptr;
    ui::WaitUntil([&] { return (found = FindCopyWindow(true)) != nullptr; }, timeoutMs);
    return found;
}

bool AnswerClosingQuestions(int configAnswer, int gameAnswer, std::string* text, DWORD timeoutMs)
{
    ui::MessageBoxSeen done = ui::WaitForMessageBox(kAppTitle, timeoutMs);
    if (text)
        *text = done.text;
    return done.text == kDoneQuestion && ui::Answer(done.window, configAnswer) &&
           ui::AnswerMessageBox(kAppTitle, gameAnswer).text == kGameQuestion;
}

} // namespace install_driver
