// The framework where it can break: dialogs, messages reaching the objects of
// their windows, windows made inside the making of others, the message box, an
// escaped exception, the 3-D look's library; and install.exe's manifest and version.
#include "fw/Afx.h"
#include "fw/Button.h"
#include "fw/Dialog.h"
#include "fw/ListBox.h"
#include "fw/WinApp.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

class DrawnButton : public CButton {
public:
    UINT drawnId = 0;
    void DrawItem(DRAWITEMSTRUCT* draw) override { drawnId = draw->CtlID; }
};

// Owner-drawn without strings and sorted: the parent passes the comparisons and deletions on.
class SortedList : public CListBox {
public:
    size_t deleted = 0;
    int CompareItem(COMPAREITEMSTRUCT* c) override { return static_cast<int>(c->itemData1 - c->itemData2); }
    void DeleteItem(DELETEITEMSTRUCT*) override { ++deleted; }
};

// The launcher's template with two of its owner-drawn buttons bound, one of
// them showing `label`, and a list made by the program.
class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_LAUNCHER) {}
    DrawnButton install, exitButton;
    SortedList list;
    std::vector<LPARAM> order;
    std::string label = "Ala ma kota";

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_INSTALL, install);
        DDX_Control(pDX, IDOK, exitButton);
        DDX_Text(pDX, IDOK, label);
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        list.CreateEx(0, "LISTBOX", "", WS_CHILD | LBS_OWNERDRAWFIXED | LBS_SORT, {0, 0, 99, 99}, m_hWnd, 4242);
        for (LPARAM value : {30, 10, 20})
            list.AddString(value);
        order = {list.GetItemData(0), list.GetItemData(1), list.GetItemData(2)};
        list.DestroyWindow();
        ShowWindow(SW_SHOW);
        UpdateWindow(m_hWnd);
        return true;
    }
};

struct Ending { const char* name; UINT key; INT_PTR result; };

class ModalDialog : public ::testing::TestWithParam<Ending> {};

TEST_P(ModalDialog, EndsThroughItsHandlerAndPassesItemMessagesOnTheWay)
{
    HostDialog dialog;
    const INT_PTR result = ui::RunModal(dialog, [](HWND window) {
        ui::PressKey(GetDlgItem(window, IDOK), GetParam().key);
        if (!ui::WaitForWindowGone(window, 5000))
            ui::ClickItem(window, IDOK); // else it is cancelled: one way or the other it ends
    });
    EXPECT_EQ(GetParam().result, result);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    // OK read the label back: the first exchange had put it there.
    EXPECT_EQ("Ala ma kota", dialog.label);
    EXPECT_EQ(UINT{IDC_INSTALL}, dialog.install.drawnId);
    EXPECT_EQ(UINT{IDOK}, dialog.exitButton.drawnId);
    EXPECT_EQ((std::vector<LPARAM>{10, 20, 30}), dialog.order);
    EXPECT_EQ(3u, dialog.list.deleted);
}

INSTANTIATE_TEST_SUITE_P(Framework, ModalDialog,
                         ::testing::Values(Ending{"SpaceClicksOk", VK_SPACE, IDOK},
                                           Ending{"EscapeCancels", VK_ESCAPE, IDCANCEL}),
                         [](const auto& info) { return std::string(info.param.name); });

// A window that makes its child while it is being made, and notes which
// object a child going away is still tied to.
class MakingWindow : public CWnd {
public:
    MakingWindow* child = nullptr;
    bool created = false, throws = false;
    CWnd* childAtDestroy = this; // until a child goes

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (throws)
            throw std::runtime_error("proba");
        created |= msg == WM_CREATE;
        if (msg == WM_CREATE && child && !child->CreateEx(0, "STATIC", "", WS_CHILD, {0, 0, 9, 9}, m_hWnd, 1))
            return -1;
        if (msg == WM_PARENTNOTIFY && LOWORD(wParam) == WM_DESTROY)
            childAtDestroy = FromHandle(reinterpret_cast<HWND>(lParam));
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

TEST(Framework, WindowMadeWhileAnotherIsMadeIsTiedToItsOwnObject)
{
    MakingWindow outer;
    {
        MakingWindow inner;
        outer.child = &inner;
        ASSERT_TRUE(outer.CreateEx(0, "STATIC", "", WS_POPUP, {0, 0, 50, 50}, nullptr, 0));
        EXPECT_TRUE(inner.created);
        EXPECT_EQ(&inner, CWnd::FromHandle(inner.m_hWnd));
    }
    // The object went first: its window was untied from it before it was destroyed.
    EXPECT_EQ(nullptr, outer.childAtDestroy);
    outer.DestroyWindow();
}

TEST(Framework, MessageBoxOverAnOwnedWindowCarriesTheTitleAndDisablesItsTopLevelOwner)
{
    // A progress window owned by the launcher and active, as the copy and removal windows stand.
    CDialog launcher(IDD_LAUNCHER), progress(IDD_COPY_PROGRESS);
    ASSERT_TRUE(launcher.Create() && progress.Create(launcher));
    SetActiveWindow(progress);
    std::vector<bool> enabledDuringBox;
    HWND owner = nullptr;
    ui::MessageBoxSeen box;
    std::thread person([&, thread = GetCurrentThreadId()] {
        box = ui::WaitForMessageBox(install_driver::kAppTitle);
        enabledDuringBox = {launcher.IsWindowEnabled(), progress.IsWindowEnabled()};
        owner = GetWindow(box.window, GW_OWNER);
        if (!box.window || !ui::ClickItem(box.window, IDOK))
            ui::CancelWindowsOf(thread);
    });
    EXPECT_EQ(IDOK, AfxMessageBox("Czy zastąpić?", MB_OKCANCEL));
    person.join();
    EXPECT_EQ("Czy zastąpić?", box.text);
    EXPECT_EQ(progress.m_hWnd, owner);
    EXPECT_EQ((std::vector<bool>{false, false}), enabledDuringBox);
    EXPECT_TRUE(launcher.IsWindowEnabled() && progress.IsWindowEnabled());
    // A modeless dialog's object lets go of its window when it ends.
    EXPECT_TRUE(progress.DestroyWindow());
    EXPECT_EQ(nullptr, progress.m_hWnd);
}

class ThrowingDialog : public CDialog {
public:
    ThrowingDialog() : CDialog(IDD_OVERWRITE) {}

protected:
    bool OnInitDialog() override { throw std::runtime_error("proba"); }
};

// A handler of a dialog or of another window that throws: nothing may swallow
// it, the user is told and the program ends.
struct Thrower { const char* name; void (*run)(); };

class FrameworkDeathTest : public ::testing::TestWithParam<Thrower> {};

TEST_P(FrameworkDeathTest, ExceptionFromAHandlerIsReportedAndEndsTheProgram)
{
    EXPECT_EXIT(
        {
            std::thread([thread = GetCurrentThreadId()] {
                const ui::MessageBoxSeen box = ui::WaitForMessageBox(install_driver::kAppTitle, 5000);
                std::fprintf(stderr, "box: %s\n", box.text.c_str());
                if (!box.window || !ui::ClickItem(box.window, IDOK))
                    ui::CancelWindowsOf(thread); // swallowed: end what is open
            }).detach();
            GetParam().run();
        },
        ::testing::ExitedWithCode(3), "box: Wyst.pi. nieoczekiwany b..d programu \\(proba\\)");
}

INSTANTIATE_TEST_SUITE_P(Framework, FrameworkDeathTest,
                         ::testing::Values(Thrower{"InADialog", [] { ThrowingDialog().DoModal(); }},
                                           Thrower{"InAWindow", [] {
                                               MakingWindow window;
                                               window.throws = true;
                                               window.CreateEx(0, "STATIC", "", WS_POPUP, {}, nullptr, 0);
                                           }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Framework, ThreeDimensionalLookNeverLoadsAPlantedLibrary)
{
    char path[MAX_PATH] = "", loaded[MAX_PATH] = "", system[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string dir = std::string(path).substr(0, std::string(path).find_last_of('\\'));
    const std::string beside = dir + "\\CTL3D32.DLL";
    // Planted beside the program and in the current directory.
    ASSERT_TRUE(CopyFileA((dir + "\\planted\\CTL3D32.DLL").c_str(), beside.c_str(), FALSE));
    GetCurrentDirectoryA(MAX_PATH, path);
    SetCurrentDirectoryA((dir + "\\planted").c_str());
    {
        CWinApp app;
        app.Enable3dControls();
        // Whatever was loaded came from the system directory (Wine puts its own
        // library in place of a file it finds, under the file's name).
        if (HMODULE module = GetModuleHandleA("CTL3D32.DLL"))
            GetModuleFileNameA(module, loaded, MAX_PATH);
    }
    SetCurrentDirectoryA(path);
    DeleteFileA(beside.c_str());
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(!*loaded || _strnicmp(loaded, system, strlen(system)) == 0) << loaded;
}

// The manifest asks for the administrator, changes nothing of the look and
// parses; the version resource is Polish in code page 1250 and its numbers agree.
TEST(ProgramIdentity, ManifestAndVersionReadBackFromInstallExe)
{
    const std::string exe = testenv::InstallExe();
    std::string manifest;
    if (HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)))
            manifest.assign(static_cast<const char*>(LockResource(LoadResource(module, found))),
                            SizeofResource(module, found));
        FreeLibrary(module);
    }
    EXPECT_NE(std::string::npos, manifest.find("<requestedExecutionLevel level=\"requireAdministrator\""));
    EXPECT_EQ(std::string::npos, manifest.find("Common-Controls"));
    EXPECT_EQ(std::string::npos, manifest.find("dpiAware"));
    ACTCTXA context = {sizeof context, ACTCTX_FLAG_RESOURCE_NAME_VALID, exe.c_str(), 0, 0, nullptr,
                       MAKEINTRESOURCEA(1), nullptr, nullptr};
    HANDLE activation = CreateActCtxA(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, activation) << "the manifest does not parse";
    ReleaseActCtx(activation);

    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), nullptr));
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(exe.c_str(), 0, info.size(), info.data()));
    auto value = [&](const std::string& path) {
        char* bytes = nullptr;
        UINT size = 0;
        return VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&bytes), &size)
                   ? std::string(bytes, size) : std::string();
    };
    const DWORD polish = MAKELONG(0x0415, 1250);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&polish), 4), value("\\VarFileInfo\\Translation"));
    const std::string strings = "\\StringFileInfo\\041504E2\\";
    EXPECT_STREQ(install_driver::kAppTitle, value(strings + "FileDescription").c_str());
    const std::string fixedBytes = value("\\");
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), fixedBytes.size());
    const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(fixedBytes.data());
    char number[32];
    std::snprintf(number, sizeof number, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    EXPECT_NE("0.0.0.0", std::string(number)) << "no version number";
    EXPECT_STREQ(number, value(strings + "FileVersion").c_str());
    EXPECT_STREQ(number, value(strings + "ProductVersion").c_str());
}

} // namespace
