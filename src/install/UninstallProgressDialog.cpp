#include "install/UninstallProgressDialog.h"

#include "fw/Afx.h"
#include "resource.h"

UninstallProgressDialog::UninstallProgressDialog(HWND parent)
    : CDialog(IDD_UNINSTALL, parent)
{
}

void UninstallProgressDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_REMOVE_FILE_NAME, m_lblFileName);
    DDX_Control(pDX, IDC_REMOVE_BAR, m_wndProgress);
    DDX_Control(pDX, IDC_REMOVE_DESCRIPTION, m_lblDescription);
}

bool UninstallProgressDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndProgress.Reset();
    // The template's words only name the fields.
    m_lblDescription.Show("");
    m_lblFileName.Show("");
    return true;
}

void UninstallProgressDialog::ShowDescription(const std::string& text)
{
    m_wndProgress.Flush();
    m_lblDescription.Show(text);
}

void UninstallProgressDialog::ShowFileName(const std::string& entry)
{
    m_lblFileName.Show(entry);
}

void UninstallProgressDialog::ShowProgress(int percent)
{
    m_wndProgress.Show(percent);
    if (percent == 0 || percent == 100)
        m_wndProgress.Flush();
}

bool UninstallProgressDialog::AskRetry(const std::string& question)
{
    m_wndProgress.Flush();
    return AfxMessageBox(question, MB_RETRYCANCEL | MB_ICONEXCLAMATION, m_hWnd) == IDRETRY;
}
