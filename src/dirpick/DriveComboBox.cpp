#include "dirpick/DriveComboBox.h"

#include "dirpick/OwnerDrawnItem.h"
#include "fw/Afx.h"
#include "fw/Gdi.h"
#include "resource.h"

#include <cstdio>

namespace {

// Shared by every drive list of the process; loaded once, never freed.
HICON g_hDriveIcons[8] = {};
HBITMAP g_hFocusPattern = nullptr;

// The icon resource of every DriveKind (index = kind).
constexpr WORD kIconIds[8] = {0,
                              IDI_DRIVE_FLOPPY,
                              IDI_DRIVE_FIXED,
                              IDI_DRIVE_REMOTE,
                              IDI_DRIVE_CDROM,
                              IDI_DRIVE_RAM,
                              IDI_DRIVE_REMOVABLE,
                              IDI_DRIVE_COMPRESSED};

constexpr int kIconSize = 16;
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

DriveComboBox::DriveComboBox()
{
    LoadImages();
}

void DriveComboBox::LoadImages()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    for (int kind = FloppyAB; kind <= Compressed; ++kind) {
        if (!g_hDriveIcons[kind])
            g_hDriveIcons[kind] = LoadIconA(instance, MAKEINTRESOURCEA(kIconIds[kind]));
    }
    if (!g_hFocusPattern)
        g_hFocusPattern = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_FOCUS_PATTERN));
}

BOOL DriveComboBox::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_OWNERDRAWFIXED | CBS_DROPDOWNLIST;
    if (!CreateEx(0, "COMBOBOX", "", style, rect, parent, id))
        return FALSE;
    m_nOptions = style & (DCS_LABEL | DCS_FREESPACE | DCS_ICONS);
    FillDrives();
    SelectCurrentDrive();
    FitDroppedList();
    return TRUE;
}

void DriveComboBox::FitDroppedList()
{
    // A combo box's list is as tall as its window was made, less the
    // selection field; grow the window so the list holds kVisibleDrives.
    // The dropped rectangle counts the field in on Windows, not under Wine:
    // either way one this tall has room enough.
    RECT field = {0, 0, 0, 0}, dropped = {0, 0, 0, 0};
    GetWindowRect(&field);
    SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
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
    char freeLabel[64] = "";
    LoadStringA(AfxGetInstanceHandle(), IDS_FREE_SPACE, freeLabel, sizeof freeLabel);

    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::string text = {letter, ':', '\\'};
        UINT type = GetDriveTypeA(text.c_str());
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
                char label[256] = "";
                DWORD serial = 0, maxComponent = 0, flags = 0;
                if (GetVolumeInformationA(root.c_str(), label, sizeof label, &serial,
                                          &maxComponent, &flags, nullptr, 0)) {
                    text += ' ';
                    text += label;
                    if (flags & FILE_VOLUME_IS_COMPRESSED)
                        kind = Compressed;
                }
            }
            CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
            DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
            if ((m_nOptions & DCS_FREESPACE) &&
                GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector,
                                  &freeClusters, &clusters)) {
                // Formed in 64 bits: today's disks are larger than 4 GiB.
                uint64_t freeBytes = static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector *
                                     freeClusters;
                text += " (";
                text += freeLabel;
                text += FormatAmount(freeBytes);
                text += ")";
            }
        }

        int index = AddString(text.c_str());
        if (index >= 0)
            SetItemData(index, kind);
    }
}

void DriveComboBox::SelectDriveOf(const std::string& path)
{
    SelectString(-1, RootOf(path).c_str());
}

void DriveComboBox::GetSelectedDrive(std::string& root) const
{
    int sel = GetCurSel();
    if (sel < 0) {
        root.clear();
        return;
    }
    root = RootOf(GetLBText(sel));
}

void DriveComboBox::SelectCurrentDrive()
{
    char current[260] = "";
    GetCurrentDirectoryA(sizeof current, current);
    SelectDriveOf(current);
}

void DriveComboBox::UseParentFont(HDC)
{
    m_pFont = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
}

void DriveComboBox::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    measure->itemHeight = static_cast<UINT>(m_nItemHeight);
}

int DriveComboBox::OnCreate(LPARAM createStruct)
{
    if (Default(WM_CREATE, 0, createStruct) == -1)
        return -1;
    UseParentFont(nullptr);
    m_nTextHeight = MeasureTextHeight(m_hWnd, m_pFont);
    m_nItemHeight = m_nTextHeight > kIconSize ? m_nTextHeight : kIconSize;
    // The combo box asked its parent for the heights before this point, when
    // the parent could not yet tell it from other windows: set them now.
    SetItemHeight(-1, m_nItemHeight);
    SetItemHeight(0, m_nItemHeight);
    return 0;
}

LRESULT DriveComboBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        return OnCreate(lParam);
    return CComboBox::WindowProc(msg, wParam, lParam);
}

void DriveComboBox::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (!m_pFont)
        UseParentFont(draw->hDC);
    if (static_cast<int>(draw->itemID) == -1)
        return;
    int position = static_cast<int>(draw->itemID);
    if (draw->itemState & ODS_COMBOBOXEDIT)
        position = GetCurSel();
    if (position < 0)
        return;
    LPARAM kind = GetItemData(position);
    HICON icon = (kind >= FloppyAB && kind <= Compressed) ? g_hDriveIcons[kind] : nullptr;

    OwnerDrawnItem painter(*draw, m_pFont);
    int textLeft = draw->rcItem.left + kTextLeftPlain;
    if (m_nOptions & DCS_ICONS) {
        painter.DrawIcon(icon, draw->rcItem.left + kIconLeft, m_nItemHeight);
        textLeft = draw->rcItem.left + kTextLeftWithIcon;
    }
    painter.DrawText(GetLBText(position), textLeft, m_nItemHeight, m_nTextHeight);
    painter.DrawFocusFrame(g_hFocusPattern);
}
