#include "dirpick/DriveComboBox.h"

#include "fw/Files.h"
#include "fw/Gdi.h"
#include "fw/Text.h"
#include "resource.h"

#include <cstdio>

namespace {

constexpr int kVisibleDrives = 8; // the dropped list shows this many without scrolling
constexpr int kIconLeft = 3;
constexpr int kTextLeftWithIcon = 23;
constexpr int kTextLeftPlain = 3;

std::string RootOf(const std::string& path)
{
    size_t slash = path.find('\\');
    if (slash == std::string::npos)
        return std::string();
    return path.substr(0, slash + 1);
}

} // namespace

bool DriveComboBox::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_OWNERDRAWFIXED | CBS_DROPDOWNLIST;
    if (!CreateEx(0, "COMBOBOX", "", style, rect, parent, id))
        return false;
    m_nOptions = style & (DCS_LABEL | DCS_FREESPACE | DCS_ICONS);
    FillDrives();
    std::string current;
    CurrentDirectory(current);
    SelectDriveOf(current);
    FitDroppedList();
    return true;
}

void DriveComboBox::FitDroppedList()
{
    // A combo box's list is as tall as its window was made, less the
    // selection field; grow the window so the list holds kVisibleDrives.
    // The dropped rectangle counts the field in on Windows, not under Wine:
    // either way one this tall has room enough.
    RECT field = {0, 0, 0, 0}, dropped = {0, 0, 0, 0};
    GetWindowRect(&field);
    Send(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    const int fieldHeight = field.bottom - field.top;
    const int listHeight = kVisibleDrives * m_nItemHeight + 2 * GetSystemMetrics(SM_CYBORDER);
    if (dropped.bottom - dropped.top >= fieldHeight + listHeight)
        return;
    SetWindowPos(nullptr, 0, 0, field.right - field.left, fieldHeight + listHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string DriveComboBox::FormatAmount(uint64_t bytes)
{
    static const char* const kUnits[4] = {"k", "M", "G", "T"};
    double x = static_cast<double>(bytes);
    const char* unit;
    int i = 0;
    do {
        unit = kUnits[i];
        x *= 0.0009765625;
        ++i;
    } while (x > 1024.0 && i < 4);
    char text[64];
    std::snprintf(text, sizeof text, "%.1f%s", x, unit);
    return text;
}

void DriveComboBox::FillDrives()
{
    const std::string freeLabel = LoadResourceText(IDS_FREE_SPACE);

    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::string text = {letter, ':', '\\'};
        UINT type = DriveTypeOf(text);
        if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR)
            continue;
        int kind = static_cast<int>(type) - 1;
        if (kind == FloppyAB && letter > 'b')
            kind = Removable;
        if (kind < FloppyAB || kind > Removable)
            continue;

        if (kind != FloppyAB && kind != CdRom) {
            const std::string root = text;
            if (m_nOptions & DCS_LABEL) {
                std::string label;
                DWORD flags = 0;
                if (VolumeInfoOf(root, label, flags)) {
                    text += ' ';
                    text += label;
                    if (flags & FILE_VOLUME_IS_COMPRESSED)
                        kind = Compressed;
                }
            }
            text = LowerCase(text);
            // Formed in 64 bits: today's disks are larger than 4 GiB.
            uint64_t freeBytes = 0;
            if ((m_nOptions & DCS_FREESPACE) && FreeBytesOn(root, freeBytes)) {
                text += " (";
                text += freeLabel;
                text += FormatAmount(freeBytes);
                text += ")";
            }
        }

        int index = AddString(text);
        if (index >= 0)
            SetItemData(index, kind);
    }
}

void DriveComboBox::SelectDriveOf(const std::string& path)
{
    SelectString(-1, RootOf(path));
}

std::string DriveComboBox::SelectedDrive() const
{
    const int sel = GetCurSel();
    return sel < 0 ? std::string() : RootOf(GetLBText(sel));
}

bool DriveComboBox::Describe(const DRAWITEMSTRUCT& draw, ItemLook& look) const
{
    const int position = (draw.itemState & ODS_COMBOBOXEDIT) ? GetCurSel() : static_cast<int>(draw.itemID);
    if (position < 0)
        return false;
    look.textLeft = kTextLeftPlain;
    if (m_nOptions & DCS_ICONS) {
        look.icon = ListImages::Get().Drive(static_cast<int>(GetItemData(position)));
        look.iconLeft = kIconLeft;
        look.textLeft = kTextLeftWithIcon;
    }
    look.text = GetLBText(position);
    return true;
}
