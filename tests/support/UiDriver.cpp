#include "support/UiDriver.h"

#include "support/Cp1250.h"
#include "support/Surface.h"

#include <utility>

namespace ui {

namespace {

struct FindRequest {
    const std::string* caption;
    const char* className;
    const std::function<bool(HWND)>* accepts;
    HWND found;
};

// A top-level window's caption, read without a message to its thread,
// which may be busy or waiting for this one.
std::string Caption(HWND window)
{
    wchar_t text[512] = L"";
    InternalGetWindowText(window, text, 512);
    return cp1250::Narrow(text);
}

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param)
{
    auto* request = reinterpret_cast<FindRequest*>(param);
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (!IsWindowVisible(window) || (request->className && cp1250::Narrow(className) != request->className) ||
        Caption(window) != *request->caption || (*request->accepts && !(*request->accepts)(window)))
        return TRUE;
    request->found = window;
    return FALSE;
}

BOOL CALLBACK FirstVisible(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Whether a window or one of its children still has something to paint.
BOOL CALLBACK LeftToPaint(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || !GetUpdateRect(window, nullptr, FALSE))
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

thread_local std::wstring g_refusedCaption;

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    const CREATESTRUCTW* create = code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs : nullptr;
    if (create && create->lpszName && HIWORD(reinterpret_cast<UINT_PTR>(create->lpszName)) &&
        g_refusedCaption == create->lpszName)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !condition(); Sleep(20)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
    return true;
}

bool IsDrawn(HWND window, bool active)
{
    bool unpainted = false;
    if (!IsWindowVisible(window) || (active && GetForegroundWindow() != window) || !IsResponding(window))
        return false;
    LeftToPaint(window, reinterpret_cast<LPARAM>(&unpainted));
    EnumChildWindows(window, &LeftToPaint, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

HWND FindTopWindow(const std::string& caption, const char* className, const std::function<bool(HWND)>& accepts)
{
    FindRequest request = {&caption, className, &accepts, nullptr};
    EnumWindows(&MatchTopWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND WaitForWindow(const std::string& caption, const char* className, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(caption, className)) != nullptr && IsDrawn(found); }, timeoutMs);
    return found && IsDrawn(found) ? found : nullptr;
}

std::string GetText(HWND window)
{
    wchar_t text[2048] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return cp1250::Narrow(text);
}

bool SetItemText(HWND dialog, int id, const std::string& text)
{
    DWORD_PTR result = 0;
    const std::wstring wide = cp1250::Wide(text);
    return SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                               SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

int GetItemCheck(HWND dialog, int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<int>(result);
}

bool Answer(HWND box, int buttonId, DWORD timeoutMs)
{
    return ClickItem(box, buttonId) && WaitForWindowGone(box, timeoutMs);
}

void PressKey(HWND window, UINT virtualKey)
{
    const UINT scan = MapVirtualKeyW(virtualKey, 0);
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

bool MovePointerTo(int x, int y)
{
    return WaitUntil([&] {
        POINT at = {};
        return SetCursorPos(x, y) && GetCursorPos(&at) && at.x == x && at.y == y;
    }, 5000);
}

HWND FocusedWindow(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

void TypeKey(HWND window, UINT virtualKey)
{
    HWND focus = FocusedWindow(window);
    PressKey(focus ? focus : window, virtualKey);
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRectOnScreen(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<DWORD> CaptureScreen(const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    Surface surface(width, height);
    HDC screen = GetDC(nullptr);
    const bool copied = BitBlt(surface.dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return copied ? surface.Pixels() : std::vector<DWORD>();
}

bool IsResponding(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool WaitUntilResponding(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || IsResponding(window, 200); }, timeoutMs) && IsWindow(window);
}

MessageBoxSeen WaitForMessageBox(const std::string& caption, DWORD timeoutMs)
{
    MessageBoxSeen seen;
    WaitUntil(
        [&] {
            HWND box = FindTopWindow(caption, kDialogClass);
            // Not necessarily active: a box that comes while another program
            // has the foreground stays behind it, and is read all the same.
            seen.window = box && GetDlgItem(box, kMessageBoxTextId) && IsDrawn(box, false) ? box : nullptr;
            return seen.window != nullptr;
        },
        timeoutMs);
    if (seen.window)
        seen.text = GetItemText(seen.window, kMessageBoxTextId);
    return seen;
}

MessageBoxSeen AnswerMessageBox(const std::string& caption, int buttonId, DWORD timeoutMs)
{
    MessageBoxSeen seen = WaitForMessageBox(caption, timeoutMs);
    if (seen.window)
        Answer(seen.window, buttonId, timeoutMs);
    return seen;
}

MessageBoxWatcher::MessageBoxWatcher(std::string caption, std::vector<int> answers, int otherwise)
{
    m_thread = std::thread([this, caption = std::move(caption), answers = std::move(answers), otherwise] {
        while (!m_stop) {
            MessageBoxSeen seen = WaitForMessageBox(caption, 100);
            if (!seen.window)
                continue;
            // A box without that button still gets an answer, so that
            // nothing waits for ever on an unexpected question.
            int button = m_texts.size() < answers.size() ? answers[m_texts.size()] : otherwise;
            for (int fallback : {IDNO, IDCANCEL, IDOK}) {
                if (!GetDlgItem(seen.window, button))
                    button = fallback;
            }
            Answer(seen.window, button);
            m_texts.push_back(seen.text);
            ++m_answered;
        }
    });
}

void MessageBoxWatcher::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<std::string> MessageBoxWatcher::Texts()
{
    Stop();
    return m_texts;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

WindowRefusal::WindowRefusal(std::string caption)
{
    g_refusedCaption = cp1250::Wide(caption);
    m_hook = SetWindowsHookExW(WH_CBT, &RefuseCreation, nullptr, GetCurrentThreadId());
}

WindowRefusal::~WindowRefusal()
{
    UnhookWindowsHookEx(m_hook);
    g_refusedCaption.clear();
}

void CancelWindowsOf(DWORD thread)
{
    for (HWND window = nullptr;; window = nullptr) {
        EnumThreadWindows(thread, &FirstVisible, reinterpret_cast<LPARAM>(&window));
        if (!window || !PostMessageW(window, WM_COMMAND, IDCANCEL, 0) || !WaitForWindowGone(window, 2000))
            return;
    }
}

Process::~Process()
{
    Kill();
    if (m_info.hProcess)
        CloseHandle(m_info.hProcess);
    if (m_info.hThread)
        CloseHandle(m_info.hThread);
}

bool Process::Start(const std::string& exePath, const std::string& currentDir)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring path = cp1250::Wide(exePath), commandLine = path, dir = cp1250::Wide(currentDir);
    return CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          dir.empty() ? nullptr : dir.c_str(), &startup, &m_info) != 0;
}

long Process::WaitForExit(DWORD timeoutMs)
{
    DWORD code = 0;
    if (!m_info.hProcess || WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

unsigned long long Process::ExitTimeMs() const
{
    FILETIME created, exited = {}, kernel, user;
    if (IsRunning() || !GetProcessTimes(m_info.hProcess, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<unsigned long long>(exited.dwHighDateTime) << 32 | exited.dwLowDateTime) / 10000;
}

void Process::Kill()
{
    if (IsRunning()) {
        TerminateProcess(m_info.hProcess, 255);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}

} // namespace ui
