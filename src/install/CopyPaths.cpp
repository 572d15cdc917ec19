#include "install/CopyPaths.h"

int CountPathComponents(const char* path)
{
    if (!path || !*path)
        return 0;
    const char* rest = path;
    if (rest[1] == ':')
        rest += 2;
    if (*rest == '\\')
        ++rest;
    int count = 1;
    for (; *rest; ++rest) {
        if (*rest == '\\')
            ++count;
    }
    return count;
}

void CopyPathPrefix(char* out, size_t outSize, const char* path, int n)
{
    if (!out || outSize == 0)
        return;
    size_t length = 0;
    if (path) {
        int backslashes = 0;
        for (const char* p = path; *p && length + 1 < outSize; ++p) {
            if (*p == '\\' && ++backslashes > n)
                break;
            out[length++] = *p;
        }
    }
    out[length] = '\0';
}
