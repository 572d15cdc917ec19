#include "support/UiDriver.h"

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

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param)
{
    auto* request = reinterpret_cast<FindRequest*>(param);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || (request->className && lstrcmpA(className, request->className) != 0) ||
        GetText(window) != *request->caption || (*request->accepts && !(*request->accepts)(window)))
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

thread_local std::string g_refusedCaption;

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    const CREATESTRUCTA* create = code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs : nullptr;
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

HWND FindTopWindow(const std::string& caption, const char* className, const std::function<bool(HWND)>& accepts)
{
    FindRequest request = {&caption, className, &accepts, nullptr};
    EnumWindows(&MatchTopWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND WaitForWindow(const std::string& caption, const char* className, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(caption, className)) != nullptr; }, timeoutMs);
    return found;
}

std::string GetText(HWND window)
{
    char text[2048] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

bool SetItemText(HWND dialog, int id, const std::string& text)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

int GetItemCheck(HWND dialog, int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<int>(result);
}

void PressKey(HWND window, UINT virtualKey)
{
    const UINT scan = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
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
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
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
            seen.window = box && GetDlgItem(box, kMessageBoxTextId) ? box : nullptr;
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
    if (seen.window && ClickItem(seen.window, buttonId))
        WaitForWindowGone(seen.window, timeoutMs);
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
            ClickItem(seen.window, button);
            WaitForWindowGone(seen.window);
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
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

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

void CancelWindowsOf(DWORD thread)
{
    for (HWND window = nullptr;; window = nullptr) {
        EnumThreadWindows(thread, &FirstVisible, reinterpret_cast<LPARAM>(&window));
        if (!window || !PostMessageA(window, WM_COMMAND, IDCANCEL, 0) || !WaitForWindowGone(window, 2000))
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
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = exePath;
    return CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &m_info) != 0;
}

long Process::WaitForExit(DWORD timeoutMs)
{
    DWORD code = 0;
    if (!m_info.hProcess || WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

void Process::Kill()
{
    if (IsRunning()) {
        TerminateProcess(m_info.hProcess, 255);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}

} // namespace ui
