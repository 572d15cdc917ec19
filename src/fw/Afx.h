// Application-wide services of the framework: the application object, the
// instance handle and the application message box.
#pragma once

#include <windows.h>

class CWinApp;

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

// The application title: string resource 57344 of the program.
const char* AfxGetAppTitle();

// A message box owned by the active window and captioned with the
// application title. Returns the id of the button that closed it.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// The window that a dialog or message box without an explicit parent is
// owned by: the thread's active window, or none.
HWND AfxGetSafeOwner(HWND parent);

// Registers the common control classes the dialog templates use (progress
// bars). Safe to call any number of times.
void AfxInitCommonControls();

constexpr UINT AFX_IDS_APP_TITLE = 57344;
