#include "fw/WinApp.h"

#include "fw/Afx.h"
#include "fw/Text.h"

#include <commctrl.h>

#include <exception>

CWinApp::~CWinApp()
{
    if (m_hInstanceLock)
        CloseHandle(m_hInstanceLock);
    if (m_hCtl3d) {
        using UnregisterFn = BOOL(WINAPI*)(HINSTANCE);
        if (auto unregister = reinterpret_cast<UnregisterFn>(
                reinterpret_cast<void*>(GetProcAddress(m_hCtl3d, "Ctl3dUnregister"))))
            unregister(m_hInstance);
        FreeLibrary(m_hCtl3d);
    }
}

int CWinApp::Main(HINSTANCE instance)
{
    m_hInstance = instance;
    AfxInitCommonControls();
    if (!InitInstance())
        return 0;
    return Run();
}

bool CWinApp::InitInstance()
{
    return true;
}

int CWinApp::Run()
{
    if (!m_hMainWnd)
        PostQuitMessage(0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool CWinApp::TakeInstanceLock(const std::string& name)
{
    if (m_hInstanceLock)
        return true;
    // A mutex of the session's own namespace: every copy started in this
    // session, from the CD or from the installed copy, meets the same one.
    HANDLE lock = CreateMutexW(nullptr, FALSE, Widen("Local\\" + name).c_str());
    if (!lock)
        return true; // without the lock the program still runs
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(lock);
        return false;
    }
    m_hInstanceLock = lock;
    return true;
}

bool BringDialogToFront(const std::string& caption, DWORD waitMs)
{
    const std::wstring title = Widen(caption);
    HWND window = nullptr;
    for (DWORD start = GetTickCount(); !(window = FindWindowW(L"#32770", title.c_str()));) {
        if (GetTickCount() - start >= waitMs)
            return false;
        Sleep(50);
    }
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(window));
    return true;
}

void CWinApp::Enable3dControls()
{
    if (m_hCtl3d)
        return;
    // A library of this name planted beside the program or on the CD would
    // run with the installer's rights, so only the system directory counts.
    HMODULE module = LoadLibraryExW(L"CTL3D32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Systems without the search flags: name the file by its full path.
        wchar_t path[MAX_PATH + 16];
        UINT length = GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return;
        lstrcatW(path, L"\\CTL3D32.DLL");
        module = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (!module)
        return;

    using RegisterFn = BOOL(WINAPI*)(HINSTANCE);
    auto registerFn = reinterpret_cast<RegisterFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "Ctl3dRegister")));
    auto subclassFn = reinterpret_cast<RegisterFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "Ctl3dAutoSubclass")));
    if (!registerFn || !subclassFn || !registerFn(m_hInstance)) {
        FreeLibrary(module);
        return;
    }
    subclassFn(m_hInstance);
    m_hCtl3d = module;
}

HINSTANCE AfxGetInstanceHandle()
{
    // The program's resources are in its own executable.
    return GetModuleHandleW(nullptr);
}

const std::string& AfxGetAppTitle()
{
    static const std::string title = LoadResourceText(AFX_IDS_APP_TITLE);
    return title;
}

CModalOwner::CModalOwner(HWND parent)
    : m_hOwner(parent ? parent : GetActiveWindow())
{
    // A pop-up cannot be owned by a child window.
    while (m_hOwner && (GetWindowLongW(m_hOwner, GWL_STYLE) & WS_CHILD))
        m_hOwner = GetParent(m_hOwner);
    HWND top = m_hOwner;
    for (HWND up = m_hOwner; up; up = GetParent(up))
        top = up;
    if (top && top != m_hOwner && IsWindowEnabled(top)) {
        EnableWindow(top, FALSE);
        m_hDisabledTop = top;
    }
}

CModalOwner::~CModalOwner()
{
    if (m_hDisabledTop)
        EnableWindow(m_hDisabledTop, TRUE);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

int AfxMessageBox(const std::string& text, UINT type, HWND parent)
{
    CModalOwner owner(parent);
    return ShowMessageBox(owner.Get(), text, AfxGetAppTitle(), type);
}

void AfxAbortOnEscapedException()
{
    std::string what = "nieznany";
    try {
        throw;
    } catch (const std::exception& error) {
        what = error.what();
    } catch (...) {
    }
    const std::string text = "Wystąpił nieoczekiwany błąd programu (" + what + ").\n"
                             "Program zostanie zamknięty.";
    ShowMessageBox(nullptr, text, AfxGetAppTitle(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    ExitProcess(3);
}

void AfxInitCommonControls()
{
    static bool done = false;
    if (done)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    done = InitCommonControlsEx(&controls) != FALSE;
}
