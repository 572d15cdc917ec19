// The removal window: a modeless window that shows the entry being removed
// and the progress of the current step, and the two removal steps that
// drive it. Both steps work under InstallPath, walking a manifest table from
// its last entry to its first.
#pragma once

#include "fw/Dialog.h"
#include "fw/ProgressCtrl.h"
#include "fw/Static.h"

class UninstallProgressDialog : public CDialog {
public:
    explicit UninstallProgressDialog(HWND parent);
    ~UninstallProgressDialog() override;

    // Deletes the files of the table under InstallPath, last entry first,
    // leaving the installer's own copy in place. A file that is already gone
    // counts as deleted; any other failure asks Retry or Cancel. False when
    // the table is empty or the user cancelled (the remaining files stay).
    bool DeleteFiles(const char* const* table);

    // Removes the table's directories under InstallPath, last entry first,
    // then InstallPath itself and its ancestors, deepest first, never the
    // drive root. Only empty directories go; nothing is reported. Always
    // true.
    bool RemoveDirectories(const char* const* table);

    // The progress bar's position (0 to 100).
    int GetProgress() const { return m_wndProgress.GetPos(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    CStatic m_lblFileName;
    CProgressCtrl m_wndProgress;
    CStatic m_lblDescription;
};
