#include "dirpick/BrowsePath.h"

#include "resource.h"


namespace {

// Visible child with border and tab stop; the lists add their own bits.
constexpr DWORD kDirListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
// The same, and the drive list's icons (its option bit 4) with the low bits
// of a drop-down list.
constexpr DWORD kDriveListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | 0x7;
// Tab order only: no move, no resize, no redraw, owner order untouched.
constexpr UINT kTabOrderOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOOWNERZORDER;

void ScreenToClientRect(HWND window, RECT* rect)
{
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    ScreenToClient(window, &corners[0]);
    ScreenToClient(window, &corners[1]);
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}


} // namespace

CBrowsePath::CBrowsePath(HWND parent, const std::string& initialDir, const std::string& title)
    : CDialog(IDD_BROWSE_PATH, parent), m_strInitialDir(initialDir), m_strTitle(title)
{
}

void CBrowsePath::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_BROWSE_PATH_LABEL, m_lblPath);
    DDX_Control(pDX, IDC_BROWSE_DRIVES_LABEL, m_lblDrives);
    DDX_Control(pDX, IDC_BROWSE_DIRS_LABEL, m_lblDirs);
    DDX_Text(pDX, IDC_BROWSE_PATH, m_strPath, &m_bPathHeld);
}

bool CBrowsePath::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_strTitle.empty())
        SetText(m_strTitle);

    // The directory list takes the place of the template's plain list.
    HWND placeholder = GetDlgItem(IDC_BROWSE_DIRS);
    RECT rect = {0, 0, 0, 0};
    ::GetWindowRect(placeholder, &rect);
    ScreenToClientRect(m_hWnd, &rect);
    m_wndDirs.Create(kDirListStyle, rect, m_hWnd, IDC_BROWSE_DIRS, m_strInitialDir);
    ::DestroyWindow(placeholder);
    m_wndDirs.SetWindowPos(m_lblDirs, 0, 0, 0, 0, kTabOrderOnly);

    m_strPath = m_strInitialDir;

    // The drive list takes the place of the template's plain combo box,
    // with the same drop-down height.
    placeholder = GetDlgItem(IDC_BROWSE_DRIVES);
    rect = {0, 0, 0, 0};
    ::SendMessageW(placeholder, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
    ScreenToClientRect(m_hWnd, &rect);
    m_wndDrives.Create(kDriveListStyle, rect, m_hWnd, IDC_BROWSE_DRIVES);
    m_wndDrives.SelectDriveOf(m_wndDirs.GetDirectory());
    ::DestroyWindow(placeholder);
    m_wndDrives.SetWindowPos(m_lblDrives, 0, 0, 0, 0, kTabOrderOnly);

    UpdateData(false);
    return true;
}

bool CBrowsePath::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_BROWSE_DRIVES && code == CBN_SELENDOK) {
        OnSelendokDrives();
        return true;
    }
    if (id == IDC_BROWSE_DIRS && code == DLN_DIRCHANGED) {
        OnDirChanged();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CBrowsePath::OnSelendokDrives()
{
    m_wndDirs.SetDirectory(m_wndDrives.SelectedDrive(), true);
    std::string shown = m_wndDirs.GetDirectory();
    m_wndDrives.SelectDriveOf(shown);
    m_strPath = shown;
    UpdateData(false);
}

void CBrowsePath::OnDirChanged()
{
    m_strPath = m_wndDirs.GetDirectory();
    UpdateData(false);
}
