#include "support/UiDriver.h"

#include "support/Surface.h"

#include <utility>

namespace ui {

namespace {

constexpr DWORD kPollMs = 20;

struct FindRequest {
    const std::string* caption;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param)
{
    auto* request = reinterpret_cast<FindRequest*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    if (request->className) {
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, request->className) != 0)
            return TRUE;
    }
    if (GetText(window) != *request->caption)
        return TRUE;
    request->found = window;
    return FALSE;
}

} // namespace

HWND FindTopWindow(const std::string& caption, const char* className)
{
    FindRequest request = {&caption, className, nullptr};
    EnumWindows(&MatchTopWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND WaitForWindow(const std::string& caption, const char* className, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(caption, className)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string GetText(HWND window)
{
    char text[2048] = "";
    // WM_GETTEXT rather than GetWindowText: it reads other processes' controls too.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::string GetItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? GetText(item) : std::string();
}

bool IsItemEnabled(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item && IsWindowEnabled(item);
}

int GetItemCheck(HWND dialog, int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<int>(result);
}

bool ClickItem(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item && PostMessageA(item, BM_CLICK, 0, 0);
}

HWND FindChildByText(HWND dialog, const std::string& text)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetText(child) == text)
            return child;
    }
    return nullptr;
}

bool SetItemText(HWND dialog, int id, const std::string& text)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item)
        return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void PressKey(HWND window, UINT virtualKey)
{
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
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
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

bool MovePointerTo(int screenX, int screenY)
{
    return SetCursorPos(screenX, screenY) != 0;
}

HWND FocusedWindow(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread || !GetGUIThreadInfo(thread, &info))
        return nullptr;
    return info.hwndFocus;
}

void TypeKey(HWND window, UINT virtualKey)
{
    HWND focus = FocusedWindow(window);
    PressKey(focus ? focus : window, virtualKey);
}

void ClickCloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool IsResponding(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool WaitUntilResponding(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || IsResponding(window, 200); }, timeoutMs) &&
           IsWindow(window);
}

std::vector<DWORD> CaptureScreen(const RECT& area)
{
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    Surface surface(width, height);
    HDC screen = GetDC(nullptr);
    bool copied = BitBlt(surface.dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    if (copied)
        pixels = surface.Pixels();
    return pixels;
}

MessageBoxSeen WaitForMessageBox(const std::string& caption, DWORD timeoutMs)
{
    // A message box is a dialog that has the static text 0xFFFF.
    MessageBoxSeen seen;
    WaitUntil(
        [&] {
            HWND box = FindTopWindow(caption, kDialogClass);
            seen.window = box && GetDlgItem(box, kMessageBoxTextId) ? box : nullptr;
            return seen.window != nullptr;
        },
        timeoutMs);
    if (seen.window) {
        seen.caption = caption;
        seen.text = GetItemText(seen.window, kMessageBoxTextId);
    }
    return seen;
}

MessageBoxSeen AnswerMessageBox(const std::string& caption, int buttonId, DWORD timeoutMs)
{
    MessageBoxSeen seen = WaitForMessageBox(caption, timeoutMs);
    if (seen.window) {
        ClickItem(seen.window, buttonId);
        WaitForWindowGone(seen.window, timeoutMs);
    }
    return seen;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

namespace {

thread_local std::string g_refusedCaption;

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (create->lpszName && HIWORD(reinterpret_cast<UINT_PTR>(create->lpszName)) &&
            g_refusedCaption == create->lpszName)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

WindowRefusal::WindowRefusal(std::string caption)
{
    g_refusedCaption = std::move(caption);
    m_hook = SetWindowsHookExA(WH_CBT, &RefuseCreation, nullptr, GetCurrentThreadId());
}

WindowRefusal::~WindowRefusal()
{
    UnhookWindowsHookEx(m_hook);
    g_refusedCaption.clear();
}

namespace {

BOOL CALLBACK FirstVisible(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

void CancelWindowsOf(DWORD thread)
{
    for (;;) {
        HWND window = nullptr;
        EnumThreadWindows(thread, &FirstVisible, reinterpret_cast<LPARAM>(&window));
        if (!window)
            return;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        if (!WaitForWindowGone(window, 2000))
            return;
    }
}

MessageBoxWatcher::MessageBoxWatcher(std::string caption, std::vector<int> answers, int otherwise)
    : m_caption(std::move(caption)), m_answers(std::move(answers)), m_otherwise(otherwise)
{
    m_thread = std::thread([this] {
        while (!m_stop) {
            const size_t index = m_texts.size();
            const int answer = index < m_answers.size() ? m_answers[index] : m_otherwise;
            MessageBoxSeen seen = WaitForMessageBox(m_caption, 100);
            if (seen.window) {
                // A box without that button still gets an answer, so that
                // nothing waits for ever on an unexpected question.
                int button = answer;
                for (int fallback : {IDNO, IDCANCEL, IDOK}) {
                    if (!GetDlgItem(seen.window, button))
                        button = fallback;
                }
                ClickItem(seen.window, button);
                WaitForWindowGone(seen.window);
                m_texts.push_back(seen.text);
                ++m_answered;
            }
        }
    });
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    Stop();
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

Process::~Process()
{
    if (IsRunning())
        Kill();
    if (m_info.hProcess)
        CloseHandle(m_info.hProcess);
    if (m_info.hThread)
        CloseHandle(m_info.hThread);
}

bool Process::Start(const std::string& exePath, const std::string& currentDir)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = exePath;
    return CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &m_info) != 0;
}

long Process::WaitForExit(DWORD timeoutMs)
{
    if (!m_info.hProcess || WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

bool Process::IsRunning() const
{
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::Kill()
{
    if (m_info.hProcess) {
        TerminateProcess(m_info.hProcess, 255);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}

} // namespace ui
