// The overwrite question on its own and the copy engine's standing answers,
// in this process, answered from a second thread as a person would.
#include "app/Globals.h"
#include "dirpick_testing.h"
#include "install/CopyProgressDialog.h"
#include "install/InstallManifest.h"
#include "install/OverwriteDialog.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using dirpick_testing::WaitUntil;

namespace {

// Presses a button of the question, or Escape (0) on its focused first button.
void Press(HWND question, int button)
{
    if (button)
        ui::ClickItem(question, button);
    else
        ui::PressKey(GetDlgItem(question, IDC_OVERWRITE_YES), VK_ESCAPE);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs the question for `path` while `person` answers it from another
// thread. Returns the answer and the message shown.
std::pair<int32_t, std::string> AskAnswering(const std::string& path,
                                             const std::function<void(HWND)>& person)
{
    std::string message;
    std::thread thread([&] {
        HWND question = install_driver::WaitForOverwriteQuestion();
        if (!question)
            return;
        message = ui::GetItemText(question, IDC_OVERWRITE_MESSAGE);
        person(question);
    });
    OverwriteDialog dialog(path.c_str());
    dialog.DoModal();
    thread.join();
    return {dialog.m_nAnswer, message};
}

// Runs the question for `path` and presses `button` on it (0: Escape).
std::pair<int32_t, std::string> Ask(const std::string& path, int button)
{
    return AskAnswering(path, [button](HWND question) { Press(question, button); });
}

// The answer buttons that show the default frame.
std::vector<int> FramedButtons(HWND question)
{
    std::vector<int> framed;
    for (int id : {IDC_OVERWRITE_YES, IDC_OVERWRITE_YES_ALL, IDC_OVERWRITE_NO, IDC_OVERWRITE_NO_ALL}) {
        LONG style = GetWindowLongA(GetDlgItem(question, id), GWL_STYLE);
        if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            framed.push_back(id);
    }
    return framed;
}

int FocusedId(HWND question)
{
    return GetDlgCtrlID(ui::FocusedWindow(question));
}

TEST(OverwriteDialog, EachButtonGivesItsAnswerAndEscapeGivesNo)
{
    const std::string path = "C:\\Gry\\Jex\\DATA\\SFX.DAT";
    const std::pair<int, int32_t> cases[] = {
        {IDC_OVERWRITE_YES, Yes},
        {IDC_OVERWRITE_YES_ALL, YesToAll},
        {IDC_OVERWRITE_NO, No},
        {IDC_OVERWRITE_NO_ALL, NoToAll},
    };
    for (const auto& [button, answer] : cases) {
        auto [given, message] = Ask(path, button);
        EXPECT_EQ(answer, given) << "button " << button;
        EXPECT_EQ("Plik o nazwie 'C:\\Gry\\Jex\\DATA\\SFX.DAT' już istnieje.", message);
    }
    EXPECT_EQ(No, Ask(path, 0).first);
}

TEST(OverwriteDialog, EnterAnswersTheFocusedButtonWhichAloneShowsTheDefaultFrame)
{
    const std::string path = "C:\\Gry\\Jex\\DATA\\SFX.DAT";
    // What the person saw before pressing Enter.
    bool questionShown = false, focused = false;
    std::vector<int> framed;

    // Enter at once: "Tak" has the focus and the frame.
    int32_t given = AskAnswering(path, [&](HWND question) {
        questionShown = ui::FindChildByText(question, "Czy zastąpić istniejący plik?") != nullptr;
        focused = WaitUntil([&] { return FocusedId(question) == IDC_OVERWRITE_YES; });
        framed = FramedButtons(question);
        ui::TypeKey(question, VK_RETURN);
    }).first;
    EXPECT_TRUE(questionShown);
    EXPECT_TRUE(focused);
    EXPECT_EQ(std::vector<int>{IDC_OVERWRITE_YES}, framed);
    EXPECT_EQ(Yes, given);

    // Two tabs in the template's order reach "Nie"; the frame goes with the focus.
    given = AskAnswering(path, [&](HWND question) {
        ui::TypeKey(question, VK_TAB);
        ui::TypeKey(question, VK_TAB);
        focused = WaitUntil([&] { return FocusedId(question) == IDC_OVERWRITE_NO; });
        framed = FramedButtons(question);
        ui::TypeKey(question, VK_RETURN);
    }).first;
    EXPECT_TRUE(focused);
    EXPECT_EQ(std::vector<int>{IDC_OVERWRITE_NO}, framed);
    EXPECT_EQ(No, given);
}

TEST(OverwriteDialog, LongPathIsShownWhole)
{
    std::string path = "C:";
    while (path.size() < 400)
        path += "\\katalog";
    path += "\\KONIEC.DAT";
    auto [given, message] = Ask(path, IDC_OVERWRITE_NO);
    EXPECT_EQ(No, given);
    EXPECT_EQ("Plik o nazwie '" + path + "' już istnieje.", message);
}

class StandingAnswerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_source = testenv::ScratchDir("overwrite-source");
        m_dest = testenv::ScratchDir("overwrite-dest");
        m_sourceRoot = m_source + "\\";
        for (const char* name : {"A.DAT", "B.DAT", "C.DAT"}) {
            WriteFile(m_sourceRoot + name, std::string(3000, 'n'));
            WriteFile(m_dest + "\\" + name, "old");
        }
        m_savedFull = FullInstall;
        FullInstall = 0;
    }
    void TearDown() override
    {
        FullInstall = m_savedFull;
        testenv::RemoveTree(m_source);
        testenv::RemoveTree(m_dest);
    }

    // Copies the three files, pressing `button` (0: Escape) on every
    // question that comes; returns how many came.
    int CopyAnswering(CopyProgressDialog& engine, int button)
    {
        static const char* const table[] = {"A.DAT", "B.DAT", "C.DAT", nullptr};
        int asked = 0;
        std::atomic<bool> done = false;
        std::thread person([&] {
            while (!done) {
                if (HWND question = install_driver::WaitForOverwriteQuestion(200)) {
                    ++asked;
                    Press(question, button);
                    ui::WaitForWindowGone(question);
                }
            }
        });
        EXPECT_TRUE(engine.CopyFiles(table));
        done = true;
        person.join();
        return asked;
    }

    std::string Dest(const char* name) { return testenv::ReadFileBytes(m_dest + "\\" + name); }

    std::string m_source, m_dest, m_sourceRoot;
    int32_t m_savedFull = 0;
};

TEST_F(StandingAnswerTest, YesToAllReplacesTheRestWithoutAsking)
{
    CopyProgressDialog engine(m_dest.c_str(), m_sourceRoot.c_str(), nullptr);
    ASSERT_TRUE(engine.Create(nullptr));
    EXPECT_EQ(1, CopyAnswering(engine, IDC_OVERWRITE_YES_ALL));
    for (const char* name : {"A.DAT", "B.DAT", "C.DAT"})
        EXPECT_EQ(std::string(3000, 'n'), Dest(name)) << name;
    EXPECT_EQ(9000, engine.m_nTotalDone);
}

TEST_F(StandingAnswerTest, NoToAllKeepsTheRestAndCountsThemAsDone)
{
    CopyProgressDialog engine(m_dest.c_str(), m_sourceRoot.c_str(), nullptr);
    ASSERT_TRUE(engine.Create(nullptr));
    EXPECT_EQ(1, CopyAnswering(engine, IDC_OVERWRITE_NO_ALL));
    for (const char* name : {"A.DAT", "B.DAT", "C.DAT"})
        EXPECT_EQ("old", Dest(name)) << name;
    // Kept files count with their source's full size.
    EXPECT_EQ(9000, engine.m_nTotalDone);
}

TEST_F(StandingAnswerTest, KeptFileMovesTheOverallBarOn)
{
    CopyProgressDialog engine(m_dest.c_str(), m_sourceRoot.c_str(), nullptr);
    ASSERT_TRUE(engine.Create(nullptr));
    engine.m_nOverwriteMode = NoToAll;
    // Just short of the total: the kept file's bytes complete the bar.
    engine.m_nTotalDone = static_cast<int32_t>(PartialInstallBytes) - 3000;
    HWND fileBar = GetDlgItem(engine, IDC_COPY_FILE_BAR);
    SendMessageA(fileBar, PBM_SETPOS, 37, 0);
    const std::string dest = m_dest + "\\A.DAT";
    const std::string source = m_sourceRoot + "A.DAT";
    EXPECT_TRUE(engine.CopyOneFile(dest.c_str(), source.c_str()));
    EXPECT_EQ("old", Dest("A.DAT"));
    EXPECT_EQ(static_cast<int32_t>(PartialInstallBytes), engine.m_nTotalDone);
    EXPECT_EQ(100, SendDlgItemMessageA(engine, IDC_COPY_OVERALL_BAR, PBM_GETPOS, 0, 0));
    // The file bar keeps what it showed.
    EXPECT_EQ(37, SendMessageA(fileBar, PBM_GETPOS, 0, 0));
}

TEST_F(StandingAnswerTest, EscapeKeepsOneFileAndAsksAgain)
{
    CopyProgressDialog engine(m_dest.c_str(), m_sourceRoot.c_str(), nullptr);
    ASSERT_TRUE(engine.Create(nullptr));
    EXPECT_EQ(3, CopyAnswering(engine, 0));
    for (const char* name : {"A.DAT", "B.DAT", "C.DAT"})
        EXPECT_EQ("old", Dest(name)) << name;
    EXPECT_EQ(No, engine.m_nOverwriteMode);
}

} // namespace
