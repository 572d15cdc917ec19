#include "app/LauncherDialog.h"

#include "app/CdLocator.h"
#include "app/ProgramLaunch.h"
#include "fw/Afx.h"
#include "install/InstallSequence.h"
#include "install/UninstallSequence.h"
#include "resource.h"

#include <algorithm>

namespace {

constexpr int kButtonLeft = 304;
constexpr int kCellWidth = 320;
constexpr int kCellHeight = 40;

// Slots of m_btnCommands.
enum { kInstall, kUninstall, kConfig, kGame, kIntro };

} // namespace

RECT LauncherPlacement(int screenWidth, int screenHeight, const RECT& client, const RECT& window)
{
    int growX = LauncherDialog::kClientWidth - (client.right - client.left);
    int growY = LauncherDialog::kClientHeight - (client.bottom - client.top);
    int outerWidth = window.right - window.left + growX;
    int outerHeight = window.bottom - window.top + growY;

    int x = screenWidth - outerWidth - 1;
    if (x < 0)
        x = 0;
    x /= 2;
    int y = screenHeight - outerHeight - 1;
    if (y < 0)
        y = 0;
    y /= 2;
    return {x, y, x + outerWidth, y + outerHeight};
}

LauncherDialog::LauncherDialog(InstallState& state, HWND parent)
    : CDialog(IDD_LAUNCHER, parent), m_state(state), m_icon(CIcon::Load(AfxGetInstanceHandle(), IDI_JEX))
{
}

int LauncherDialog::ShowMessage(const std::string& text, UINT type)
{
    return ShowMessageBox(m_hWnd, text, kCaption, type);
}

int LauncherDialog::ShowAppMessage(const std::string& text, UINT type, HWND owner)
{
    return AfxMessageBox(text, type, owner ? owner : m_hWnd);
}

bool LauncherDialog::OnInitDialog()
{
    SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOPMOST);
    CDialog::OnInitDialog();

    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(static_cast<HICON>(m_icon)));

    FitAndCentre();

    m_bmpBackground.LoadFromResource(IDB_BACKGROUND);
    m_bmpBackground.SetSourceRect({0, 0, kClientWidth - 1, kClientHeight - 1});

    struct Strip {
        PaletteBitmap* bitmap;
        UINT id;
    };
    const Strip strips[] = {
        {&m_bmpInstall, IDB_STRIP_INSTALL}, {&m_bmpUninstall, IDB_STRIP_UNINSTALL},
        {&m_bmpConfig, IDB_STRIP_CONFIG},   {&m_bmpGame, IDB_STRIP_GAME},
        {&m_bmpExit, IDB_STRIP_EXIT},       {&m_bmpIntro, IDB_STRIP_INTRO},
    };
    for (const Strip& strip : strips) {
        strip.bitmap->LoadFromResource(strip.id);
        strip.bitmap->SetCellSize(kCellWidth, kCellHeight);
    }

    struct Place {
        BitmapButton* button;
        UINT id;
        PaletteBitmap* strip;
        int top;
    };
    const Place places[] = {
        {&m_btnCommands[kInstall], IDC_INSTALL, &m_bmpInstall, 149},
        {&m_btnCommands[kUninstall], IDC_UNINSTALL, &m_bmpUninstall, 201},
        {&m_btnCommands[kConfig], IDC_CONFIG, &m_bmpConfig, 249},
        {&m_btnCommands[kGame], IDC_GAME, &m_bmpGame, 298},
        {&m_btnCommands[kIntro], IDC_INTRO, &m_bmpIntro, 101},
        {&m_btnExit, IDOK, &m_bmpExit, 377},
    };
    for (const Place& place : places) {
        if (place.button->Attach(place.id, m_hWnd, place.strip, 0))
            place.button->MoveTo(kButtonLeft, place.top);
    }
    OrderTabStopsDownTheScreen();

    RefreshInstallState();
    return true;
}

bool LauncherDialog::OnCommand(UINT id, UINT code, HWND control)
{
    // Inside an operation's questions every command waits for nothing: it
    // is dropped. So is a click on a button that is greyed out.
    if (m_bBusy || (control && !::IsWindowEnabled(control)))
        return true;
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_INTRO:
        case IDC_INSTALL:
        case IDC_UNINSTALL:
        case IDC_CONFIG:
        case IDC_GAME:
            RunOperation(id);
            return true;
        default:
            break;
        }
    }
    // Exit (IDOK) ends the run with 1; Esc and the close box (IDCANCEL) with 2.
    return CDialog::OnCommand(id, code, control);
}

void LauncherDialog::RunOperation(UINT id)
{
    m_bBusy = true;
    HWND focus = ::GetFocus();
    EnableWindow(FALSE);
    switch (id) {
    case IDC_INTRO:
        RunIntro();
        break;
    case IDC_INSTALL:
        RunInstall(m_state, *this);
        break;
    case IDC_UNINSTALL:
        RunUninstall(*this);
        break;
    case IDC_CONFIG:
        RunConfig();
        break;
    case IDC_GAME:
        RunGame();
        break;
    default:
        break;
    }
    // Clicks and keys that arrived while a started program was waited for
    // were meant for nothing that is on the screen now.
    MSG msg;
    while (PeekMessageW(&msg, m_hWnd, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
           PeekMessageW(&msg, m_hWnd, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
           PeekMessageW(&msg, m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE) ||
           PeekMessageW(&msg, m_hWnd, BM_CLICK, BM_CLICK, PM_REMOVE)) {
    }
    m_bBusy = false;
    EnableWindow(TRUE);
    // The focus goes back where it was, or, when the refresh has greyed that
    // button, to the first live one down the screen.
    if (!focus || !::IsWindowEnabled(focus) || (focus != m_hWnd && !::IsChild(m_hWnd, focus)))
        focus = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    ::SetFocus(focus);
}

bool LauncherDialog::EnsureCd()
{
    while (m_state.CdLetter == '\0') {
        if (ShowMessage("Nie można odnaleźć CD-ROM'u - JEX", MB_RETRYCANCEL | MB_ICONQUESTION) != IDRETRY)
            return false;
        m_state.CdLetter = LocateCd();
    }
    return true;
}

LRESULT LauncherDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        CPaintDC dc(m_hWnd);
        m_bmpBackground.Draw(dc, {0, 0, 639, 479}, 0, 0);
        return TRUE;
    }
    case WM_SIZE:
        DefWindowProcW(m_hWnd, msg, wParam, lParam);
        // Any other size is undone, and the window goes back to the centre.
        if (wParam != SIZE_MINIMIZED && wParam != SIZE_MAXHIDE)
            FitAndCentre();
        return TRUE;
    case WM_MOUSEMOVE:
        // The pointer is over the background, not over a button: taking the
        // focus here ends the highlight of the button that had it.
        if (PointerMoved(m_hWnd, lParam) && !m_bFocusLatch) {
            m_bFocusLatch = true;
            SetFocus();
        }
        return TRUE;
    case WM_KILLFOCUS:
        m_bFocusLatch = false;
        return FALSE;
    case WM_ENABLE:
        // A question that ends gives its owner back its input, whatever the
        // owner was before; during an operation the launcher stays disabled.
        if (wParam && m_bBusy)
            EnableWindow(FALSE);
        return TRUE;
    case WM_SETFOCUS:
        // The pointer over the background took the focus: it stays on the
        // window, so no button shows it. Otherwise the dialog passes it on.
        return m_bFocusLatch;
    case WM_NEXTDLGCTL:
        return OnNextDlgCtl(wParam, lParam);
    case DM_GETDEFID:
        return OnGetDefId();
    default:
        return CDialog::WindowProc(msg, wParam, lParam);
    }
}

void LauncherDialog::OrderTabStopsDownTheScreen()
{
    // Tab and the arrow keys go through the buttons in the order of the
    // window's children, which is the template's: make it the screen's.
    HWND buttons[] = {m_btnCommands[kInstall], m_btnCommands[kUninstall], m_btnCommands[kConfig],
                      m_btnCommands[kGame],    m_btnCommands[kIntro],     m_btnExit};
    auto top = [](HWND button) {
        RECT rect = {0, 0, 0, 0};
        ::GetWindowRect(button, &rect);
        return rect.top;
    };
    std::stable_sort(std::begin(buttons), std::end(buttons),
                     [&](HWND a, HWND b) { return top(a) < top(b); });
    HWND after = HWND_TOP;
    for (HWND button : buttons) {
        if (!button)
            continue;
        ::SetWindowPos(button, after, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        after = button;
    }
}

LRESULT LauncherDialog::OnNextDlgCtl(WPARAM wParam, LPARAM lParam)
{
    // From the window itself the dialog finds no button before the focus
    // (Shift+Tab, or an arrow up or left): go round to the bottom one.
    bool back = lParam ? wParam == 0 : wParam != 0;
    if (::GetFocus() != m_hWnd || !back)
        return FALSE;
    HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (HWND last = ::GetNextDlgTabItem(m_hWnd, first, TRUE))
        ::SetFocus(last);
    return TRUE;
}

LRESULT LauncherDialog::OnGetDefId()
{
    // Enter presses the focused button. With the focus on the window itself
    // the dialog's own answer stands: no default, so Enter means Exit.
    HWND focus = ::GetFocus();
    if (!focus || ::GetParent(focus) != m_hWnd)
        return FALSE;
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, MAKELONG(::GetDlgCtrlID(focus), DC_HASDEFID));
    return TRUE;
}

void LauncherDialog::FitAndCentre()
{
    RECT client, window;
    GetClientRect(&client);
    GetWindowRect(&window);
    RECT placed = LauncherPlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                    client, window);
    SetWindowPos(HWND_TOP, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, 0);
}

void LauncherDialog::RefreshInstallState()
{
    m_bInstalled = ReadGameLocation(m_strProgramDir, m_strProgramFile);
    m_state.InstallPath = m_strProgramDir;

    m_btnCommands[kUninstall].EnableWindow(m_bInstalled);
    m_btnCommands[kConfig].EnableWindow(m_bInstalled);
    m_btnCommands[kGame].EnableWindow(m_bInstalled);
}
