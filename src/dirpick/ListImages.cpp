#include "dirpick/ListImages.h"

#include "fw/Afx.h"
#include "resource.h"

namespace {

// The icon resource of every drive kind (index = kind, 1 to 7).
constexpr UINT kDriveIconIds[8] = {0,
                                   IDI_DRIVE_FLOPPY,
                                   IDI_DRIVE_FIXED,
                                   IDI_DRIVE_REMOTE,
                                   IDI_DRIVE_CDROM,
                                   IDI_DRIVE_RAM,
                                   IDI_DRIVE_REMOVABLE,
                                   IDI_DRIVE_COMPRESSED};

HICON IconOf(UINT id)
{
    return id ? CIcon::Load(AfxGetInstanceHandle(), id) : nullptr;
}

} // namespace

const ListImages& ListImages::Get()
{
    static const ListImages images;
    return images;
}

ListImages::ListImages()
    : m_folderClosed(IconOf(IDI_FOLDER_CLOSED)),
      m_folderOpen(IconOf(IDI_FOLDER_OPEN)),
      m_drives{CIcon(IconOf(kDriveIconIds[0])), CIcon(IconOf(kDriveIconIds[1])),
               CIcon(IconOf(kDriveIconIds[2])), CIcon(IconOf(kDriveIconIds[3])),
               CIcon(IconOf(kDriveIconIds[4])), CIcon(IconOf(kDriveIconIds[5])),
               CIcon(IconOf(kDriveIconIds[6])), CIcon(IconOf(kDriveIconIds[7]))},
      m_focusPattern(LoadBitmapW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDB_FOCUS_PATTERN)))
{
}

HICON ListImages::Drive(int kind) const
{
    return kind > 0 && kind < 8 ? static_cast<HICON>(m_drives[kind]) : nullptr;
}
