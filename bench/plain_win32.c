/* The floor of a Wine program's copy and removal: the same file work as the
 * installation's copy or the removal, entry for entry, in the plainest
 * Win32 there is, with no window at all.
 *
 *   plain_win32.exe copy SOURCE-ROOT TARGET LIST
 *       The directories first (the target's ancestors, then the list's);
 *       then every file is opened, its size taken, the destination looked
 *       for, created new and filled with reads and writes of the
 *       installation's chunk size, and both handles closed.
 *   plain_win32.exe remove TARGET LIST
 *       Every file of the list deleted, last first; then the list's
 *       directories, last first, and the target and its ancestors.
 *
 *   SOURCE-ROOT: the tree to copy from, ending in a backslash; LIST: a text
 *   file of lines "dir NAME" and "file NAME" (UTF-8), names under TARGET.
 *
 * Prints "BENCH seconds=" with the time of the file work alone: the
 * process's start and the reading of the list are outside it. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

enum { kChunk = 128 * 1024, kMaxEntries = 1024, kPath = 1024 };

static wchar_t* Widened(const char* text)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, NULL, 0);
    wchar_t* wide = malloc(sizeof(wchar_t) * (size_t)length);
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, length);
    return wide;
}

static int Fail(const char* what)
{
    fprintf(stderr, "copy_loop: %s (error %lu)\n", what, (unsigned long)GetLastError());
    return 1;
}

static double Now(void)
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

static int CopyOne(const wchar_t* from, const wchar_t* to, char* buffer)
{
    HANDLE source = CreateFileW(from, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    LARGE_INTEGER size;
    if (source == INVALID_HANDLE_VALUE || !GetFileSizeEx(source, &size))
        return 0;
    if (GetFileAttributesW(to) != INVALID_FILE_ATTRIBUTES)
        return 0; /* the target is always fresh */
    HANDLE dest = CreateFileW(to, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (dest == INVALID_HANDLE_VALUE)
        return 0;
    for (LONGLONG left = size.QuadPart; left > 0;) {
        DWORD want = left < kChunk ? (DWORD)left : kChunk, got = 0, put = 0;
        if (!ReadFile(source, buffer, want, &got, NULL) || got != want ||
            !WriteFile(dest, buffer, want, &put, NULL) || put != want)
            return 0;
        left -= want;
    }
    return CloseHandle(dest) && CloseHandle(source);
}

static wchar_t* dirs[kMaxEntries];
static wchar_t* files[kMaxEntries];
static int dirCount, fileCount;

static int ReadList(const char* path)
{
    static char line[kPath];
    FILE* list = fopen(path, "r");
    if (!list)
        return 0;
    while (fgets(line, sizeof line, list)) {
        line[strcspn(line, "\r\n")] = '\0';
        if (strncmp(line, "dir ", 4) == 0 && dirCount < kMaxEntries)
            dirs[dirCount++] = Widened(line + 4);
        else if (strncmp(line, "file ", 5) == 0 && fileCount < kMaxEntries)
            files[fileCount++] = Widened(line + 5);
    }
    fclose(list);
    return 1;
}

static int Remove(const wchar_t* target)
{
    static wchar_t path[kPath];
    const double start = Now();
    for (int i = fileCount - 1; i >= 0; --i) {
        swprintf(path, kPath, L"%ls\\%ls", target, files[i]);
        if (!DeleteFileW(path))
            return Fail("a file was not deleted");
    }
    for (int i = dirCount - 1; i >= 0; --i) {
        swprintf(path, kPath, L"%ls\\%ls", target, dirs[i]);
        RemoveDirectoryW(path);
    }
    /* The target and its ancestors, deepest first, never the drive root. */
    swprintf(path, kPath, L"%ls", target);
    for (wchar_t* slash; wcslen(path) > 3; *slash = L'\0') {
        RemoveDirectoryW(path);
        if (!(slash = wcsrchr(path, L'\\')))
            break;
    }
    printf("BENCH seconds=%.4f files=%d\n", Now() - start, fileCount);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "remove") == 0) {
        if (!ReadList(argv[3]))
            return Fail("the list does not open");
        return Remove(Widened(argv[2]));
    }
    if (argc != 5 || strcmp(argv[1], "copy") != 0)
        return Fail("usage: plain_win32.exe copy SOURCE-ROOT TARGET LIST\n"
                    "       plain_win32.exe remove TARGET LIST");
    if (!ReadList(argv[4]))
        return Fail("the list does not open");
    ++argv; /* the arguments after the mode */
    const wchar_t* source = Widened(argv[1]);
    const wchar_t* target = Widened(argv[2]);
    char* buffer = malloc(kChunk);
    static wchar_t from[kPath], to[kPath];

    const double start = Now();
    /* The target's ancestors, then the target and its directories. */
    for (const wchar_t* slash = wcschr(target, L'\\'); slash; slash = wcschr(slash + 1, L'\\')) {
        if (slash - target > 2) {
            swprintf(to, kPath, L"%.*ls", (int)(slash - target), target);
            CreateDirectoryW(to, NULL);
        }
    }
    if (!CreateDirectoryW(target, NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
        return Fail("the target cannot be made");
    for (int i = 0; i < dirCount; ++i) {
        swprintf(to, kPath, L"%ls\\%ls", target, dirs[i]);
        if (!CreateDirectoryW(to, NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
            return Fail("a directory cannot be made");
    }
    for (int i = 0; i < fileCount; ++i) {
        swprintf(from, kPath, L"%ls%ls", source, files[i]);
        swprintf(to, kPath, L"%ls\\%ls", target, files[i]);
        if (!CopyOne(from, to, buffer))
            return Fail("a file was not copied");
    }
    printf("BENCH seconds=%.4f files=%d\n", Now() - start, fileCount);
    return 0;
}
