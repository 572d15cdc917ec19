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

bool OverwriteDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_lblMessage.SetText(FillIn("Plik o nazwie '%s' już istnieje.", m_pszFileName));
    return true;
}

void OverwriteDialog::Answer(OverwriteAnswer answer)
{
    m_nAnswer = answer;
    EndDialog(IDOK);
}

bool OverwriteDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_OVERWRITE_NO:
            Answer(No);
            return true;
        case IDC_OVERWRITE_NO_ALL:
            Answer(NoToAll);
            return true;
        case IDC_OVERWRITE_YES:
            Answer(Yes);
            return true;
        case IDC_OVERWRITE_YES_ALL:
            Answer(YesToAll);
            return true;
        default:
            break;
        }
    }
    // Escape and the close box end the dialog with m_nAnswer still No.
    return CDialog::OnCommand(id, code, control);
}
