#include "dirpick/InstallOptionsDialog.h"

#include "resource.h"

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
    return CDialog::OnInitDialog();
}

void InstallOptionsDialog::OnOK()
{
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

// Until the directory browser exists.
void InstallOptionsDialog::BrowseTarget() {}
