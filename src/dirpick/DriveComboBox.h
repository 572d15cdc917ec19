// The drive list of the directory browser: one item for every present drive
// letter in letter order, with an icon for the kind of drive and the root in
// lower case, for hard, network, RAM and removable drives (not A: and B:)
// also the volume label and the free space. Floppy drives A: and B: and
// CD-ROM drives are never asked anything, so no medium is touched.
#pragma once

#include "fw/ComboBox.h"

#include <cstdint>
#include <string>

// Display options, from the low bits of the creation style.
constexpr UINT DCS_LABEL = 1;     // append the volume label
constexpr UINT DCS_FREESPACE = 2; // append the free space
constexpr UINT DCS_ICONS = 4;     // draw the drive icon

// The datum of every item.
enum DriveKind : int {
    FloppyAB = 1,
    Fixed = 2,
    Remote = 3,
    CdRom = 4,
    RamDisk = 5,
    Removable = 6,
    Compressed = 7,
};

class DriveComboBox : public CComboBox {
public:
    DriveComboBox();

    // Creates the combo box window, adds the drives and selects the drive
    // of the current directory.
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    void DrawItem(DRAWITEMSTRUCT* draw) override;
    void MeasureItem(MEASUREITEMSTRUCT* measure) override;

    // Selects the drive that path lies on; no change when none matches.
    virtual void SelectDriveOf(const std::string& path);
    // The root of the selected drive, such as "c:\", or empty.
    virtual void GetSelectedDrive(std::string& root) const;
    // Selects the drive of the process's current directory.
    virtual void SelectCurrentDrive();
    // Adds an item for every present drive letter.
    virtual void FillDrives();
    // Borrows the parent window's font.
    virtual void UseParentFont(HDC dc);
    // Loads the images shared by every drive list.
    virtual void LoadImages();

    // A byte count as the list shows it: one decimal and the unit, from
    // "k" up to "T" (0 gives "0.0k", 1048577 gives "1.0M").
    static std::string FormatAmount(uint64_t bytes);

    int m_nTextHeight = 0;
    int m_nItemHeight = 0;
    UINT m_nOptions = 0;
    HFONT m_pFont = nullptr; // the parent's; never deleted here

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPARAM createStruct);

private:
    // Makes the dropped list tall enough for eight drives.
    void FitDroppedList();
};
