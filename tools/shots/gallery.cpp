// Drives install.exe through its windows, as a person would, and saves a
// picture of each window into a folder: the README's gallery. Run by
// tools/gallery in a Wine virtual desktop, with the exact-size sample CD
// folder in JEX_SAMPLE_CD (so the copy window's bars show real progress)
// and the build in JEX_BUILD_DIR.
//   gallery.exe OUTDIR
#include "Snapshot.h"

#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace install_driver;

constexpr char kGames[] = "C:\\Gry";
constexpr char kTarget[] = "C:\\Gry\\Jex";
// Subdirectories whose names show the directory list's order of Polish
// letters; as many as the list shows at once.
constexpr const char* kPolishNames[] = {"Ćwiczenia", "Źródła", "Ósemka", "windows", "podkatalog_c"};
// Waits for the program's questions, some of which come after file work.
constexpr DWORD kLongWaitMs = 60000;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "gallery: %s\n", what.c_str());
    std::exit(1);
}

HWND Need(HWND window, const std::string& what)
{
    if (!window)
        Fail("no " + what);
    return window;
}

// Presses a button that closes its window, and waits until it has gone.
void Answer(HWND window, int button, const std::string& what)
{
    if (!ui::Answer(window, button))
        Fail("the " + what + " stays");
}

RECT Union(RECT a, const RECT& b)
{
    UnionRect(&a, &a, &b);
    return a;
}

class Gallery {
public:
    explicit Gallery(std::string folder) : m_folder(std::move(folder)) {}

    // A picture of the window, or of `area` around it, once it is drawn:
    // the active window unless another window holds its question; and
    // whatever else `shows` wants to see.
    void Shoot(HWND window, const char* name, bool active = true) { Shoot(window, ui::WindowRect(window), name, active); }
    void Shoot(HWND window, const RECT& area, const char* name, bool active = true,
               const std::function<bool(const std::vector<DWORD>&)>& shows = nullptr)
    {
        const std::string path = m_folder + "\\" + name + ".png";
        if (!SaveSnapshot(window, area, path, active, shows))
            Fail(std::string("no picture of the window drawn, or cannot save ") + path);
        std::printf("%s.png\n", name);
        std::fflush(stdout);
    }

    // Waits for a message box of that caption, takes its picture and
    // answers it.
    void ShootBoxAndAnswer(const char* caption, const char* name, int button)
    {
        ui::MessageBoxSeen box = ui::WaitForMessageBox(caption, kLongWaitMs);
        Shoot(Need(box.window, std::string("message box for ") + name), name);
        Answer(box.window, button, std::string("message box for ") + name);
    }

private:
    std::string m_folder;
};

// Moves `window` to the foot of the screen, out of the way of the window
// it covers.
void MoveToFoot(HWND window)
{
    const RECT rect = ui::WindowRect(window);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top) - 8;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveToTop(HWND window)
{
    const RECT rect = ui::WindowRect(window);
    SetWindowPos(window, nullptr, rect.left, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The options dialog, the browser with its drive list dropped and the
// browser on a directory with Polish names; then the installation cancelled.
void ShootOptionsAndBrowser(Gallery& gallery, HWND options)
{
    gallery.Shoot(options, "options");

    ui::ClickItem(options, IDC_OPTIONS_BROWSE);
    HWND browser = Need(ui::WaitForWindow(kBrowserCaption), "directory browser");
    HWND drives = Need(GetDlgItem(browser, IDC_BROWSE_DRIVES), "drive list");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(drives, CB_SHOWDROPDOWN, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    // The dropped list is a window of its own, of the browser's thread.
    const DWORD thread = GetWindowThreadProcessId(browser, nullptr);
    HWND list = nullptr;
    ui::WaitUntil([&] {
        return (list = ui::FindTopWindow("", "ComboLBox", [&](HWND window) {
                    return GetWindowThreadProcessId(window, nullptr) == thread;
                })) != nullptr;
    });
    Need(list, "dropped drive list");
    const RECT around = Union(ui::WindowRect(browser), ui::WindowRect(list));
    gallery.Shoot(browser, around, "browser", true, [&](const std::vector<DWORD>& pixels) {
        return ui::IsDrawn(list, false) && Shows(list, pixels, around);
    });
    SendMessageTimeoutW(drives, CB_SHOWDROPDOWN, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    Answer(browser, IDCANCEL, "directory browser");

    ui::SetItemText(options, IDC_OPTIONS_TARGET, kGames);
    ui::ClickItem(options, IDC_OPTIONS_BROWSE);
    browser = Need(ui::WaitForWindow(kBrowserCaption), "directory browser on " + std::string(kGames));
    gallery.Shoot(browser, "browser-polish");
    Answer(browser, IDCANCEL, "directory browser");

    Answer(options, IDCANCEL, "options dialog");
    gallery.ShootBoxAndAnswer(kAppTitle, "box-stopped", IDOK);
}

// A full installation that meets an existing file halfway: the copy window
// and the overwrite question, then the closing questions.
void ShootInstallation(Gallery& gallery, HWND launcher)
{
    const std::string existing = std::string(kTarget) + "\\LEVEL\\REEF2";
    testenv::MakeDirs(existing);
    testenv::WriteFileBytes(existing + "\\MAP.DAT", "an older map");

    if (!BeginInstall(launcher, kTarget, true))
        Fail("the options dialog did not take the target");
    HWND question = Need(WaitForOverwriteQuestion(kLongWaitMs), "overwrite question");
    HWND progress = Need(FindCopyProgress(), "copy window");
    MoveToTop(progress);
    MoveToFoot(question);
    gallery.Shoot(progress, "copy", false);
    gallery.Shoot(question, "overwrite");
    Answer(question, IDC_OVERWRITE_YES, "overwrite question");
    gallery.ShootBoxAndAnswer(kAppTitle, "box-done", IDNO);
    gallery.ShootBoxAndAnswer(kAppTitle, "box-game", IDNO);
}

// The uninstallation with a file held open by another program: the removal
// window stops at it with a question.
void ShootRemoval(Gallery& gallery, HWND launcher)
{
    installed::HeldFile held(std::string(kTarget) + "\\DATA\\OBJECTS.DAT");
    PressLauncherButton(launcher, IDC_UNINSTALL);
    gallery.ShootBoxAndAnswer(kAppTitle, "box-uninstall", IDYES);
    ui::MessageBoxSeen error = ui::WaitForMessageBox(kAppTitle, kLongWaitMs);
    Need(error.window, "question about the held file");
    HWND removal = Need(ui::FindTopWindow(kRemovalCaption), "removal window");
    MoveToTop(removal);
    MoveToFoot(error.window);
    gallery.Shoot(removal, "removal", false);
    gallery.Shoot(error.window, "box-remove-error");
    held.Release();
    Answer(error.window, IDRETRY, "question about the held file");
    gallery.ShootBoxAndAnswer(kAppTitle, "box-uninstalled", IDOK);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gallery OUTDIR\n");
        return 2;
    }
    CoInitialize(nullptr);
    Gallery gallery(argv[1]);
    testenv::ForgetInstallation(kTarget);
    for (const char* name : kPolishNames)
        testenv::MakeDirs(std::string(kGames) + "\\" + name);

    // Started without a CD: the launcher, then the question for the CD,
    // which arrives before Retry is pressed.
    testenv::UnmapAllExtraDrives();
    ui::Process process;
    HWND launcher = Need(StartLauncher(process), "launcher");
    gallery.Shoot(launcher, "launcher");
    PressInstall(launcher);
    ui::MessageBoxSeen noCd = ui::WaitForMessageBox(kLauncherBoxCaption);
    gallery.Shoot(Need(noCd.window, "question for the CD"), "box-no-cd");
    if (!testenv::MapCd('d'))
        Fail("cannot map the sample CD as d:");
    Answer(noCd.window, IDRETRY, "question for the CD");
    ShootOptionsAndBrowser(gallery, Need(WaitForOptions(), "options dialog"));

    ShootInstallation(gallery, launcher);
    if (!ui::WaitUntil([&] { return IsWindowEnabled(launcher) && ui::IsItemEnabled(launcher, IDC_UNINSTALL); },
                       kLongWaitMs))
        Fail("the launcher does not show the installation");
    gallery.Shoot(launcher, "launcher-installed");
    PressInstall(launcher);
    gallery.ShootBoxAndAnswer(kLauncherBoxCaption, "box-installed", IDCANCEL);

    ShootRemoval(gallery, launcher);
    PressLauncherButton(launcher, IDOK);
    process.WaitForExit();
    testenv::ForgetInstallation(kTarget);
    std::printf("gallery complete\n");
    return 0;
}
