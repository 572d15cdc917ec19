// Drives the windows of a program the way a person would, through the
// Win32 messages of its windows: finds windows by caption, reads their texts
// and states, presses buttons and keys and answers message boxes. Every
// wait is bounded, and waits for what a person would: a window is read only
// once it is drawn, and the next box looked for only once the last is gone.
// Texts are code page 1250 and meet Windows in UTF-16 (support/Cp1250.h).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui {

constexpr DWORD kDefaultTimeoutMs = 15000;
constexpr char kDialogClass[] = "#32770";     // also that of message boxes
constexpr int kMessageBoxTextId = 0xFFFF;    // a message box's text

// Polls until the condition holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs);
// Whether a person sees the window as it is: shown, nothing of it or of its
// children left to paint, its thread answering, and, when `active`, the
// foreground window (where the keyboard goes).
bool IsDrawn(HWND window, bool active = true);
// A visible top-level window with exactly this caption (and class, and that
// `accepts` takes), now; null otherwise. Waiting for one also waits until
// it is drawn and active.
HWND FindTopWindow(const std::string& caption, const char* className = kDialogClass,
                   const std::function<bool(HWND)>& accepts = nullptr);
HWND WaitForWindow(const std::string& caption, const char* className = kDialogClass,
                   DWORD timeoutMs = kDefaultTimeoutMs);
inline bool WaitForWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

// Texts through WM_GETTEXT/WM_SETTEXT, which reach other processes' controls.
std::string GetText(HWND window);
inline std::string GetItemText(HWND dialog, int id) { return GetText(GetDlgItem(dialog, id)); }
bool SetItemText(HWND dialog, int id, const std::string& text);
inline bool IsItemEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
int GetItemCheck(HWND dialog, int id);

// Presses a button as the mouse would (BM_CLICK, posted). A button that
// closes its window is pressed through Answer.
inline bool ClickItem(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item && PostMessageW(item, BM_CLICK, 0, 0);
}
// Presses a button of a message box or another question and waits until
// that window is gone, so that a search for the next one cannot find it.
bool Answer(HWND box, int buttonId, DWORD timeoutMs = kDefaultTimeoutMs);
// Posts a key press and release to a window.
void PressKey(HWND window, UINT virtualKey);
// The window with the keyboard focus in the thread of `window`, or null.
HWND FocusedWindow(HWND window);
// Presses a key where that thread's keyboard focus is, as typing would.
void TypeKey(HWND window, UINT virtualKey);
inline void ClickCloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }
// Puts the pointer there and waits until the display has it there: a
// pointer still on its way would land on whatever window comes up.
bool MovePointerTo(int x, int y);
// The pointer into the screen's bottom-right corner, away from the
// program's windows, which all come up centred.
inline bool MovePointerAway()
{
    return MovePointerTo(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

// Where a window is on the screen: its whole rectangle and its client area.
RECT WindowRect(HWND window);
RECT ClientRectOnScreen(HWND window);
// The pixels of a rectangle of the screen, rows from the top, as 0x00RRGGBB.
std::vector<DWORD> CaptureScreen(const RECT& area);

// Whether the window's thread handles a message within the time (not while
// it waits for a program it started), and waiting until it does.
bool IsResponding(HWND window, DWORD timeoutMs = 300);
bool WaitUntilResponding(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string text;
};
// Waits for a message box with this caption, drawn, and reads its text;
// and the same, then answers it. window is null when none came.
MessageBoxSeen WaitForMessageBox(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs);
MessageBoxSeen AnswerMessageBox(const std::string& caption, int buttonId, DWORD timeoutMs = kDefaultTimeoutMs);

// Answers, from a thread of its own, every message box with this caption
// that comes while it lives: the first ones with `answers` in turn, the
// rest with `otherwise` (a box without that button gets No, Cancel or OK).
// Texts() ends the answering and gives the texts of the boxes in order.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::string caption, std::vector<int> answers = {}, int otherwise = IDOK);
    ~MessageBoxWatcher() { Stop(); }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<std::string> Texts();
    size_t Answered() const { return m_answered; }

private:
    void Stop();

    std::vector<std::string> m_texts;
    std::atomic<bool> m_stop{false};
    std::atomic<size_t> m_answered{0};
    std::thread m_thread;
};

// Handles what is queued for this thread (posted notifications, paints).
void Pump();

// While it lives, windows with this caption cannot be made on this thread:
// the system refuses to create them, as it would when short of resources.
class WindowRefusal {
public:
    explicit WindowRefusal(std::string caption);
    ~WindowRefusal();
    WindowRefusal(const WindowRefusal&) = delete;
    WindowRefusal& operator=(const WindowRefusal&) = delete;

private:
    HHOOK m_hook;
};

// Cancels every visible window of that thread, the last opened first.
void CancelWindowsOf(DWORD thread);

// Runs dialog.DoModal() on this thread while `person` acts from another one,
// given the dialog's window once it is drawn (null if it never came); a failed
// EXPECT there counts, since this thread waits meanwhile. Whatever is left
// open afterwards is cancelled, so a failing person cannot hang the test.
template <class Dialog>
INT_PTR RunModal(Dialog& dialog, const std::function<void(HWND)>& person)
{
    const DWORD thread = GetCurrentThreadId();
    std::thread other([&] {
        WaitUntil([&] { return dialog.m_hWnd && IsDrawn(dialog.m_hWnd); });
        person(dialog.m_hWnd);
        CancelWindowsOf(thread);
    });
    INT_PTR result = dialog.DoModal();
    other.join();
    return result;
}

// The name of a table row's test: the row's `name`.
struct RowName {
    template <class Info>
    std::string operator()(const Info& info) const { return info.param.name; }
};

// A program started for a test; killed if still running when it goes.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts the program with its path as the whole command line.
    bool Start(const std::string& exePath, const std::string& currentDir = std::string());
    // Waits for the end; the exit code, or -1 after the timeout.
    long WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs);
    bool IsRunning() const { return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    void Kill();
    DWORD Id() const { return m_info.dwProcessId; }
    // When it ended, in milliseconds of the system time since 1601; 0 while it runs.
    unsigned long long ExitTimeMs() const;

private:
    PROCESS_INFORMATION m_info = {};
};

} // namespace ui
