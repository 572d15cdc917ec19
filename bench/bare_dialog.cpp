// The floor of bench/install-speed's memory figure: a bare Wine program with
// one dialog holding one progress bar, which runs its bar from 0 to 100 and
// then asks a question in a message box, as the installation ends. It
// imports only what such a dialog needs.
//
// Started with "stay", the floor of the start-up figure instead: the same
// dialog, modal as the launcher is, with its bar full, until it is closed.
#include <windows.h>

#include <commctrl.h>

namespace {

constexpr int kDialogId = 1;
constexpr int kBarId = 100;

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

INT_PTR CALLBACK StayingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, kBarId, PBM_SETPOS, 100, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    InitCommonControls();
    if (lstrcmpA(commandLine, "stay") == 0)
        return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialogId), nullptr, &StayingDialogProc, 0));
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(kDialogId), nullptr, &DialogProc, 0);
    if (!dialog)
        return 1;
    HWND bar = GetDlgItem(dialog, kBarId);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    for (int position = 0; position <= 100; ++position)
        SendMessageA(bar, PBM_SETPOS, position, 0);
    MessageBoxA(dialog, "Gotowe.", "Program instalacyjny", MB_YESNO | MB_ICONINFORMATION);
    DestroyWindow(dialog);
    return 0;
}
