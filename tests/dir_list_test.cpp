#include "dirpick/BrowsePath.h"
#include "dirpick/DirListBox.h"
#include "dirpick_testing.h"
#include "resource.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace dirpick_testing;

namespace {

// An entry as "name|level|p" (path component) or "name|level|s" (subdirectory).
std::vector<std::string> Entries(const DirListBox& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i) {
        const auto* item = reinterpret_cast<const DirItem*>(list.GetItemData(i));
        entries.push_back(item->name + "|" + std::to_string(item->level) + "|" +
                          (item->isPathItem ? "p" : "s"));
    }
    return entries;
}

std::vector<std::string> Subdirectories(const DirListBox& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i) {
        const auto* item = reinterpret_cast<const DirItem*>(list.GetItemData(i));
        if (!item->isPathItem)
            names.push_back(item->name);
    }
    return names;
}

// A directory tree under C:\jextest\dirlist, and a browser to look into.
class DirList : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = testenv::ScratchDir("dirlist");
        SetCurrentDirectoryA("C:\\");
    }
    void TearDown() override
    {
        SetCurrentDirectoryA("C:\\");
        m_browser.reset();
        testenv::RemoveTree(m_root);
        testenv::UnmapAllExtraDrives();
    }

    DirListBox& Open(const std::string& initialDir)
    {
        m_browser = std::make_unique<CBrowsePath>(nullptr, initialDir, "");
        EXPECT_TRUE(m_browser->Create());
        return m_browser->m_wndDirs;
    }
    std::string PathLine()
    {
        Pump(m_browser->m_hWnd);
        return ui::GetItemText(m_browser->m_hWnd, IDC_BROWSE_PATH);
    }
    void Mkdir(const std::string& relative) { MakeDirs(m_root + "\\" + relative); }

    std::string m_root;
    std::unique_ptr<CBrowsePath> m_browser;
};

} // namespace

TEST_F(DirList, PathThatExistsOnlyInPartShowsItsExistingPart)
{
    Mkdir("games\\data");
    Mkdir("games\\Alpha");
    DirListBox& list = Open("C:\\");

    // Spelled as given, not as on disk.
    std::string path = "c:\\JEXTEST\\dirlist\\games\\jex\\levels";
    EXPECT_TRUE(list.FillDirectory(path));
    const std::vector<std::string> expected = {"c:\\|0|p",    "JEXTEST\\|1|p", "dirlist\\|2|p",
                                               "games\\|3|p", "Alpha|4|s",     "data|4|s"};
    EXPECT_EQ(expected, Entries(list));
    EXPECT_EQ("c:\\JEXTEST\\dirlist\\games\\", list.GetDirectory());
    EXPECT_EQ(path, list.m_strDirectory);
}

TEST_F(DirList, TrailingTextIsAComponentOnlyWhenItExists)
{
    Mkdir("games\\data");
    DirListBox& list = Open("C:\\");

    ASSERT_TRUE(list.FillDirectory(m_root + "\\games"));
    EXPECT_EQ(m_root + "\\games\\", list.GetDirectory());
    EXPECT_EQ(std::vector<std::string>{"data"}, Subdirectories(list));

    // "gam" is not a directory: the list stops at its parent.
    ASSERT_TRUE(list.FillDirectory(m_root + "\\gam"));
    EXPECT_EQ(m_root + "\\", list.GetDirectory());
}

TEST_F(DirList, EmptyPathShowsTheRootOfTheCurrentDrive)
{
    ASSERT_TRUE(SetCurrentDirectoryA(m_root.c_str()));
    DirListBox& list = Open("C:\\");
    ASSERT_TRUE(list.FillDirectory(""));
    auto entries = Entries(list);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ("\\|0|p", entries[0]);
    auto subdirs = Subdirectories(list);
    EXPECT_NE(subdirs.end(), std::find(subdirs.begin(), subdirs.end(), "jextest"));
    EXPECT_EQ("\\", list.GetDirectory());
}

TEST_F(DirList, EmptyInitialDirectoryStartsInTheCurrentDirectory)
{
    Mkdir("here\\below");
    std::string here = m_root + "\\here";
    ASSERT_TRUE(SetCurrentDirectoryA(here.c_str()));
    DirListBox& list = Open("");
    EXPECT_EQ(here + "\\", list.GetDirectory());
    EXPECT_EQ(std::vector<std::string>{"below"}, Subdirectories(list));
    EXPECT_EQ(here + "\\", PathLine());
}

TEST_F(DirList, EnterOpensADirectoryOfVisibleSubdirectoriesInPolishOrder)
{
    // Byte order would put every Polish initial after "z", and the order in
    // which Wine lists a directory puts "_" after the letters.
    const std::vector<std::string> expected = {"biblioteka", "Ćwiczenia", "dane",    "Łąka",
                                               "mapy",       "Ósemka",    "podkatalog_c",
                                               "podkatalogi", "windows",  "Źródła"};
    for (auto name = expected.rbegin(); name != expected.rend(); ++name)
        Mkdir("lista\\" + *name);
    Mkdir("lista\\.config");
    Mkdir("lista\\secret");
    SetFileAttributesA((m_root + "\\lista\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    HANDLE file = CreateFileA((m_root + "\\lista\\afile.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);

    DirListBox& list = Open(m_root);
    ASSERT_EQ(std::vector<std::string>{"lista"}, Subdirectories(list));
    list.SetCurSel(list.GetCount() - 1);
    list.Send(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m_root + "\\lista\\", list.GetDirectory());
    EXPECT_EQ(expected, Subdirectories(list));
    SetFileAttributesA((m_root + "\\lista\\secret").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DirList, EnterOpensTheSelectedSubdirectory)
{
    Mkdir("games\\data\\maps");
    Mkdir("games\\music");
    DirListBox& list = Open(m_root + "\\games\\");
    EXPECT_EQ(m_root + "\\games\\", PathLine());
    // Nothing is selected after creation, so Enter does nothing yet.
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ("", list.GetSelectedPath());
    list.Send(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m_root + "\\games\\", list.GetDirectory());

    // c:\ jextest\ dirlist\ games\ data music
    ASSERT_EQ(6, list.GetCount());
    list.SetCurSel(4);
    EXPECT_EQ(m_root + "\\games\\data\\", list.GetSelectedPath());
    list.Send(WM_KEYDOWN, VK_RETURN);

    const std::vector<std::string> expected = {"C:\\|0|p",     "jextest\\|1|p", "dirlist\\|2|p",
                                               "games\\|3|p",  "data\\|4|p",    "maps|5|s"};
    EXPECT_EQ(expected, Entries(list));
    EXPECT_EQ(4, list.GetCurSel()); // the opened directory
    // The parent hears of it only once the notification's turn comes.
    EXPECT_EQ(m_root + "\\games\\", ui::GetItemText(m_browser->m_hWnd, IDC_BROWSE_PATH));
    EXPECT_EQ(m_root + "\\games\\data\\", PathLine());
}

TEST_F(DirList, DoubleClickOnAPathComponentOpensIt)
{
    Mkdir("games\\data");
    DirListBox& list = Open(m_root + "\\games\\data");
    PathLine();
    list.SetCurSel(0); // the drive root
    EXPECT_EQ("C:\\", list.GetSelectedPath());
    // The list box tells its parent of a double-click; the parent hands it back.
    SendMessageA(m_browser->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_DIRS, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list.m_hWnd));
    auto entries = Entries(list);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ("C:\\|0|p", entries[0]);
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_EQ('s', entries[i].back()) << entries[i];
    EXPECT_EQ(0, list.GetCurSel());
    EXPECT_EQ("C:\\", PathLine());
}

TEST_F(DirList, RepeatedNameSelectsTheFirstFromTheTopWithCaseIgnored)
{
    Mkdir("Łąka\\ŁĄKA\\inner");
    DirListBox& list = Open(m_root + "\\Łąka\\ŁĄKA\\");
    // C:\ jextest\ dirlist\ Łąka\ ŁĄKA\ inner
    ASSERT_EQ(6, list.GetCount());
    list.SetCurSel(4);
    list.Send(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m_root + "\\Łąka\\ŁĄKA\\", list.GetDirectory());
    EXPECT_EQ(3, list.GetCurSel());
}

TEST_F(DirList, UnreadableInitialDirectoryLeavesAnEmptyList)
{
    // q: is not mapped; creating the list asks nobody.
    DirListBox& list = Open("q:\\games\\jex");
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ("\\", list.GetDirectory());
    EXPECT_EQ("", list.GetSelectedPath());
    EXPECT_EQ("\\", PathLine());
    EXPECT_FALSE(list.FillDirectory("q:\\"));
}

TEST_F(DirList, EmptyDriveRootCountsAsUnreadable)
{
    std::string empty = testenv::BuildDirUnix() + "/dirpick-drives/emptyroot";
    std::string windows = testenv::WindowsPathOf(empty);
    testenv::RemoveTree(windows);
    MakeDirs(windows);
    ASSERT_TRUE(testenv::MapFolder('p', empty, DRIVE_FIXED));
    DirListBox& list = Open("C:\\");
    EXPECT_FALSE(list.FillDirectory("p:\\"));
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(DirList, MeasuredHeightIsTheOneInUse)
{
    DirListBox& list = Open(m_root);
    EXPECT_GT(list.m_nTextHeight, 0);
    EXPECT_EQ(std::max(list.m_nTextHeight, 16), list.m_nItemHeight);
    EXPECT_EQ(list.m_nItemHeight, list.GetItemHeight(0));
}
