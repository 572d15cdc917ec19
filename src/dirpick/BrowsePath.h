// The directory browser: a drive list, a directory list and a path line that
// shows the directory the lists point at. OK returns the path line's text as
// it stands (typed text as typed; a path from the lists ends in a
// backslash).
#pragma once

#include "dirpick/DirListBox.h"
#include "dirpick/DriveComboBox.h"
#include "fw/Dialog.h"
#include "fw/Static.h"

#include <string>

class CBrowsePath : public CDialog {
public:
    CBrowsePath(HWND parent, const std::string& initialDir, const std::string& title);

    std::string m_strPath; // the result
    // Whether the path line's text has a code page 1250 form; m_strPath is
    // otherwise only its form to show.
    bool m_bPathHeld = true;
    CStatic m_lblPath;
    CStatic m_lblDrives;
    CStatic m_lblDirs;
    std::string m_strInitialDir;
    std::string m_strTitle;
    DriveComboBox m_wndDrives;
    DirListBox m_wndDirs;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

    void OnSelendokDrives();
    void OnDirChanged();
};
