#include "dirpick/InstallOptionsDialog.h"

#include "app/Globals.h"
#include "resource.h"

#include <cstring>

InstallOptionsDialog::InstallOptionsDialog(HWND parent)
    : CDialog(IDD_INSTALL_OPTIONS, parent)
{
}

void InstallOptionsDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_OPTIONS_PARTIAL, m_btnPartial);
    DDX_Control(pDX, IDC_OPTIONS_FULL, m_btnFull);
    DDX_Control(pDX, IDC_OPTIONS_TARGET, m_editTarget);
}

BOOL InstallOptionsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_btnPartial.SetCheck(FullInstall == 0 ? BST_CHECKED : BST_UNCHECKED);
    m_btnFull.SetCheck(FullInstall == 1 ? BST_CHECKED : BST_UNCHECKED);
    // InstallPath holds 255 characters: a longer text cannot be typed, so
    // what "Dalej >" takes is always the whole of what the box shows.
    m_editTarget.LimitText(kPathBufferSize - 1);
    m_editTarget.SetWindowText(InstallPath);
    return TRUE;
}

void InstallOptionsDialog::OnOK()
{
    FullInstall = m_btnFull.GetCheck() == BST_CHECKED ? 1 : 0;
    // Taken as typed, at most 255 characters.
    char text[kPathBufferSize] = "";
    if (::GetWindowTextA(m_editTarget, text, sizeof text) <= 0)
        text[0] = '\0';
    std::memcpy(InstallPath, text, sizeof InstallPath);
    CDialog::OnOK();
}

BOOL InstallOptionsDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_OPTIONS_BROWSE && code == BN_CLICKED) {
        BrowseTarget();
        return TRUE;
    }
    return CDialog::OnCommand(id, code, control);
}
