// Stand-ins for what the copy and removal engines talk to: a view that
// records what it is told and answers questions from a script, and the real
// file system with faults put in at a chosen file, call and offset.
#pragma once

#include "fw/Afx.h"
#include "install/FileSystem.h"
#include "install/OperationHost.h"
#include "install/ProgressView.h"
#include "support/Cp1250.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

// Answers Retry/Cancel questions and overwrite questions in the order given;
// once the script runs out, every question is answered Cancel (or "Nie").
class ScriptedView : public CopyView, public RemovalView {
public:
    std::deque<bool> retries;
    std::deque<OverwriteAnswer> overwrites;

    // Every question and error, in order, as "kind: text".
    std::vector<std::string> asked;
    std::vector<std::string> fileNames;
    std::vector<int> fileBar, overallBar, removalBar;
    // The file bar's position whenever a question was asked.
    std::vector<int> fileBarAtQuestion;

    void ShowDescription(const std::string&) override {}
    void ShowFileName(const std::string& entry) override { fileNames.push_back(entry); }
    bool AskRetry(const std::string& question) override;
    void ShowFileProgress(int percent) override { fileBar.push_back(percent); }
    void ShowOverallProgress(int percent) override { overallBar.push_back(percent); }
    void ShowError(const std::string& text) override { asked.push_back("error: " + text); }
    OverwriteAnswer AskOverwrite(const std::string& destPath) override;
    void ShowProgress(int percent) override { removalBar.push_back(percent); }
};

class FaultyFileSystem : public FileSystem {
public:
    enum class Op { Open, Create, Size, Read, Write, Close, MakeDir, RemoveFile };

    // The next `times` calls of `op` on a path containing `pathPart` fail.
    // A read or write fails only once it reaches `offset`; it still moves
    // the bytes before it, as a full disk or a scratched disc does: a short
    // read, or a write that got part of the way.
    struct Fault {
        Op op;
        const char* pathPart;
        int times = 1;
        int64_t offset = 0;
    };
    void Add(const Fault& fault) { m_faults.push_back(fault); }

    Handle OpenForReading(const std::string& path) override;
    Handle CreateForWriting(const std::string& path) override;
    bool SizeOf(Handle file, int64_t& size) override;
    int64_t ReadAt(Handle file, int64_t offset, char* buffer, uint32_t size) override;
    bool WriteAt(Handle file, int64_t offset, const char* data, uint32_t size) override;
    bool Close(Handle file) override;
    DirResult MakeDir(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveDir(const std::string& path) override { return Real().RemoveDir(path); }
    bool Exists(const std::string& path) override { return Real().Exists(path); }
    bool IsFile(const std::string& path) override { return Real().IsFile(path); }

private:
    static FileSystem& Real() { return RealFileSystem(); }
    // The fault that hits this call, if any.
    Fault* Hit(Op op, const std::string& path, int64_t end = 0);
    Handle Track(Handle file, const std::string& path);

    std::vector<Fault> m_faults;
    std::map<Handle, std::string> m_paths;
};

// A host for running the install and uninstall sequences in a test's own
// process: no launcher behind it, the CD always there, no program started.
class QuietHost : public OperationHost {
public:
    HWND OwnerWindow() const override { return nullptr; }
    int ShowMessage(const std::string& text, UINT type) override
    {
        return MessageBoxW(nullptr, cp1250::Wide(text).c_str(), L"Program Instalacyjny", type);
    }
    int ShowAppMessage(const std::string& text, UINT type, HWND owner) override
    {
        return AfxMessageBox(text, type, owner);
    }
    bool IsInstalled() const override { return false; }
    bool EnsureCd() override { return true; }
    void RunConfig() override {}
    void RunGame() override {}
    void RefreshInstallState() override {}
};
