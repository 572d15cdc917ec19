// The images the directory list and the drive list draw with: loaded once
// for the whole program, on first use, and freed at its end.
#pragma once

#include "fw/Gdi.h"

class ListImages {
public:
    static const ListImages& Get();

    HICON FolderClosed() const { return m_folderClosed; }
    HICON FolderOpen() const { return m_folderOpen; }
    // The icon of a drive kind (see DriveKind), or null for another number.
    HICON Drive(int kind) const;
    // The 8 x 8 pattern of the dotted focus frame.
    HBITMAP FocusPattern() const { return static_cast<HBITMAP>(m_focusPattern.GetSafeHandle()); }

private:
    ListImages();

    CIcon m_folderClosed;
    CIcon m_folderOpen;
    CIcon m_drives[8];
    CGdiObject m_focusPattern;
};
