// The floor of bench/install-speed's memory figure: a bare Wine program with
// one dialog holding one progress bar, which runs its bar from 0 to 100 and
// then asks a question in a message box, as the installation ends. It
// imports only what such a dialog needs.
//
// Started with "stay", the floor of the start-up figure instead: the same
// dialog, modal as the launcher is, with its bar full, until it is closed.
//
// Started with "share FOLDER", what Wine itself costs for two things the
// installation cannot do without, measured the same way: the dialog is
// given the launcher's size (624 x 464 inside its frame), and before the
// question three shortcuts are saved into FOLDER through the shell's link
// object (its library loaded only then, as the program's is).
#include <windows.h>

#include <commctrl.h>
#include <objidl.h>
#include <shlobj.h>

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

// Three shortcuts in the folder, through the shell's link object.
void SaveShortcuts(const char* folder)
{
    HMODULE ole = LoadLibraryA("ole32.dll");
    using InitFn = HRESULT(WINAPI*)(LPVOID);
    using CreateFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    using UninitFn = void(WINAPI*)();
    auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoInitialize")));
    auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoCreateInstance")));
    auto uninit = reinterpret_cast<UninitFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoUninitialize")));
    if (!init || !create || !uninit || FAILED(init(nullptr)))
        return;
    // The links lead to a program on drive C:, as the installation's do.
    wchar_t target[MAX_PATH], path[MAX_PATH];
    GetSystemDirectoryW(target, MAX_PATH - 16);
    lstrcatW(target, L"\\notepad.exe");
    for (int i = 0; i < 3; ++i) {
        IShellLinkW* link = nullptr;
        if (FAILED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                          reinterpret_cast<void**>(&link))))
            continue;
        link->SetPath(target);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wsprintfW(path, L"%hs\\link%d.lnk", folder, i);
            file->Save(path, TRUE);
            file->Release();
        }
        link->Release();
    }
    uninit();
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
    const char* shareFolder = nullptr;
    if (lstrlenA(commandLine) > 6 && CompareStringA(LOCALE_INVARIANT, 0, commandLine, 6, "share ", 6) == CSTR_EQUAL) {
        shareFolder = commandLine + 6;
        RECT frame = {0, 0, 624, 464};
        AdjustWindowRectEx(&frame, GetWindowLongA(dialog, GWL_STYLE), FALSE, GetWindowLongA(dialog, GWL_EXSTYLE));
        SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        UpdateWindow(dialog);
    }
    HWND bar = GetDlgItem(dialog, kBarId);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    for (int position = 0; position <= 100; ++position)
        SendMessageA(bar, PBM_SETPOS, position, 0);
    if (shareFolder)
        SaveShortcuts(shareFolder);
    MessageBoxA(dialog, "Gotowe.", "Program instalacyjny", MB_YESNO | MB_ICONINFORMATION);
    DestroyWindow(dialog);
    return 0;
}
