// The overwrite question on its own, in this process, answered from a
// second thread as a person would.
#include "install/OverwriteDialog.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// Presses a button of the question, or Escape (0) on its focused first button.
void Press(HWND question, int button)
{
    if (button)
        ui::ClickItem(question, button);
    else
        ui::PressKey(GetDlgItem(question, IDC_OVERWRITE_YES), VK_ESCAPE);
}

// Runs the question for `path` and presses `button` on it (0: Escape).
// Returns the answer and the message shown.
std::pair<int32_t, std::string> Ask(const std::string& path, int button)
{
    std::string message;
    std::thread person([&] {
        HWND question = install_driver::WaitForOverwriteQuestion();
        if (!question)
            return;
        message = ui::GetItemText(question, IDC_OVERWRITE_MESSAGE);
        Press(question, button);
    });
    OverwriteDialog dialog(path.c_str());
    dialog.DoModal();
    person.join();
    return {dialog.m_nAnswer, message};
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
