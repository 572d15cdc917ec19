// The overwrite question on its own, in this process, answered from a
// second thread as a person would.
#include "dirpick_testing.h"
#include "install/OverwriteDialog.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

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

} // namespace
