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
