#include "support/TestEnv.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace testenv {

std::string SampleCdUnix()
{
    return std::getenv("JEX_SAMPLE_CD") ? std::getenv("JEX_SAMPLE_CD") : "";
}

std::string BuildDirUnix()
{
    return std::getenv("JEX_BUILD_DIR") ? std::getenv("JEX_BUILD_DIR") : "";
}

std::string WindowsPathOf(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

std::string ScratchDir(const std::string& name)
{
    CreateDirectoryA("C:\\jextest", nullptr);
    std::string dir = "C:\\jextest\\" + name;
    RemoveTree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void UnmapAllExtraDrives()
{
    for (char letter = 'a'; letter <= 'y'; ++letter) {
        if (letter != 'c')
            UnmapWineDrive(letter);
    }
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

void MakeDirs(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

std::string RegValue::Text() const
{
    return found && type == REG_SZ ? std::string(bytes.c_str()) : std::string();
}

long long RegValue::Number() const
{
    DWORD number = 0;
    if (!found || type != REG_DWORD || bytes.size() != 4)
        return -1;
    std::memcpy(&number, bytes.data(), 4);
    return number;
}

RegValue ReadReg(HKEY root, const std::string& key, const char* name)
{
    RegValue value;
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(opened, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.found = RegQueryValueExA(opened, name, nullptr, &value.type,
                                       reinterpret_cast<BYTE*>(value.bytes.data()), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(opened);
    return value;
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

void WriteReg(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes)
{
    RegSetKeyValueA(root, key.c_str(), name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void DeleteRegValue(HKEY root, const std::string& key, const char* name)
{
    RegDeleteKeyValueA(root, key.c_str(), name);
}

std::string ProgramsFolder()
{
    std::string folder =
        ReadReg(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                "Programs")
            .Text();
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

void ForgetInstallation(const std::string& target)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RemoveTree(ShortcutGroup());
    RemoveDirectoryA((ProgramsFolder() + "\\Kestrel Forge").c_str());
    if (!target.empty())
        RemoveTree(target);
}

} // namespace testenv

namespace installed {

bool MakeTree(const std::string& target, const char* const* dirs, const char* const* files, std::string* failed)
{
    auto fail = [failed](const std::string& path) {
        if (failed)
            *failed = path;
        return false;
    };
    testenv::MakeDirs(target);
    if (!testenv::DirExists(target))
        return fail(target);
    for (; dirs && *dirs; ++dirs) {
        const std::string dir = target + "\\" + *dirs;
        if (!CreateDirectoryA(dir.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return fail(dir);
    }
    const std::string cd = testenv::WindowsPathOf(testenv::SampleCdUnix());
    for (; files && *files; ++files) {
        const std::string dest = target + "\\" + *files;
        if (!CopyFileA((cd + "\\" + *files).c_str(), dest.c_str(), FALSE))
            return fail(dest);
    }
    return true;
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

HeldFile::HeldFile(const std::string& path)
    : m_handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

void HeldFile::Release()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

} // namespace installed
