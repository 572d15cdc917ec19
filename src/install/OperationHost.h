// What the install and uninstall sequences need from the window that runs
// them: an owner for their windows, its own message boxes, the CD, the
// program starts and a refresh of the installed state afterwards.
#pragma once

#include <windows.h>

#include <string>

class OperationHost {
public:
    virtual HWND OwnerWindow() const = 0;
    // A message box owned by the host, with the host's own caption.
    virtual int ShowMessage(const std::string& text, UINT type) = 0;
    // A message box with the application's title, owned by `owner`, or by
    // the host's window when that is null: the sequences' other questions
    // and reports.
    virtual int ShowAppMessage(const std::string& text, UINT type, HWND owner) = 0;
    // Whether the game is recorded as installed.
    virtual bool IsInstalled() const = 0;
    // Asks for the game's CD until it is found; false when the user gave up.
    virtual bool EnsureCd() = 0;
    // The configuration program (waited for) and the game (which ends this
    // process once it has started).
    virtual void RunConfig() = 0;
    virtual void RunGame() = 0;
    virtual void RefreshInstallState() = 0;

protected:
    ~OperationHost() = default;
};
