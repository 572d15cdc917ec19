// The drive list of the directory browser: one item for every present drive
// letter in letter order, with an icon for the kind of drive and the root in
// lower case, for hard, network, RAM and removable drives (not A: and B:)
// also the volume label and the free space. Floppy drives A: and B: and
// CD-ROM drives are never asked anything, so no medium is touched.
#pragma once

#include "dirpick/OwnerDrawnList.h"
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

class DriveComboBox : public OwnerDrawnList<CComboBox> {
public:
    // Creates the combo box window, adds the drives and selects the drive
    // of the current directory.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // Selects the drive that path lies on; no change when none matches.
    void SelectDriveOf(const std::string& path);
    // The root of the selected drive, such as "c:\", or empty.
    std::string SelectedDrive() const;

    // A byte count as the list shows it: one decimal and the unit, from
    // "k" up to "T" (0 gives "0.0k", 1048577 gives "1.0M").
    static std::string FormatAmount(uint64_t bytes);

protected:
    bool Describe(const DRAWITEMSTRUCT& draw, ItemLook& look) const override;
    void ApplyItemHeight() override
    {
        SetItemHeight(-1, m_nItemHeight);
        SetItemHeight(0, m_nItemHeight);
    }

private:
    // Adds an item for every present drive letter.
    void FillDrives();
    // Makes the dropped list tall enough for eight drives.
    void FitDroppedList();

    UINT m_nOptions = 0;
};
