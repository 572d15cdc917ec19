#include "dirpick/InstallOptionsDialog.h"

#include "dirpick/BrowsePath.h"
#include "dirpick/TargetPath.h"
#include "fw/Afx.h"
#include "resource.h"

namespace {

constexpr char kBrowseTitle[] = "Program instalacyjny - wybór katalogu";
constexpr char kGameDirName[] = "Jex";

} // namespace

InstallOptionsDialog::InstallOptionsDialog(std::string& installPath, bool& fullInstall,
                                           size_t maxTargetLength, HWND parent)
    : CDialog(IDD_INSTALL_OPTIONS, parent),
      m_installPath(installPath),
      m_fullInstall(fullInstall),
      m_maxTargetLength(maxTargetLength)
{
}

void InstallOptionsDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_OPTIONS_PARTIAL, m_btnPartial);
    DDX_Control(pDX, IDC_OPTIONS_FULL, m_btnFull);
    DDX_Control(pDX, IDC_OPTIONS_TARGET, m_editTarget);
}

bool InstallOptionsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_btnPartial.SetCheck(m_fullInstall ? BST_UNCHECKED : BST_CHECKED);
    m_btnFull.SetCheck(m_fullInstall ? BST_CHECKED : BST_UNCHECKED);
    // No length limit on the box: a limit would cut a pasted path without a
    // word. A target that is too long is refused whole instead.
    m_editTarget.SetText(m_installPath);
    return true;
}

bool InstallOptionsDialog::AcceptTarget(const std::string& target, bool held)
{
    const std::string problem = TargetPathProblem(target, m_maxTargetLength, held);
    if (problem.empty())
        return true;
    AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION, m_hWnd);
    return false;
}

void InstallOptionsDialog::OnOK()
{
    bool held = true;
    const std::string target = m_editTarget.Text(&held);
    if (!AcceptTarget(target, held)) {
        m_editTarget.SetFocus();
        return;
    }
    m_fullInstall = m_btnFull.GetCheck() == BST_CHECKED;
    m_installPath = target;
    CDialog::OnOK();
}

bool InstallOptionsDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_OPTIONS_BROWSE && code == BN_CLICKED) {
        BrowseTarget();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void InstallOptionsDialog::BrowseTarget()
{
    // Typed text without a code page 1250 form is not taken: the browser
    // starts from the target as it was.
    bool held = true;
    if (std::string typed = m_editTarget.Text(&held); held)
        m_installPath = typed;

    CBrowsePath browser(m_hWnd, m_installPath, kBrowseTitle);
    if (browser.DoModal() == IDOK) {
        std::string path = browser.m_strPath;
        if (path.find(kGameDirName) == std::string::npos) {
            // The game's own directory goes below the chosen one.
            if (!path.empty() && path.back() != '\\')
                path += '\\';
            path += kGameDirName;
        }
        if (AcceptTarget(path, browser.m_bPathHeld))
            m_installPath = path;
    }

    m_editTarget.SetText(m_installPath);
}
