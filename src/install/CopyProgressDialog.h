// The copy window: a modeless window that cannot be closed, showing what
// the copy does, the entry being copied, that file's progress and the
// progress of the whole installation. It is the copy engine's view: it
// shows what the engine reports and asks the engine's questions.
#pragma once

#include "fw/Dialog.h"
#include "install/LabelText.h"
#include "install/PacedProgressBar.h"
#include "install/ProgressView.h"

#include <string>

class CopyProgressDialog : public CDialog, public CopyView {
public:
    explicit CopyProgressDialog(HWND parent);

    void ShowDescription(const std::string& text) override;
    void ShowFileName(const std::string& entry) override;
    bool AskRetry(const std::string& question) override;
    void EndStep() override;
    void ShowFileProgress(int percent) override;
    void ShowOverallProgress(int percent) override;
    void ShowError(const std::string& text) override;
    OverwriteAnswer AskOverwrite(const std::string& destPath) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    // The window never closes on a cancel command.
    void OnCancel() override;

private:
    // Before every question and at the end of every step the bars show
    // their exact positions.
    void FlushBars();

    PacedProgressBar m_wndOverallBar;
    LabelText m_lblDescription;
    PacedLabel m_lblFileName;
    PacedProgressBar m_wndFileBar;
};
