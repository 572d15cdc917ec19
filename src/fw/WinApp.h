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

    // The three-dimensional control look. Loads CTL3D32.DLL from the system
    // directory only, never from the program's or the current directory;
    // every failure is ignored.
    void Enable3dControls();

    HINSTANCE m_hInstance = nullptr;
    HWND m_hMainWnd = nullptr;

private:
    HMODULE m_hCtl3d = nullptr;
};
