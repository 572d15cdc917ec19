#include "support/InstallDriver.h"

#include "support/TestEnv.h"

#include <commctrl.h>

namespace install_driver {

namespace {

constexpr DWORD kPollMs = 20;

// Control ids of the program's dialog templates.
constexpr int IDC_INSTALL = 1002;
constexpr int IDC_OPTIONS_TARGET = 1010;
constexpr int IDC_OPTIONS_PARTIAL = 1020;
constexpr int IDC_OPTIONS_FULL = 1021;
constexpr int IDC_COPY_OVERALL_BAR = 1009;
constexpr int IDC_OVERWRITE_NO_ALL = 5;

void WriteString(HKEY root, const char* subKey, const char* name, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

struct CopyWindowSearch {
    bool wantQuestion;
    HWND found;
};

BOOL CALLBACK MatchCopyWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<CopyWindowSearch*>(param);
    if (!IsWindowVisible(window) || ui::GetText(window) != kCopyCaption)
        return TRUE;
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, ui::kDialogClass) != 0)
        return TRUE;
    bool isQuestion = GetDlgItem(window, IDC_OVERWRITE_NO_ALL) != nullptr;
    if (isQuestion != search->wantQuestion)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindCopyWindow(bool question)
{
    CopyWindowSearch search = {question, nullptr};
    EnumWindows(&MatchCopyWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForCopyWindow(bool question, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();;) {
        if (HWND found = FindCopyWindow(question))
            return found;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

} // namespace

std::string ReadString(HKEY root, const char* subKey, const char* name)
{
    char value[512] = "";
    DWORD size = sizeof value - 1;
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS)
        value[0] = '\0';
    RegCloseKey(key);
    return value;
}

std::string ShortcutGroup()
{
    std::string programs = ReadString(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "Programs");
    if (programs.empty() || programs.back() != '\\')
        programs += '\\';
    return programs + "Kestrel Forge\\Jex\\";
}

void ForgetInstallation(const std::string& target)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    std::string group = ShortcutGroup();
    group.pop_back();
    testenv::RemoveTree(group);
    RemoveDirectoryA(group.substr(0, group.rfind('\\')).c_str());
    if (!target.empty())
        testenv::RemoveTree(target);
}

void RecordInstallation(const std::string& dir)
{
    WriteString(HKEY_CURRENT_USER, kProductKey, "ProgramPath", dir);
    WriteString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable", dir + "\\jex.exe");
    WriteString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", dir + "\\jexsetup.exe");
}

HWND StartLauncher(ui::Process& process, const std::string& exe, const std::string& currentDir)
{
    if (!process.Start(exe.empty() ? testenv::InstallExe() : exe, currentDir))
        return nullptr;
    HWND launcher = ui::WaitForWindow(kLauncherCaption);
    // Clicks posted before the window's initialisation has settled can be
    // lost: wait until the program waits for input.
    if (HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process.Id())) {
        WaitForInputIdle(handle, ui::kDefaultTimeoutMs);
        CloseHandle(handle);
    }
    return launcher;
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
    if (!options || !ui::SetItemText(options, IDC_OPTIONS_TARGET, target))
        return false;
    ui::ClickItem(options, full ? IDC_OPTIONS_FULL : IDC_OPTIONS_PARTIAL);
    // The click is posted: wait until the radio button shows it.
    for (DWORD start = GetTickCount();
         ui::GetItemCheck(options, full ? IDC_OPTIONS_FULL : IDC_OPTIONS_PARTIAL) != BST_CHECKED;) {
        if (GetTickCount() - start >= ui::kDefaultTimeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

bool ConfirmOptions(HWND options, const std::string& target, bool full)
{
    return FillOptions(options, target, full) && ui::ClickItem(options, IDOK) &&
           ui::WaitForWindowGone(options);
}

bool BeginInstall(HWND launcher, const std::string& target, bool full)
{
    return PressInstall(launcher) && ConfirmOptions(WaitForOptions(), target, full);
}

HWND FindCopyProgress()
{
    return FindCopyWindow(false);
}

HWND WaitForCopyProgress(DWORD timeoutMs)
{
    return WaitForCopyWindow(false, timeoutMs);
}

HWND WaitForOverwriteQuestion(DWORD timeoutMs)
{
    return WaitForCopyWindow(true, timeoutMs);
}

int OverallBarPosition()
{
    HWND progress = FindCopyProgress();
    DWORD_PTR position = 0;
    if (!progress || !SendMessageTimeoutA(GetDlgItem(progress, IDC_COPY_OVERALL_BAR), PBM_GETPOS,
                                          0, 0, SMTO_ABORTIFHUNG, 5000, &position))
        return -1;
    return static_cast<int>(position);
}

bool AnswerClosingQuestions(int configAnswer, int gameAnswer, std::string* text, DWORD timeoutMs)
{
    ui::MessageBoxSeen done = ui::WaitForMessageBox(kAppTitle, timeoutMs);
    if (text)
        *text = done.text;
    if (!done.window || done.text != kDoneQuestion)
        return false;
    ui::ClickItem(done.window, configAnswer);
    ui::WaitForWindowGone(done.window);
    ui::MessageBoxSeen game = ui::AnswerMessageBox(kAppTitle, gameAnswer);
    return game.text == kGameQuestion;
}

} // namespace install_driver
