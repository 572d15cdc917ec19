// The removal window: a modeless window showing what the removal does, the
// entry being removed and the progress of the current step. It is the
// removal engine's view. The removal reports a position after every entry,
// so the bar is paced as the copy window's bars are; a step's start and end,
// and the position at a question, are shown exactly.
#pragma once

#include "fw/Dialog.h"
#include "install/LabelText.h"
#include "install/PacedProgressBar.h"
#include "install/ProgressView.h"

class UninstallProgressDialog : public CDialog, public RemovalView {
public:
    explicit UninstallProgressDialog(HWND parent);

    void ShowDescription(const std::string& text) override;
    void ShowFileName(const std::string& entry) override;
    bool AskRetry(const std::string& question) override;
    void ShowProgress(int percent) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;

private:
    PacedLabel m_lblFileName;
    PacedProgressBar m_wndProgress;
    LabelText m_lblDescription;
};
