// A stand-in for one of the programs the launcher starts (the game, its
// configuration program, the intro). It shows a small window and records
// that it ran: one line when it starts, with its command line and current
// directory, and one when it ends. The lines go to the file named by
// JEX_STANDIN_LOG, else to C:\jex-standin.log:
//   NAME<TAB>start<TAB>TIME<TAB>PID<TAB>CURRENT-DIRECTORY<TAB>COMMAND-LINE
//   NAME<TAB>end<TAB>TIME<TAB>PID
// TIME is the system time in milliseconds since 1601. With
// JEX_STANDIN_LIFETIME_MS set the program ends by itself after that many
// milliseconds; otherwise it stays until it is closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef STANDIN_NAME
#error STANDIN_NAME names the program this stands in for
#endif

namespace {

const char kClassName[] = "JexStandin";
const UINT_PTR kLifetimeTimer = 1;
std::string g_text;

unsigned long long NowMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    return value.QuadPart / 10000;
}

void AppendLog(const std::string& line)
{
    char path[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("JEX_STANDIN_LOG", path, sizeof path) || !path[0])
        lstrcpyA(path, "C:\\jex-standin.log");
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Stamp(const char* event)
{
    char head[128];
    std::snprintf(head, sizeof head, "%s\t%s\t%llu\t%lu", STANDIN_NAME, event, NowMs(),
                  GetCurrentProcessId());
    return head;
}

LRESULT CALLBACK StandinProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam == kLifetimeTimer)
            DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        InflateRect(&area, -8, -8);
        DrawTextA(dc, g_text.c_str(), -1, &area, DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    const char* commandLine = GetCommandLineA();
    AppendLog(Stamp("start") + "\t" + directory + "\t" + commandLine);

    g_text = std::string(STANDIN_NAME " (stand-in)\n\nCommand line: ") + commandLine +
             "\nCurrent directory: " + directory;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StandinProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, kClassName, STANDIN_NAME, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 420, 160, nullptr, nullptr,
                                  instance, nullptr);

    const char* lifetime = std::getenv("JEX_STANDIN_LIFETIME_MS");
    if (window && lifetime && *lifetime)
        SetTimer(window, kLifetimeTimer, static_cast<UINT>(std::strtoul(lifetime, nullptr, 10)), nullptr);

    MSG msg;
    while (window && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    AppendLog(Stamp("end"));
    return 0;
}
