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
//
// The stand-ins lie beside the game's own files, among them a "Msvcrt.dll"
// that on a sample CD may be only placeholder bytes. Under Wine a library in
// the program's directory wins over the system's, and Wine's user32 needs
// msvcrt, so these programs import kernel32 alone, use no C runtime, and
// load user32 from the system directory only.
#include <windows.h>

#ifndef STANDIN_NAME
#error STANDIN_NAME names the program this stands in for
#endif

namespace {

const char kClassName[] = "JexStandin";
const UINT_PTR kLifetimeTimer = 1;

// The user32 functions used, loaded at start.
struct User32 {
    decltype(&RegisterClassA) registerClass;
    decltype(&CreateWindowExA) createWindow;
    decltype(&DefWindowProcA) defWindowProc;
    decltype(&GetMessageA) getMessage;
    decltype(&TranslateMessage) translateMessage;
    decltype(&DispatchMessageA) dispatchMessage;
    decltype(&SetTimer) setTimer;
    decltype(&DestroyWindow) destroyWindow;
    decltype(&PostQuitMessage) postQuitMessage;
    decltype(&BeginPaint) beginPaint;
    decltype(&EndPaint) endPaint;
    decltype(&DrawTextA) drawText;
    decltype(&GetClientRect) getClientRect;
    decltype(&LoadCursorA) loadCursor;
} g_user;

char g_text[1024];

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn& fn)
{
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return fn != nullptr;
}

bool LoadUser32()
{
    char path[MAX_PATH + 16];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    lstrcatA(path, "\\user32.dll");
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module)
        return false;
    return Bind(module, "RegisterClassA", g_user.registerClass) &&
           Bind(module, "CreateWindowExA", g_user.createWindow) &&
           Bind(module, "DefWindowProcA", g_user.defWindowProc) &&
           Bind(module, "GetMessageA", g_user.getMessage) &&
           Bind(module, "TranslateMessage", g_user.translateMessage) &&
           Bind(module, "DispatchMessageA", g_user.dispatchMessage) &&
           Bind(module, "SetTimer", g_user.setTimer) &&
           Bind(module, "DestroyWindow", g_user.destroyWindow) &&
           Bind(module, "PostQuitMessage", g_user.postQuitMessage) &&
           Bind(module, "BeginPaint", g_user.beginPaint) &&
           Bind(module, "EndPaint", g_user.endPaint) &&
           Bind(module, "DrawTextA", g_user.drawText) &&
           Bind(module, "GetClientRect", g_user.getClientRect) &&
           Bind(module, "LoadCursorA", g_user.loadCursor);
}

// Appends text to a zero-terminated buffer, never beyond its size.
void Append(char* buffer, int size, const char* text)
{
    int used = lstrlenA(buffer);
    if (used < size - 1)
        lstrcpynA(buffer + used, text, size - used);
}

void AppendNumber(char* buffer, int size, unsigned long long value)
{
    char digits[24];
    int at = sizeof digits - 1;
    digits[at] = '\0';
    do {
        digits[--at] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value && at > 0);
    Append(buffer, size, digits + at);
}

unsigned long long NowMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    return value.QuadPart / 10000;
}

unsigned long ParseNumber(const char* text)
{
    unsigned long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<unsigned long>(*text - '0');
    return value;
}

// NAME, event, time and process id, tab-separated.
void Stamp(char* line, int size, const char* event)
{
    line[0] = '\0';
    Append(line, size, STANDIN_NAME "\t");
    Append(line, size, event);
    Append(line, size, "\t");
    AppendNumber(line, size, NowMs());
    Append(line, size, "\t");
    AppendNumber(line, size, GetCurrentProcessId());
}

void AppendLog(const char* line)
{
    char path[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("JEX_STANDIN_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        lstrcpyA(path, "C:\\jex-standin.log");
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK StandinProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam == kLifetimeTimer)
            g_user.destroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = g_user.beginPaint(window, &paint);
        RECT area;
        g_user.getClientRect(window, &area);
        area.left += 8;
        area.top += 8;
        area.right -= 8;
        area.bottom -= 8;
        g_user.drawText(dc, g_text, -1, &area, DT_WORDBREAK | DT_NOPREFIX);
        g_user.endPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        g_user.postQuitMessage(0);
        return 0;
    default:
        return g_user.defWindowProc(window, msg, wParam, lParam);
    }
}

int Run()
{
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    const char* commandLine = GetCommandLineA();

    char line[2048];
    Stamp(line, sizeof line, "start");
    Append(line, sizeof line, "\t");
    Append(line, sizeof line, directory);
    Append(line, sizeof line, "\t");
    Append(line, sizeof line, commandLine);
    AppendLog(line);

    if (LoadUser32()) {
        Append(g_text, sizeof g_text, STANDIN_NAME " (stand-in)\n\nCommand line: ");
        Append(g_text, sizeof g_text, commandLine);
        Append(g_text, sizeof g_text, "\nCurrent directory: ");
        Append(g_text, sizeof g_text, directory);

        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = StandinProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = g_user.loadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        g_user.registerClass(&windowClass);
        HWND window = g_user.createWindow(0, kClassName, STANDIN_NAME, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          CW_USEDEFAULT, CW_USEDEFAULT, 420, 160, nullptr, nullptr,
                                          instance, nullptr);
        if (window) {
            char lifetime[32] = "";
            DWORD length = GetEnvironmentVariableA("JEX_STANDIN_LIFETIME_MS", lifetime, sizeof lifetime);
            if (length > 0 && length < sizeof lifetime)
                g_user.setTimer(window, kLifetimeTimer, ParseNumber(lifetime), nullptr);
            MSG msg;
            while (g_user.getMessage(&msg, nullptr, 0, 0) > 0) {
                g_user.translateMessage(&msg);
                g_user.dispatchMessage(&msg);
            }
        }
    }

    Stamp(line, sizeof line, "end");
    AppendLog(line);
    return 0;
}

} // namespace

// The entry point: there is no C runtime to start.
extern "C" void StandinMain()
{
    ExitProcess(static_cast<UINT>(Run()));
}
