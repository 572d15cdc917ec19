#include "support/TestEnv.h"

#include "WineDrives.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testenv {

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string SampleCdUnix() { return Env("JEX_SAMPLE_CD"); }
std::string BuildDirUnix() { return Env("JEX_BUILD_DIR"); }
std::string SourceDirUnix() { return Env("JEX_SOURCE_DIR"); }

std::string WindowsPathOf(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string InstallExe()
{
    return WindowsPathOf(BuildDirUnix() + "/install.exe");
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

bool MapCd(char letter, const std::string& unixFolder)
{
    return MapWineDrive(letter, unixFolder, DRIVE_CDROM);
}

bool MapFolder(char letter, const std::string& unixFolder, unsigned driveType)
{
    return MapWineDrive(letter, unixFolder, driveType);
}

bool Unmap(char letter)
{
    return UnmapWineDrive(letter);
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

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace testenv
