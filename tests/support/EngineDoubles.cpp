#include "support/EngineDoubles.h"

#include <algorithm>

bool ScriptedView::AskRetry(const std::string& question)
{
    asked.push_back("retry: " + question);
    fileBarAtQuestion.push_back(fileBar.empty() ? -1 : fileBar.back());
    if (retries.empty())
        return false;
    bool retry = retries.front();
    retries.pop_front();
    return retry;
}

OverwriteAnswer ScriptedView::AskOverwrite(const std::string& destPath)
{
    asked.push_back("overwrite: " + destPath);
    if (overwrites.empty())
        return No;
    OverwriteAnswer answer = overwrites.front();
    overwrites.pop_front();
    return answer;
}

FaultyFileSystem::Fault* FaultyFileSystem::Hit(Op op, const std::string& path, int64_t end)
{
    for (Fault& fault : m_faults) {
        if (fault.op == op && fault.times > 0 && path.find(fault.pathPart) != std::string::npos &&
            (end == 0 || end > fault.offset)) {
            --fault.times;
            return &fault;
        }
    }
    return nullptr;
}

FileSystem::Handle FaultyFileSystem::Track(Handle file, const std::string& path)
{
    if (file)
        m_paths[file] = path;
    return file;
}

FileSystem::Handle FaultyFileSystem::OpenForReading(const std::string& path)
{
    return Hit(Op::Open, path) ? nullptr : Track(Real().OpenForReading(path), path);
}

FileSystem::Handle FaultyFileSystem::CreateForWriting(const std::string& path)
{
    return Hit(Op::Create, path) ? nullptr : Track(Real().CreateForWriting(path), path);
}

bool FaultyFileSystem::SizeOf(Handle file, int64_t& size)
{
    return !Hit(Op::Size, m_paths[file]) && Real().SizeOf(file, size);
}

int64_t FaultyFileSystem::ReadAt(Handle file, int64_t offset, char* buffer, uint32_t size)
{
    if (Fault* fault = Hit(Op::Read, m_paths[file], offset + size)) {
        const int64_t before = std::max<int64_t>(0, fault->offset - offset);
        return Real().ReadAt(file, offset, buffer, static_cast<uint32_t>(before));
    }
    return Real().ReadAt(file, offset, buffer, size);
}

bool FaultyFileSystem::WriteAt(Handle file, int64_t offset, const char* data, uint32_t size)
{
    if (Fault* fault = Hit(Op::Write, m_paths[file], offset + size)) {
        const int64_t before = std::max<int64_t>(0, fault->offset - offset);
        if (before > 0)
            Real().WriteAt(file, offset, data, static_cast<uint32_t>(before));
        return false;
    }
    return Real().WriteAt(file, offset, data, size);
}

bool FaultyFileSystem::Close(Handle file)
{
    const std::string path = m_paths[file];
    m_paths.erase(file);
    const bool closed = Real().Close(file);
    return !Hit(Op::Close, path) && closed;
}

FileSystem::DirResult FaultyFileSystem::MakeDir(const std::string& path)
{
    return Hit(Op::MakeDir, path) ? DirResult::Failed : Real().MakeDir(path);
}

bool FaultyFileSystem::RemoveFile(const std::string& path)
{
    return !Hit(Op::RemoveFile, path) && Real().RemoveFile(path);
}
