#include "app/LauncherDialog.h"

#include "resource.h"

LauncherDialog::LauncherDialog(HWND parent)
    : CDialog(IDD_LAUNCHER, parent)
{
}
