// The application object. The program's entry point makes one, of a class
// derived from CWinApp, and hands it the instance: Main runs InitInstance
// and then the message loop.
#pragma once

#include <windows.h>

#include <string>

class CWinApp {
public:
    CWinApp() = default;
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up, the message loop and the end of the program; returns the
    // process's exit code.
    int Main(HINSTANCE instance);

    // Start-up of the program; false ends it at once.
    virtual bool InitInstance();
    // The message loop. With no main window it ends at once.
    virtual int Run();

    // One copy of the program at a time in the user's session: true when
    // this copy has taken the lock of that name, which it keeps until it
    // ends; false when another copy has it.
    bool TakeInstanceLock(const std::string& name);

    // The three-dimensional control look. Loads CTL3D32.DLL from the system
    // directory only, never from the program's or the current directory;
    // every failure is ignored.
    void Enable3dControls();

    HINSTANCE m_hInstance = nullptr;
    HWND m_hMainWnd = nullptr;

private:
    HMODULE m_hCtl3d = nullptr;
    HANDLE m_hInstanceLock = nullptr;
};

// Brings the top-level dialog with that caption, or whatever question or
// dialog it has open, to the front; waits up to `waitMs` for it to appear.
// False when it never did.
bool BringDialogToFront(const std::string& caption, DWORD waitMs);
