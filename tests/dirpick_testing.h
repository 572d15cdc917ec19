// What the directory browser's tests share: a modeless browser to look into
// on the test's own thread, and a modal run driven from a second thread.
#pragma once

#include "dirpick/BrowsePath.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace dirpick_testing {

constexpr char kBrowseTitle[] = "Program instalacyjny - wybór katalogu";
constexpr char kAppBoxCaption[] = "Program instalacyjny";

// Handles what is queued for the test's thread (posted notifications).
inline void Pump(HWND dialog)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!dialog || !IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// Polls until check() holds; false after the timeout.
inline bool WaitUntil(const std::function<bool()>& check, DWORD timeoutMs = ui::kDefaultTimeoutMs)
{
    DWORD start = GetTickCount();
    while (!check()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// Waits until a dialog item shows exactly this text.
inline bool WaitForItemText(HWND dialog, int id, const std::string& text)
{
    return WaitUntil([&] { return ui::GetItemText(dialog, id) == text; });
}

// Runs dialog.DoModal() on this thread while driver() acts from another one
// as a person would. Whatever the driver leaves open afterwards (a message
// box, the dialog itself) is cancelled, so a failing driver cannot hang the
// test. Returns what DoModal returned.
template <class Dialog>
INT_PTR RunDriven(Dialog& dialog, const std::function<void()>& driver)
{
    DWORD owner = GetCurrentThreadId();
    std::thread thread([&] {
        driver();
        // Clean up whatever is still open on the dialog's thread.
        for (int round = 0; round < 100; ++round) {
            bool any = false;
            if (HWND box = ui::FindTopWindow(kAppBoxCaption)) {
                DWORD pid = 0;
                if (GetWindowThreadProcessId(box, &pid) == owner) {
                    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                    any = true;
                }
            }
            if (dialog.m_hWnd && IsWindow(dialog.m_hWnd)) {
                PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
                any = true;
            }
            if (!any)
                break;
            Sleep(50);
        }
    });
    INT_PTR result = dialog.DoModal();
    thread.join();
    return result;
}

// Creates a folder and every missing parent.
inline void MakeDirs(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

} // namespace dirpick_testing
