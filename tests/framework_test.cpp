// The framework where it can break, and install.exe's manifest and version.
#include "fw/Afx.h"
#include "fw/Control.h"
#include "fw/Dialog.h"
#include "fw/WinApp.h"
#include "resource.h"
#include "support/Cp1250.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

namespace {

// A button that notes which item its parent passed back to it to draw.
class Noting : public COwnerDrawControl {
public:
    UINT drawnId = 0;
    void DrawItem(DRAWITEMSTRUCT* draw) override { drawnId = draw->CtlID; }
};

// The launcher's template with two owner-drawn buttons bound, one showing `label`.
class HostDialog : public CDialog {
public:
    explicit HostDialog(bool throws = false) : CDialog(IDD_LAUNCHER), throws(throws) {}
    Noting install, ok;
    std::string label = "Ala ma kota";
    const bool throws;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_INSTALL, install);
        DDX_Control(pDX, IDOK, ok);
        DDX_Text(pDX, IDOK, label);
    }
    bool OnInitDialog() override
    {
        if (throws)
            throw std::runtime_error("proba");
        return CDialog::OnInitDialog();
    }
};

struct Ending { const char* name; UINT key; INT_PTR result; };

class ModalDialog : public ::testing::TestWithParam<Ending> {};

TEST_P(ModalDialog, EndsThroughItsHandlerAndPassesItemMessagesOnTheWay)
{
    HostDialog dialog;
    EXPECT_EQ(GetParam().result, ui::RunModal(dialog, [&](HWND window) {
        // Drawn as the dialog shows, each button by its own object.
        EXPECT_TRUE(ui::WaitUntil([&] { return dialog.install.drawnId == IDC_INSTALL && dialog.ok.drawnId == IDOK; }, 5000));
        ui::PressKey(GetDlgItem(window, IDOK), GetParam().key);
        if (!ui::WaitForWindowGone(window, 5000))
            ui::ClickItem(window, IDOK); // else it is cancelled: one way or the other it ends
    }));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    // OK read the label back: the first exchange had put it there.
    EXPECT_EQ("Ala ma kota", dialog.label);
}

INSTANTIATE_TEST_SUITE_P(Framework, ModalDialog, ::testing::Values(Ending{"SpaceClicksOk", VK_SPACE, IDOK},
                                                                   Ending{"EscapeCancels", VK_ESCAPE, IDCANCEL}),
                         ui::RowName());

// Makes its child while it is being made, notes which object a child going away is still tied to; or throws.
class MakingWindow : public CWnd {
public:
    explicit MakingWindow(bool throws = false) : throws(throws) {}
    MakingWindow* child = nullptr;
    bool created = false;
    const bool throws;
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
        EXPECT_TRUE(inner.created && CWnd::FromHandle(inner.m_hWnd) == &inner);
    }
    // The object went first: its window was untied from it before it was destroyed.
    EXPECT_EQ(nullptr, outer.childAtDestroy);
}

TEST(Framework, MessageBoxOverAnOwnedWindowCarriesTheTitleAndDisablesItsTopLevelOwner)
{
    // A progress window owned by the launcher and active, as the copy and removal windows stand.
    CDialog launcher(IDD_LAUNCHER), progress(IDD_COPY_PROGRESS);
    ASSERT_TRUE(launcher.Create() && progress.Create(launcher));
    std::thread person([&, thread = GetCurrentThreadId()] {
        const ui::MessageBoxSeen box = ui::WaitForMessageBox(install_driver::kAppTitle);
        EXPECT_EQ(progress.m_hWnd, GetWindow(box.window, GW_OWNER));
        EXPECT_FALSE(launcher.IsWindowEnabled() || progress.IsWindowEnabled());
        if (!box.window || !ui::Answer(box.window, IDOK))
            ui::CancelWindowsOf(thread);
    });
    EXPECT_EQ(IDOK, AfxMessageBox("Czy zastąpić?", MB_OKCANCEL));
    person.join();
    EXPECT_TRUE(launcher.IsWindowEnabled() && progress.IsWindowEnabled());
}

// A handler of a dialog or of another window throws: nothing swallows it, the user is told and the program ends.
struct Thrower { const char* name; void (*run)(); };

class FrameworkDeathTest : public ::testing::TestWithParam<Thrower> {};

TEST_P(FrameworkDeathTest, ExceptionFromAHandlerIsReportedAndEndsTheProgram)
{
    EXPECT_EXIT({
        std::thread([thread = GetCurrentThreadId()] {
            std::fprintf(stderr, "box: %s\n", ui::WaitForMessageBox(install_driver::kAppTitle, 5000).text.c_str());
            ui::CancelWindowsOf(thread); // answers the box, or ends what is open when it was swallowed
        }).detach();
        GetParam().run();
    }, ::testing::ExitedWithCode(3), "box: Wyst.pi. nieoczekiwany b..d programu \\(proba\\)");
}

INSTANTIATE_TEST_SUITE_P(Framework, FrameworkDeathTest, ::testing::Values(
    Thrower{"InADialog", [] { HostDialog(true).DoModal(); }},
    Thrower{"InAWindow", [] { MakingWindow(true).CreateEx(0, "STATIC", "", WS_POPUP, {}, nullptr, 0); }}), ui::RowName());

TEST(Framework, ThreeDimensionalLookNeverLoadsAPlantedLibrary)
{
    const std::string dir = testenv::WindowsPathOf(testenv::BuildDirUnix() + "/tests"), beside = dir + "\\CTL3D32.DLL";
    ASSERT_TRUE(testenv::CopyFileOver(dir + "\\planted\\CTL3D32.DLL", beside));
    CWinApp app;
    app.Enable3dControls();
    // Wine puts its own library in place of a file it finds, under the file's name.
    EXPECT_EQ(nullptr, GetModuleHandleW(cp1250::Wide(beside).c_str()));
    testenv::RemoveFile(beside);
}

// The manifest asks for the administrator, changes nothing of the look and
// parses; the version resource names the program, in Polish in code page 1250.
TEST(ProgramIdentity, ManifestAndVersionReadBackFromInstallExe)
{
    const std::string bytes = testenv::ReadFileBytes(testenv::InstallExe());
    const std::wstring exe = cp1250::Wide(testenv::InstallExe());
    auto has = [&](const char* text) { return bytes.find(text) != std::string::npos; };
    EXPECT_TRUE(has("level=\"requireAdministrator\"") && !has("Common-Controls") && !has("dpiAware"));
    ACTCTXW context = {sizeof context, ACTCTX_FLAG_RESOURCE_NAME_VALID, exe.c_str(), 0, 0, nullptr,
                       MAKEINTRESOURCEW(1), nullptr, nullptr};
    HANDLE activation = CreateActCtxW(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, activation) << "the manifest does not parse";
    ReleaseActCtx(activation);

    std::vector<char> info(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(exe.c_str(), 0, info.size(), info.data()));
    auto value = [&](const std::string& path, bool text) { // a text as UTF-16, read back in code page 1250
        void* found = nullptr;
        UINT size = 0;
        if (!VerQueryValueW(info.data(), cp1250::Wide(path).c_str(), &found, &size))
            return std::string();
        return text ? cp1250::Narrow(static_cast<const wchar_t*>(found)) : std::string(static_cast<char*>(found), size);
    };
    // Polish (0x0415) in code page 1250 (0x04E2), and who and what the program is in it.
    EXPECT_EQ(std::string("\x15\x04\xE2\x04", 4), value("\\VarFileInfo\\Translation", false));
    std::string names;
    for (const char* name : {"CompanyName", "ProductName", "FileDescription"})
        names += value(std::string("\\StringFileInfo\\041504E2\\") + name, true) + "|";
    EXPECT_EQ("Kestrel Forge|Jex|Program instalacyjny|", names);
}

} // namespace
