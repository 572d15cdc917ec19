#include "support/InstalledTree.h"

#include "support/TestEnv.h"

#include <windows.h>

namespace installed {

namespace {

bool MakeDirWithAncestors(const std::string& path)
{
    for (size_t pos = path.find('\\', 3); pos != std::string::npos; pos = path.find('\\', pos + 1))
        CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace

bool MakeTree(const std::string& target, const char* const* dirs, const char* const* files,
              std::string* failed)
{
    auto fail = [failed](const std::string& path) {
        if (failed)
            *failed = path;
        return false;
    };
    if (!MakeDirWithAncestors(target))
        return fail(target);
    for (; dirs && *dirs; ++dirs) {
        std::string dir = target + "\\" + *dirs;
        if (!CreateDirectoryA(dir.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return fail(dir);
    }
    const std::string cd = testenv::WindowsPathOf(testenv::SampleCdUnix());
    for (; files && *files; ++files) {
        std::string dest = target + "\\" + *files;
        if (!CopyFileA((cd + "\\" + *files).c_str(), dest.c_str(), FALSE))
            return fail(dest);
    }
    return true;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::vector<std::string> PresentEntries(const std::string& target, const char* const* table)
{
    std::vector<std::string> present;
    for (; *table; ++table) {
        if (GetFileAttributesA((target + "\\" + *table).c_str()) != INVALID_FILE_ATTRIBUTES)
            present.push_back(*table);
    }
    return present;
}

std::string ProgramsFolder()
{
    char folder[MAX_PATH] = "";
    DWORD size = sizeof folder;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD type = 0;
        if (RegQueryValueExA(key, "Programs", nullptr, &type, reinterpret_cast<BYTE*>(folder),
                             &size) != ERROR_SUCCESS)
            folder[0] = '\0';
        RegCloseKey(key);
    }
    std::string result = folder;
    while (!result.empty() && result.back() == '\\')
        result.pop_back();
    return result;
}

HeldFile::HeldFile(const std::string& path)
    : m_handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

HeldFile::~HeldFile()
{
    Release();
}

bool HeldFile::IsHeld() const
{
    return m_handle != INVALID_HANDLE_VALUE;
}

void HeldFile::Release()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

} // namespace installed
