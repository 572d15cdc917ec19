#include "install/CopyProgressDialog.h"

#include "fw/Afx.h"
#include "install/OverwriteDialog.h"
#include "resource.h"

CopyProgressDialog::CopyProgressDialog(HWND parent)
    : CDialog(IDD_COPY_PROGRESS, parent)
{
}

void CopyProgressDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_COPY_OVERALL_BAR, m_wndOverallBar);
    DDX_Control(pDX, IDC_COPY_DESCRIPTION, m_lblDescription);
    DDX_Control(pDX, IDC_COPY_FILE_NAME, m_lblFileName);
    DDX_Control(pDX, IDC_COPY_FILE_BAR, m_wndFileBar);
}

bool CopyProgressDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndOverallBar.Reset();
    m_wndFileBar.Reset();
    // The template's words only name the fields; the window shows them empty
    // until the copy says what it does.
    m_lblDescription.Show("");
    m_lblFileName.Show("");
    return true;
}

void CopyProgressDialog::OnCancel()
{
}

void CopyProgressDialog::ShowDescription(const std::string& text)
{
    m_lblDescription.Show(text);
}

void CopyProgressDialog::ShowFileName(const std::string& entry)
{
    m_lblFileName.Show(entry);
}

void CopyProgressDialog::ShowFileProgress(int percent)
{
    m_wndFileBar.Show(percent);
    // A file's start and end are shown exactly, however fast they come.
    if (percent == 0 || percent == 100)
        FlushBars();
}

void CopyProgressDialog::ShowOverallProgress(int percent)
{
    m_wndOverallBar.Show(percent);
}

void CopyProgressDialog::FlushBars()
{
    m_wndFileBar.Flush();
    m_wndOverallBar.Flush();
}

bool CopyProgressDialog::AskRetry(const std::string& question)
{
    FlushBars();
    return AfxMessageBox(question, MB_RETRYCANCEL | MB_ICONEXCLAMATION, m_hWnd) == IDRETRY;
}

void CopyProgressDialog::ShowError(const std::string& text)
{
    FlushBars();
    AfxMessageBox(text, MB_OK | MB_ICONSTOP, m_hWnd);
}

OverwriteAnswer CopyProgressDialog::AskOverwrite(const std::string& destPath)
{
    FlushBars();
    OverwriteDialog question(destPath.c_str(), m_hWnd);
    question.DoModal();
    return static_cast<OverwriteAnswer>(question.m_nAnswer);
}
