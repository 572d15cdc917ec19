// Steps of an installation as a person takes them, for end-to-end tests
// that drive the real install.exe: start the launcher, press install, fill
// in the options dialog, answer the overwrite question and the closing
// questions. Built on the UI driver; every wait is bounded.
#pragma once

#include "support/UiDriver.h"

#include <string>

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

// Where the program records an installation.
constexpr char kProductKey[] = "Software\\Kestrel Forge\\Jex";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Jex";
std::string ReadString(HKEY root, const char* subKey, const char* name);

// The two closing questions of a successful installation.
constexpr char kDoneQuestion[] =
    "Instalacja zakończona pomyślnie.\nCzy chcesz uruchomić program konfiguracyjny?";
constexpr char kGameQuestion[] = "Czy chcesz uruchomić grę?";

// The Start-menu group folder, with its trailing backslash.
std::string ShortcutGroup();
// Removes every trace of an installation: the registry record, the
// Start-menu group and the given target folder (when not empty).
void ForgetInstallation(const std::string& target = std::string());
// Writes a registry record of an installation in `dir` as the program does.
void RecordInstallation(const std::string& dir);

// Starts install.exe (the build's, or `exe` in `currentDir`) and waits for
// its launcher window; null after the timeout.
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
// Types the target, picks the kind and presses "Dalej >".
bool ConfirmOptions(HWND options, const std::string& target, bool full);
// From the launcher to the copy: install button, options dialog confirmed.
bool BeginInstall(HWND launcher, const std::string& target, bool full);

// The copy progress window, or the overwrite question: the window with
// that caption that has (or lacks) the overwrite question's buttons.
HWND FindCopyProgress();
HWND WaitForCopyProgress(DWORD timeoutMs = ui::kDefaultTimeoutMs);
HWND WaitForOverwriteQuestion(DWORD timeoutMs = ui::kDefaultTimeoutMs);
// The overall bar's position in the progress window, or -1.
int OverallBarPosition();

// Waits for the success question and answers it and the game question
// (IDYES/IDNO). Returns false when the success question did not come;
// `text` then holds whatever box of the application came instead.
bool AnswerClosingQuestions(int configAnswer, int gameAnswer, std::string* text = nullptr,
                            DWORD timeoutMs = 120000);

} // namespace install_driver
