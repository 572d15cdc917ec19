#include "install/OverwriteDialog.h"

#include "install/MessageText.h"
#include "resource.h"

OverwriteDialog::OverwriteDialog(const char* fileName, HWND parent)
    : CDialog(IDD_OVERWRITE, parent), m_pszFileName(fileName)
{
}

void OverwriteDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_OVERWRITE_MESSAGE, m_lblMessage);
}

BOOL OverwriteDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_lblMessage.SetWindowText(
        FillIn("Plik o nazwie '%s' już istnieje.", m_pszFileName).c_str());
    return TRUE;
}

void OverwriteDialog::Answer(OverwriteAnswer answer)
{
    m_nAnswer = answer;
    EndDialog(IDOK);
}

BOOL OverwriteDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_OVERWRITE_NO:
            Answer(No);
            return TRUE;
        case IDC_OVERWRITE_NO_ALL:
            Answer(NoToAll);
            return TRUE;
        case IDC_OVERWRITE_YES:
            Answer(Yes);
            return TRUE;
        case IDC_OVERWRITE_YES_ALL:
            Answer(YesToAll);
            return TRUE;
        default:
            break;
        }
    }
    // Escape and the close box end the dialog with m_nAnswer still No.
    return CDialog::OnCommand(id, code, control);
}
