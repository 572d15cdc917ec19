// Drives the windows of a program the way a person would, through the
// Win32 messages of its windows: finds windows by caption and class, reads
// their texts and states, presses buttons and keys and answers message
// boxes. Every wait is bounded; a failed wait names the window it wanted.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui {

constexpr DWORD kDefaultTimeoutMs = 15000;

// The standard dialog class, also that of message boxes.
constexpr char kDialogClass[] = "#32770";

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// Waits for a visible top-level window with exactly this caption (and
// class, when given). Returns null after the timeout.
HWND WaitForWindow(const std::string& caption, const char* className = kDialogClass,
                   DWORD timeoutMs = kDefaultTimeoutMs);
// Finds such a window now, or returns null.
HWND FindTopWindow(const std::string& caption, const char* className = kDialogClass);
// Waits until the window no longer exists or is hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);
// Polls until the condition holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs);

std::string GetText(HWND window);
std::string GetItemText(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);
int GetItemCheck(HWND dialog, int id);

// Presses a button as the mouse would (BM_CLICK, posted).
bool ClickItem(HWND dialog, int id);
// The child button with this text, or null.
HWND FindChildByText(HWND dialog, const std::string& text);
// Sets an edit control's text.
bool SetItemText(HWND dialog, int id, const std::string& text);
// Posts a key press and release to a window.
void PressKey(HWND window, UINT virtualKey);

// Where a window is: its whole rectangle and its client area, both in
// screen coordinates.
RECT WindowRect(HWND window);
RECT ClientRectOnScreen(HWND window);

// Puts the real pointer at a screen position.
bool MovePointerTo(int screenX, int screenY);

// The window that has the keyboard focus in the thread of `window`, or null.
HWND FocusedWindow(HWND window);
// Presses a key where the keyboard focus of that window's thread is, as
// typing would; falls back to the window itself.
void TypeKey(HWND window, UINT virtualKey);
// Clicks a window's close box.
void ClickCloseBox(HWND window);

// True when the window's thread handles a message within the time: false
// while it is busy (for example waiting for a program it started).
bool IsResponding(HWND window, DWORD timeoutMs = 300);
// Waits until the window's thread handles messages again.
bool WaitUntilResponding(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

// The pixels of a rectangle of the screen, rows from the top, each as
// 0x00RRGGBB. Empty when the screen cannot be read.
std::vector<DWORD> CaptureScreen(const RECT& area);

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

// Waits for a message box with this caption and reads its text.
MessageBoxSeen WaitForMessageBox(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs);
// Waits for a message box, presses the button with this id (IDOK, IDRETRY,
// IDYES, ...) and returns what it showed. window is null when none came.
MessageBoxSeen AnswerMessageBox(const std::string& caption, int buttonId,
                                DWORD timeoutMs = kDefaultTimeoutMs);

// Answers, from a thread of its own, every message box with this caption
// that comes while it lives: the first ones with `answers` in turn, the
// rest with `otherwise` (a box without that button gets No, Cancel or OK).
// Texts() ends the answering and gives the texts of the boxes in order.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::string caption, std::vector<int> answers = {},
                               int otherwise = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<std::string> Texts();
    // How many boxes have been answered so far.
    size_t Answered() const { return m_answered; }

private:
    void Stop();

    std::string m_caption;
    std::vector<int> m_answers;
    int m_otherwise;
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
// given the dialog's window once it is up (null if it never came). Whatever
// is left open afterwards, the dialog or a message box of this thread, is
// cancelled, so a failing person cannot hang the test. Returns what DoModal
// returned.
template <class Dialog>
INT_PTR RunModal(Dialog& dialog, const std::function<void(HWND)>& person)
{
    const DWORD thread = GetCurrentThreadId();
    std::thread other([&] {
        WaitUntil([&] { return dialog.m_hWnd != nullptr; });
        person(dialog.m_hWnd);
        CancelWindowsOf(thread);
    });
    INT_PTR result = dialog.DoModal();
    other.join();
    return result;
}

// A program started for a test; killed if still running when it goes.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts the program with its path as the whole command line.
    bool Start(const std::string& exePath, const std::string& currentDir = std::string());
    // Waits for the end; returns the exit code, or -1 after the timeout.
    long WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs);
    bool IsRunning() const;
    void Kill();
    DWORD Id() const { return m_info.dwProcessId; }

private:
    PROCESS_INFORMATION m_info = {};
};

} // namespace ui
