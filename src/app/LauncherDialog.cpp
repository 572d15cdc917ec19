#include "app/LauncherDialog.h"

#include "resource.h"

LauncherDialog::LauncherDialog(HWND parent)
    : CDialog(IDD_LAUNCHER, parent)
{
}

int LauncherDialog::ShowMessage(const char* text, UINT type)
{
    return MessageBoxA(m_hWnd, text, kCaption, type);
}

BOOL LauncherDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    RefreshInstallState();
    return TRUE;
}

BOOL LauncherDialog::OnCommand(UINT id, UINT code, HWND control)
{
    return CDialog::OnCommand(id, code, control);
}

LRESULT LauncherDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CDialog::WindowProc(msg, wParam, lParam);
}

void LauncherDialog::FitAndCentre()
{
}

void LauncherDialog::RefreshInstallState()
{
}

// Until their own files exist.
void LauncherDialog::RunInstall() {}
void LauncherDialog::RunConfig() {}
void LauncherDialog::RunGame() {}
void LauncherDialog::RunIntro() {}
