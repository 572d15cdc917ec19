// The dialog in which the user chooses the target directory and the kind of
// installation. It reads FullInstall and InstallPath when it opens and writes
// them back on "Dalej >"; InstallPath also on every browse.
#pragma once

#include "fw/Button.h"
#include "fw/Dialog.h"
#include "fw/Edit.h"

class InstallOptionsDialog : public CDialog {
public:
    explicit InstallOptionsDialog(HWND parent);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;

    // The "..." button: the directory browser (dirpick/BrowsePath.cpp).
    void BrowseTarget();

    CButton m_btnPartial;
    CButton m_btnFull;
    CEdit m_editTarget;
};
