// The framework layer where it can break: dialogs from templates, modal and
// modeless, commands reaching their handlers, owner-draw messages reaching
// the control objects, the application message box, the creation hook and
// the three-dimensional look's library search.
#include "fw/Afx.h"
#include "fw/Button.h"
#include "fw/Dialog.h"
#include "fw/ListBox.h"
#include "fw/Static.h"
#include "fw/WinApp.h"
#include "resource.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT WM_TEST_STEP = WM_APP + 1;

// The overwrite question's template: presses its own "Tak" button once it
// runs and records the command.
class ClickingDialog : public CDialog {
public:
    ClickingDialog() : CDialog(IDD_OVERWRITE) {}

    std::vector<UINT> commands;
    std::string message = "Ala ma kota";
    std::string messageSeen;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_OVERWRITE_MESSAGE, m_lblMessage);
        DDX_Text(pDX, IDC_OVERWRITE_MESSAGE, message);
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::PostMessageA(GetDlgItem(IDC_OVERWRITE_YES), BM_CLICK, 0, 0);
        return true;
    }
    bool OnCommand(UINT id, UINT code, HWND control) override
    {
        if (id == IDC_OVERWRITE_YES && code == BN_CLICKED) {
            commands.push_back(id);
            messageSeen = m_lblMessage.Text();
            EndDialog(42);
            return true;
        }
        return CDialog::OnCommand(id, code, control);
    }

private:
    CStatic m_lblMessage;
};

TEST(Framework, ModalDialogRoutesACommandToItsHandler)
{
    ClickingDialog dialog;
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_EQ(std::vector<UINT>{IDC_OVERWRITE_YES}, dialog.commands);
    // The first exchange put the member into the bound control.
    EXPECT_EQ("Ala ma kota", dialog.messageSeen);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(Framework, EscapeEndsAModalDialogThroughOnCancel)
{
    class EscapedDialog : public CDialog {
    public:
        EscapedDialog() : CDialog(IDD_OVERWRITE) {}

    protected:
        bool OnInitDialog() override
        {
            CDialog::OnInitDialog();
            ui::PressKey(GetDlgItem(IDC_OVERWRITE_YES), VK_ESCAPE);
            return true;
        }
    } dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST(Framework, ModelessDialogShowsFromItsTemplateAndGoesOnDestroy)
{
    CDialog dialog(IDD_COPY_PROGRESS);
    ASSERT_TRUE(dialog.Create(nullptr));
    ASSERT_NE(nullptr, dialog.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(dialog.m_hWnd));
    EXPECT_EQ("Kopiowanie plików", dialog.Text());
    EXPECT_EQ("Nazwa kopiowanego pliku", ui::GetItemText(dialog.m_hWnd, IDC_COPY_FILE_NAME));
    EXPECT_FALSE(IsWindowVisible(dialog.GetDlgItem(IDCANCEL)));
    HWND window = dialog.m_hWnd;
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

class CountingButton : public CButton {
public:
    int draws = 0;
    UINT lastId = 0;
    void DrawItem(DRAWITEMSTRUCT* draw) override
    {
        ++draws;
        lastId = draw->CtlID;
        FillRect(draw->hDC, &draw->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
};

// The launcher's template: owner-drawn buttons.
class OwnerDrawDialog : public CDialog {
public:
    OwnerDrawDialog() : CDialog(IDD_LAUNCHER) {}
    CountingButton install;
    CountingButton exitButton;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_INSTALL, install);
        DDX_Control(pDX, IDOK, exitButton);
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        Post(WM_TEST_STEP);
        return true;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_TEST_STEP) {
            RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            EndDialog(IDOK);
            return true;
        }
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

TEST(Framework, OwnerDrawReachesTheBoundControlObject)
{
    OwnerDrawDialog dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_GT(dialog.install.draws, 0);
    EXPECT_EQ(static_cast<UINT>(IDC_INSTALL), dialog.install.lastId);
    EXPECT_GT(dialog.exitButton.draws, 0);
    EXPECT_EQ(static_cast<UINT>(IDOK), dialog.exitButton.lastId);
}

// A sorted owner-drawn list without strings, created by the program: the
// creation hook must tie it before WM_CREATE, and the dialog must pass the
// comparisons and deletions to it.
class RecordingList : public CListBox {
public:
    bool sawCreate = false;
    int compares = 0;
    std::vector<LPARAM> deleted;

    int CompareItem(COMPAREITEMSTRUCT* compare) override
    {
        ++compares;
        return compare->itemData1 < compare->itemData2 ? -1 : compare->itemData1 > compare->itemData2 ? 1 : 0;
    }
    void DeleteItem(DELETEITEMSTRUCT* del) override { deleted.push_back(static_cast<LPARAM>(del->itemData)); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_CREATE)
            sawCreate = true;
        return CListBox::WindowProc(msg, wParam, lParam);
    }
};

class ListHostDialog : public CDialog {
public:
    ListHostDialog() : CDialog(IDD_OVERWRITE) {}
    RecordingList list;
    std::vector<LPARAM> order;
    bool created = false;

protected:
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        RECT rect = {0, 0, 100, 100};
        created = list.CreateEx(0, "LISTBOX", "",
                                WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_SORT | LBS_NOTIFY,
                                rect, m_hWnd, 4242);
        for (LPARAM value : {30, 10, 20})
            list.AddString(value);
        for (int i = 0; i < list.GetCount(); ++i)
            order.push_back(list.GetItemData(i));
        list.DestroyWindow();
        EndDialog(IDOK);
        return true;
    }
};

TEST(Framework, CreatedControlGetsItsCreationAndReflectedItemMessages)
{
    ListHostDialog dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(dialog.created);
    EXPECT_TRUE(dialog.list.sawCreate);
    EXPECT_GT(dialog.list.compares, 0);
    EXPECT_EQ((std::vector<LPARAM>{10, 20, 30}), dialog.order);
    EXPECT_EQ(3u, dialog.list.deleted.size());
    EXPECT_EQ(nullptr, dialog.list.m_hWnd);
}

TEST(Framework, MessageBoxCarriesTheApplicationTitle)
{
    EXPECT_STREQ("Program instalacyjny", AfxGetAppTitle());
    ui::MessageBoxSeen seen;
    std::thread answer([&] { seen = ui::AnswerMessageBox("Program instalacyjny", IDNO); });
    int result = AfxMessageBox("Czy zastąpić?", MB_YESNO | MB_ICONQUESTION);
    answer.join();
    EXPECT_EQ(IDNO, result);
    ASSERT_NE(nullptr, seen.window) << "no message box captioned \"Program instalacyjny\"";
    EXPECT_EQ("Czy zastąpić?", seen.text);
}

TEST(Framework, MessageBoxOverAnOwnedWindowDisablesItsTopLevelOwnerToo)
{
    // A main window and a progress window it owns, the latter active: the
    // way the copy and removal windows stand over the launcher.
    CDialog main(IDD_OVERWRITE);
    ASSERT_TRUE(main.Create(nullptr));
    main.ShowWindow(SW_SHOW);
    CDialog progress(IDD_COPY_PROGRESS);
    ASSERT_TRUE(progress.Create(main.m_hWnd));
    SetActiveWindow(progress.m_hWnd);
    ASSERT_EQ(progress.m_hWnd, GetActiveWindow());

    bool mainEnabledDuringBox = true;
    bool progressEnabledDuringBox = true;
    HWND boxOwner = nullptr;
    ui::MessageBoxSeen seen;
    std::thread answer([&] {
        seen = ui::WaitForMessageBox("Program instalacyjny");
        mainEnabledDuringBox = IsWindowEnabled(main.m_hWnd) != FALSE;
        progressEnabledDuringBox = IsWindowEnabled(progress.m_hWnd) != FALSE;
        boxOwner = GetWindow(seen.window, GW_OWNER);
        if (seen.window)
            ui::ClickItem(seen.window, IDOK);
    });
    AfxMessageBox("Błąd", MB_OK | MB_ICONSTOP);
    answer.join();

    ASSERT_NE(nullptr, seen.window);
    EXPECT_EQ(progress.m_hWnd, boxOwner);
    EXPECT_FALSE(progressEnabledDuringBox);
    EXPECT_FALSE(mainEnabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(progress.m_hWnd));
}

std::string ModuleDir()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

// A handler that throws: nothing may swallow it, the user is told and the
// program ends.
class ThrowingDialog : public CDialog {
public:
    ThrowingDialog() : CDialog(IDD_OVERWRITE) {}

protected:
    bool OnInitDialog() override { throw std::runtime_error("proba"); }
};

TEST(FrameworkDeathTest, ExceptionFromAHandlerIsReportedAndEndsTheProgram)
{
    EXPECT_EXIT(
        {
            std::thread person([] {
                ui::MessageBoxSeen box = ui::WaitForMessageBox("Program instalacyjny", 5000);
                if (!box.window) {
                    // Swallowed: the dialog goes on as if nothing happened.
                    PostMessageA(ui::FindTopWindow("Kopiowanie plików"), WM_COMMAND, IDCANCEL, 0);
                    return;
                }
                std::fprintf(stderr, "box: %s\n", box.text.c_str());
                ui::ClickItem(box.window, IDOK);
            });
            person.detach();
            ThrowingDialog dialog;
            dialog.DoModal();
        },
        ::testing::ExitedWithCode(3), "box: Wyst.pi. nieoczekiwany b..d programu \\(proba\\)");
}

TEST(Framework, ThreeDimensionalLookNeverLoadsAPlantedLibrary)
{
    const std::string marker = "C:\\jextest-planted-dll-loaded";
    DeleteFileA(marker.c_str());
    const std::string planted = ModuleDir() + "\\planted\\CTL3D32.DLL";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(planted.c_str())) << planted;
    // Beside the program and in the current directory.
    const std::string besideProgram = ModuleDir() + "\\CTL3D32.DLL";
    ASSERT_TRUE(CopyFileA(planted.c_str(), besideProgram.c_str(), FALSE));
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA((ModuleDir() + "\\planted").c_str());

    {
        CWinApp app;
        app.m_hInstance = GetModuleHandleA(nullptr);
        app.Enable3dControls();
        HMODULE loaded = GetModuleHandleA("CTL3D32.DLL");
        if (loaded) {
            char path[MAX_PATH] = "";
            GetModuleFileNameA(loaded, path, MAX_PATH);
            char system[MAX_PATH] = "";
            GetSystemDirectoryA(system, MAX_PATH);
            EXPECT_EQ(0, _strnicmp(path, system, strlen(system))) << path;
        }
    }

    SetCurrentDirectoryA(current);
    DeleteFileA(besideProgram.c_str());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(marker.c_str()))
        << "the planted library was loaded";
    DeleteFileA(marker.c_str());
}

} // namespace
