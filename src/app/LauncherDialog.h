// The launcher window: the program's only main window, a picture with six
// picture buttons. It keeps the installed state and runs each button's
// operation to its end inside the button's command.
#pragma once

#include "fw/Dialog.h"
#include "fw/Gdi.h"
#include "gfx/BitmapButton.h"
#include "gfx/PaletteBitmap.h"
#include "install/InstallState.h"
#include "install/OperationHost.h"

#include <string>

// Where the launcher goes on a screen of this size: its client area made
// 624 x 464 (the frame kept as it is) and the whole window centred, never
// beyond the top left corner. Returns the new window rectangle.
RECT LauncherPlacement(int screenWidth, int screenHeight, const RECT& client, const RECT& window);

// One operation at a time: while a button's operation runs (its questions
// and dialogs included), the launcher is disabled and ignores every command,
// whether it comes from a click, a queued BM_CLICK or a key.
class LauncherDialog : public CDialog, private OperationHost {
public:
    // The installation in hand belongs to the application; the launcher
    // keeps its target in step with the registry and hands it to the
    // operations.
    LauncherDialog(InstallState& state, HWND parent);

    // Re-reads the installed state from the registry, sets the target
    // directory and enables the uninstall, configuration and game buttons
    // accordingly.
    void RefreshInstallState() override;

    // The program starts (app/ProgramLaunch.cpp).
    void RunConfig() override;
    void RunGame() override;
    void RunIntro();

    // The window's title, as its template has it.
    static constexpr char kTitle[] = "Jex - Program instalacyjny";
    // Message boxes owned by this window carry this caption.
    static constexpr char kCaption[] = "Program Instalacyjny";
    int ShowMessage(const std::string& text, UINT type) override;
    int ShowAppMessage(const std::string& text, UINT type, HWND owner) override;

    static constexpr int kClientWidth = 624;
    static constexpr int kClientHeight = 464;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FitAndCentre();

    // Keyboard: the tab stops follow the buttons down the screen, going back
    // from the window itself starts at the bottom button, and Enter presses
    // the button that has the focus.
    void OrderTabStopsDownTheScreen();
    LRESULT OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDefId();

    // The rest of what the install and uninstall sequences need.
    HWND OwnerWindow() const override { return m_hWnd; }
    bool IsInstalled() const override { return m_bInstalled; }
    bool EnsureCd() override;

    // Runs one button's operation with the launcher disabled, then drops
    // whatever input queued up for the launcher meanwhile.
    void RunOperation(UINT id);

    InstallState& m_state;
    CIcon m_icon; // the window's, for as long as the window lives
    bool m_bBusy = false;
    bool m_bInstalled = false;
    std::string m_strProgramDir;
    std::string m_strProgramFile;
    BitmapButton m_btnCommands[5]; // 1002, 1010, 1011, 1012, 1013
    bool m_bFocusLatch = false;
    BitmapButton m_btnExit;
    PaletteBitmap m_bmpExit;
    PaletteBitmap m_bmpBackground;
    PaletteBitmap m_bmpIntro;
    PaletteBitmap m_bmpInstall;
    PaletteBitmap m_bmpUninstall;
    PaletteBitmap m_bmpGame;
    PaletteBitmap m_bmpConfig;
};
