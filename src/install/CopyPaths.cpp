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
    const std::string prefix = PathPrefix(path, n);
    const size_t length = prefix.size() < outSize ? prefix.size() : outSize - 1;
    prefix.copy(out, length);
    out[length] = '\0';
}

std::string PathPrefix(const char* path, int n)
{
    std::string prefix;
    if (!path)
        return prefix;
    int backslashes = 0;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' && ++backslashes > n)
            break;
        prefix += *p;
    }
    return prefix;
}

std::string JoinPath(const char* root, const char* entry)
{
    std::string path(root ? root : "");
    path += '\\';
    path += entry;
    return path;
}
