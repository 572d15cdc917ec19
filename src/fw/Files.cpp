#include "fw/Files.h"

#include "fw/Text.h"

HANDLE OpenFileHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    return CreateFileW(Widen(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

bool MakeDirectory(const std::string& path)
{
    return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

bool MakeDirectoryPath(const std::string& path)
{
    for (size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
        const std::string directory = path.substr(0, slash);
        // The drive ("C:") and a path's leading backslash name no directory to make.
        if (directory.empty() || directory.back() == ':')
            continue;
        if (!MakeDirectory(directory) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        const DWORD attributes = FileAttributesOf(directory);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false; // a file of that name is in the way
    }
    return true;
}

bool DeleteFileAt(const std::string& path)
{
    return DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool RemoveEmptyDirectory(const std::string& path)
{
    return RemoveDirectoryW(Widen(path).c_str()) != FALSE;
}

DWORD FileAttributesOf(const std::string& path)
{
    return GetFileAttributesW(Widen(path).c_str());
}

UINT DriveTypeOf(const std::string& root)
{
    return GetDriveTypeW(Widen(root).c_str());
}

bool FreeBytesOn(const std::string& root, uint64_t& freeBytes)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(Widen(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return false;
    freeBytes = uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
    return true;
}

bool VolumeInfoOf(const std::string& root, std::string& label, DWORD& flags)
{
    wchar_t name[MAX_PATH + 1] = L"";
    DWORD serial = 0, longestComponent = 0;
    flags = 0;
    if (!GetVolumeInformationW(Widen(root).c_str(), name, MAX_PATH + 1, &serial, &longestComponent, &flags,
                               nullptr, 0))
        return false;
    label = Narrow(name);
    return true;
}

bool CurrentDirectory(std::string& directory)
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring wide(size, L'\0');
    const DWORD length = size ? GetCurrentDirectoryW(size, wide.data()) : 0;
    if (length == 0 || length >= size)
        return false;
    wide.resize(length);
    return NarrowExactly(wide, directory);
}

bool ChangeCurrentDirectory(const std::string& directory)
{
    return SetCurrentDirectoryW(Widen(directory).c_str()) != FALSE;
}

namespace {

// Goes through a directory listing; false when it finds nothing.
template <class Visit>
bool VisitListing(const std::string& pattern, Visit visit)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    while (visit(found) && FindNextFileW(search, &found)) {
    }
    FindClose(search);
    return true;
}

} // namespace

bool ListDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries)
{
    return VisitListing(pattern, [&](const WIN32_FIND_DATAW& found) {
        DirectoryEntry entry;
        entry.held = NarrowExactly(found.cFileName, entry.name);
        entry.attributes = found.dwFileAttributes;
        entries.push_back(std::move(entry));
        return true;
    });
}

bool MatchesAnything(const std::string& pattern)
{
    return VisitListing(pattern, [](const WIN32_FIND_DATAW&) { return false; });
}

HANDLE StartProcess(const std::string& path, const std::string& commandLine)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring line = Widen(commandLine); // the call may write into it
    if (!CreateProcessW(Widen(path).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}
