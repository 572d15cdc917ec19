#include "install/FileSystem.h"

#include "fw/Files.h"

namespace {

class WindowsFileSystem final : public FileSystem {
public:
    Handle OpenForReading(const std::string& path) override
    {
        return Opened(OpenFileHandle(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    }

    // A new file is made as new, and only an existing one is cut to
    // nothing: Wine cuts even a file it has just made when asked to
    // create-or-cut, and Linux's ext4 writes a file that was cut to disk as
    // soon as it is closed, so closing a large copy would cost tens of
    // milliseconds.
    Handle CreateForWriting(const std::string& path) override
    {
        HANDLE file = OpenFileHandle(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS)
            file = OpenFileHandle(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
        return Opened(file);
    }

    bool SizeOf(Handle file, int64_t& size) override
    {
        LARGE_INTEGER length;
        if (!GetFileSizeEx(file, &length))
            return false;
        size = length.QuadPart;
        return true;
    }

    // The handles are synchronous: a seek, then a plain read or write. Under
    // Wine an offset passed in an OVERLAPPED costs a request to the Wine
    // server on every call, the seek does not.
    int64_t ReadAt(Handle file, int64_t offset, char* buffer, uint32_t size) override
    {
        DWORD read = 0;
        if (!SeekTo(file, offset) || !ReadFile(file, buffer, size, &read, nullptr))
            return -1;
        return read;
    }

    bool WriteAt(Handle file, int64_t offset, const char* data, uint32_t size) override
    {
        DWORD written = 0;
        return SeekTo(file, offset) && WriteFile(file, data, size, &written, nullptr) &&
               written == size;
    }

    bool Close(Handle file) override { return CloseHandle(file) != FALSE; }

    DirResult MakeDir(const std::string& path) override
    {
        if (MakeDirectory(path))
            return DirResult::Made;
        return GetLastError() == ERROR_ALREADY_EXISTS ? DirResult::Existed : DirResult::Failed;
    }

    bool RemoveFile(const std::string& path) override { return DeleteFileAt(path); }

    bool RemoveDir(const std::string& path) override { return RemoveEmptyDirectory(path); }

    bool Exists(const std::string& path) override { return FileAttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

    bool IsFile(const std::string& path) override
    {
        DWORD attributes = FileAttributesOf(path);
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

private:
    static Handle Opened(HANDLE file) { return file == INVALID_HANDLE_VALUE ? nullptr : file; }

    static bool SeekTo(Handle file, int64_t offset)
    {
        LARGE_INTEGER to;
        to.QuadPart = offset;
        return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
    }
};

} // namespace

FileSystem& RealFileSystem()
{
    static WindowsFileSystem system;
    return system;
}
