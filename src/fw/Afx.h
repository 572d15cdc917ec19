// Application-wide services of the framework: the instance handle, the
// application title and the message boxes.
#pragma once

#include <windows.h>

#include <string>

// The module that holds the program's resources: its executable.
HINSTANCE AfxGetInstanceHandle();

// The application title: string resource 57344 of the program.
const std::string& AfxGetAppTitle();

// Every message box the program shows: the text and caption in the
// program's own text, owned by `owner`. Returns the id of the button that
// closed it.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// A message box captioned with the application title, owned by `owner` or,
// without one, by the active window. Returns the id of the button that
// closed it.
int AfxMessageBox(const std::string& text, UINT type = MB_OK, HWND owner = nullptr);

// The owner of a modal dialog or message box for as long as it is open:
// the given parent, or else the thread's active window (never a child
// window). When that owner is itself owned by another top-level window -
// a progress window owned by the main window, say - the top-level window
// is disabled too while the modal window is open, so nothing can be
// started behind it.
class CModalOwner {
public:
    explicit CModalOwner(HWND parent);
    ~CModalOwner();
    CModalOwner(const CModalOwner&) = delete;
    CModalOwner& operator=(const CModalOwner&) = delete;

    HWND Get() const { return m_hOwner; }

private:
    HWND m_hOwner;
    HWND m_hDisabledTop = nullptr;
};

// The one place an exception that escaped a window's handler reaches: it
// tells the user in a message box and ends the program, since whatever the
// handler was doing is left half done. Call it inside a catch block.
[[noreturn]] void AfxAbortOnEscapedException();

// Registers the common control classes the dialog templates use (progress
// bars). Safe to call any number of times.
void AfxInitCommonControls();

constexpr UINT AFX_IDS_APP_TITLE = 57344;
