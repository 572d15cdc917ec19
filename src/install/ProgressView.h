// What the copy and the removal tell the user and ask of the user. The
// engines know only these interfaces: the progress windows implement them
// on screen, and a test implements them without any window.
#pragma once

#include "install/OverwriteAnswer.h"

#include <cstdint>
#include <string>

// A bar position: `done` of `whole` in whole percent, 0 when there is no whole.
inline int Percent(int64_t done, int64_t whole)
{
    return whole > 0 ? static_cast<int>(done * 100 / whole) : 0;
}

class ProgressView {
public:
    // What the step under way does, and the entry it works on.
    virtual void ShowDescription(const std::string& text) = 0;
    virtual void ShowFileName(const std::string& entry) = 0;
    // A Retry/Cancel question with the exclamation icon; true for Retry.
    virtual bool AskRetry(const std::string& question) = 0;
    // The step under way has come to its end: from now on a window shows
    // exactly where it ended, however fast the step went.
    virtual void EndStep() {}

protected:
    ~ProgressView() = default;
};

class CopyView : public ProgressView {
public:
    // Positions 0 to 100 of the current file and of the whole installation;
    // the overall figure can pass 100, which shows a full bar.
    virtual void ShowFileProgress(int percent) = 0;
    virtual void ShowOverallProgress(int percent) = 0;
    // A message with an OK button and the stop icon.
    virtual void ShowError(const std::string& text) = 0;
    // Whether to replace the existing file at destPath.
    virtual OverwriteAnswer AskOverwrite(const std::string& destPath) = 0;

protected:
    ~CopyView() = default;
};

class RemovalView : public ProgressView {
public:
    // Position 0 to 100 of the current step.
    virtual void ShowProgress(int percent) = 0;

protected:
    ~RemovalView() = default;
};
