// Steps of an installation as a person takes them, for end-to-end tests
// that drive the real install.exe: start the launcher, press install, fill
// in the options dialog, answer the overwrite question and the closing
// questions. Built on the UI driver; every wait is bounded.
#pragma once

#include "support/UiDriver.h"

#include <string>
#include <vector>

namespace install_driver {

constexpr char kLauncherCaption[] = "Jex - Program instalacyjny";
constexpr char kOptionsCaption[] = "Program instalacyjny - opcje instalacji";
// The copy progress window and the overwrite question share this caption.
constexpr char kCopyCaption[] = "Kopiowanie plików";
constexpr char kBrowserCaption[] = "Program instalacyjny - wybór katalogu";
constexpr char kRemovalCaption[] = "Usuwanie plików programu";
// Boxes raised through the application, and boxes owned by the launcher.
constexpr char kAppTitle[] = "Program instalacyjny";
constexpr char kLauncherBoxCaption[] = "Program Instalacyjny";

// The two closing questions of a successful installation.
constexpr char kDoneQuestion[] =
    "Instalacja zakończona pomyślnie.\nCzy chcesz uruchomić program konfiguracyjny?";
constexpr char kGameQuestion[] = "Czy chcesz uruchomić grę?";

// Starts install.exe (the build's, or `exe` in `currentDir`) with the
// pointer away from it, and waits until its launcher window is drawn and
// active; null after the timeout.
HWND StartLauncher(ui::Process& process, const std::string& exe = std::string(),
                   const std::string& currentDir = std::string());
// Presses a launcher button once the launcher and the button are live.
bool PressLauncherButton(HWND launcher, int id);
// Presses the launcher's install button.
bool PressInstall(HWND launcher);
// Waits for the options dialog.
HWND WaitForOptions(DWORD timeoutMs = ui::kDefaultTimeoutMs);
// Types the target and picks the kind.
bool FillOptions(HWND options, const std::string& target, bool full);
// The same, then presses "Dalej >" and waits for the dialog to go.
bool ConfirmOptions(HWND options, const std::string& target, bool full);
// Waits until the launcher's operation is over: the launcher is enabled
// and its thread answers.
bool WaitLauncherLive(HWND launcher);
// From the launcher to the copy: install button, options dialog confirmed.
bool BeginInstall(HWND launcher, const std::string& target, bool full);

// The copy progress window, or the overwrite question: the window with
// that caption that has (or lacks) the overwrite question's buttons.
HWND FindCopyProgress();
HWND WaitForOverwriteQuestion(DWORD timeoutMs = ui::kDefaultTimeoutMs);

// Waits for the success question and answers it and the game question
// (IDYES/IDNO). Returns false when the success question did not come;
// `text` then holds whatever box of the application came instead.
bool AnswerClosingQuestions(int configAnswer, int gameAnswer, std::string* text = nullptr,
                            DWORD timeoutMs = 120000);

// What the stand-ins of the game, its configuration program and the intro
// log when they start and end (see standins/Standin.cpp).
struct StandinRun {
    std::string name, event;
    unsigned long long timeMs = 0;
    std::string directory, commandLine;
};
std::vector<StandinRun> ReadStandinLog(const std::string& path);
// Waits for a run of `name` with this event ("start", "end") in the log;
// with a timeout of 0 it looks once.
bool WaitForStandin(const std::string& log, const std::string& name, const std::string& event,
                    StandinRun* found = nullptr, DWORD timeoutMs = ui::kDefaultTimeoutMs);

} // namespace install_driver
