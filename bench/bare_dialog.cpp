// The floor of bench/install-speed's memory figure: a bare Wine program with
// one dialog holding one progress bar, which runs its bar from 0 to 100 and
// then asks a question in a message box, as the installation ends. It
// imports only what such a dialog needs.
#include <windows.h>

#include <commctrl.h>

namespace {

constexpr int kDialogId = 1;
constexpr int kBarId = 100;

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
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
