// The dialog in which the user chooses the target directory and the kind of
// installation. It shows the installation's current target and kind when it
// opens and writes them back on "Dalej >" - only a target of the form
// X:\dir..., short enough for the game's paths; anything else is explained
// and the dialog stays open with the text as typed. The "..." button opens
// the directory browser.
#pragma once

#include "fw/Button.h"
#include "fw/Dialog.h"
#include "fw/Edit.h"

#include <cstddef>
#include <string>

class InstallOptionsDialog : public CDialog {
public:
    // installPath and fullInstall are the installation's own values, read
    // when the dialog opens and written when it is confirmed (installPath
    // also by a browse); maxTargetLength bounds the target's length.
    InstallOptionsDialog(std::string& installPath, bool& fullInstall, size_t maxTargetLength,
                         HWND parent);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

    // The "..." button: the directory browser.
    void BrowseTarget();

    CButton m_btnPartial;
    CButton m_btnFull;
    CEdit m_editTarget;

private:
    // Whether the target will do; says what is wrong when it will not.
    // `held`: whether the target as given has a code page 1250 form.
    bool AcceptTarget(const std::string& target, bool held);

    std::string& m_installPath;
    bool& m_fullInstall;
    size_t m_maxTargetLength;
};
