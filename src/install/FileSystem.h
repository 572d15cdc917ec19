// The file operations of the copy and the removal, behind one small
// interface, so that a test can make any of them fail at a chosen file,
// offset or call. Reads and writes name their offset: a retried call after
// a failure always works on exactly the bytes it failed on.
#pragma once

#include <cstdint>
#include <string>

class FileSystem {
public:
    // An open file; null when the file did not open.
    using Handle = void*;

    enum class DirResult { Made, Existed, Failed };

    virtual Handle OpenForReading(const std::string& path) = 0;
    // Creates the file, or cuts an existing one to nothing, for writing.
    virtual Handle CreateForWriting(const std::string& path) = 0;
    // False when the size cannot be told.
    virtual bool SizeOf(Handle file, int64_t& size) = 0;
    // The number of bytes read at the offset (fewer at the end of the
    // file), or -1 when the read failed.
    virtual int64_t ReadAt(Handle file, int64_t offset, char* buffer, uint32_t size) = 0;
    // True when all the bytes were written at the offset.
    virtual bool WriteAt(Handle file, int64_t offset, const char* data, uint32_t size) = 0;
    // True when the file was closed without an error.
    virtual bool Close(Handle file) = 0;

    // Existed also when a file of that name is in the way, as for the C
    // runtime's _mkdir.
    virtual DirResult MakeDir(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Removes an empty directory; one that holds anything stays.
    virtual bool RemoveDir(const std::string& path) = 0;
    // Whether anything, file or directory, exists under the path.
    virtual bool Exists(const std::string& path) = 0;
    // Whether a file (not a directory) exists under the path.
    virtual bool IsFile(const std::string& path) = 0;

protected:
    ~FileSystem() = default;
};

// The machine's own file system, through Windows file handles.
FileSystem& RealFileSystem();
