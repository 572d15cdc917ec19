#include "support/TestEnv.h"

#include <algorithm>
#include <cstring>

using cp1250::Narrow;
using cp1250::Wide;

namespace testenv {

namespace {

bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

std::string Env(const char* name)
{
    wchar_t value[1024] = L"";
    return GetEnvironmentVariableW(Wide(name).c_str(), value, 1024) < 1024 ? Narrow(value) : std::string();
}

std::string WindowsPathOf(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = Narrow(found.cFileName), child = path + "\\" + name;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(Wide(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                RemoveFile(child);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDir(path) || GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
}

std::string ScratchDir(const std::string& name)
{
    const std::string dir = "C:\\jextest\\" + name;
    RemoveTree(dir);
    MakeDirs(dir);
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
    std::string bytes;
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char block[65536];
    for (DWORD got = 0; ReadFile(file, block, sizeof block, &got, nullptr) && got > 0;)
        bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return CloseHandle(file) && ok;
}

void MakeDirs(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(Wide(path.substr(0, at)).c_str(), nullptr);
    CreateDirectoryW(Wide(path).c_str(), nullptr);
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
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return value;
    const std::wstring wideName = Wide(name);
    DWORD size = 0;
    if (RegQueryValueExW(opened, wideName.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.found = RegQueryValueExW(opened, wideName.c_str(), nullptr, &value.type,
                                       reinterpret_cast<BYTE*>(value.bytes.data()), &size) == ERROR_SUCCESS;
        value.bytes.resize(size);
    }
    RegCloseKey(opened);
    if (IsText(value.type))
        value.bytes = Narrow(std::wstring(reinterpret_cast<const wchar_t*>(value.bytes.data()), value.bytes.size() / 2));
    return value;
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY opened;
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

void WriteReg(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes)
{
    const std::wstring text = IsText(type) ? Wide(bytes) : std::wstring();
    const void* data = IsText(type) ? static_cast<const void*>(text.data()) : bytes.data();
    const size_t size = IsText(type) ? 2 * text.size() : bytes.size();
    RegSetKeyValueW(root, Wide(key).c_str(), Wide(name).c_str(), type, data, static_cast<DWORD>(size));
}

void DeleteRegTree(HKEY root, const std::string& key)
{
    RegDeleteTreeW(root, Wide(key).c_str());
    RegDeleteKeyW(root, Wide(key).c_str());
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
    DeleteRegTree(HKEY_CURRENT_USER, kProductKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    RemoveTree(ShortcutGroup());
    RemoveDir(ProgramsFolder() + "\\Kestrel Forge");
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
        if (!CreateDirectoryW(Wide(dir).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return fail(dir);
    }
    const std::string cd = testenv::WindowsPathOf(testenv::SampleCdUnix());
    for (; files && *files; ++files) {
        const std::string dest = target + "\\" + *files;
        if (!testenv::CopyFileOver(cd + "\\" + *files, dest))
            return fail(dest);
    }
    return true;
}

std::vector<std::string> PresentEntries(const std::string& target, const char* const* table)
{
    std::vector<std::string> present;
    for (; *table; ++table) {
        if (testenv::Attributes(target + "\\" + *table) != INVALID_FILE_ATTRIBUTES)
            present.push_back(*table);
    }
    return present;
}

HeldFile::HeldFile(const std::string& path)
    : m_handle(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

void HeldFile::Release()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

} // namespace installed
