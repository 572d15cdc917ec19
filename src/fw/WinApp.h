// The application object. Exactly one exists, as a static object of a class
// derived from CWinApp; the entry point runs its InitInstance.
#pragma once

#include <windows.h>
#include <string>

class CWnd;

class CWinApp {
public:
    // Without a name the title comes from string resource 57344.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up of the program; FALSE ends it at once.
    virtual BOOL InitInstance();
    // The message loop. With no main window it ends at once.
    virtual int Run();

    // The three-dimensional control look. Loads CTL3D32.DLL from the system
    // directory only, never from the program's or the current directory;
    // every failure is ignored.
    void Enable3dControls();

    // Called by the entry point before InitInstance.
    void SetInstance(HINSTANCE instance);

    HINSTANCE m_hInstance = nullptr;
    std::string m_strAppName;
    CWnd* m_pMainWnd = nullptr;

private:
    HMODULE m_hCtl3d = nullptr;
};
