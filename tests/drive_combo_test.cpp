#include "dirpick/BrowsePath.h"
#include "dirpick/DriveComboBox.h"
#include "dirpick_testing.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace dirpick_testing;

namespace {

struct DriveItem {
    std::string text;
    LPARAM kind;
};

std::vector<DriveItem> Items(const DriveComboBox& combo)
{
    std::vector<DriveItem> items;
    for (int i = 0; i < combo.GetCount(); ++i)
        items.push_back({combo.GetLBText(i), combo.GetItemData(i)});
    return items;
}

const DriveItem* Find(const std::vector<DriveItem>& items, char letter)
{
    for (const auto& item : items) {
        if (item.text.size() >= 3 && item.text[0] == letter && item.text.compare(1, 2, ":\\") == 0)
            return &item;
    }
    return nullptr;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A Linux folder of the build tree for mapping as a drive.
std::string DriveFolder(const std::string& name)
{
    std::string unix = testenv::BuildDirUnix() + "/dirpick-drives/" + name;
    std::string windows = testenv::WindowsPathOf(unix);
    testenv::RemoveTree(windows);
    MakeDirs(windows);
    return unix;
}

// Leaves the prefix's drive letters as every other test expects them.
class DriveList : public ::testing::Test {
protected:
    void SetUp() override { testenv::UnmapAllExtraDrives(); }
    void TearDown() override
    {
        testenv::UnmapAllExtraDrives();
        SetCurrentDirectoryA("C:\\");
    }
};

} // namespace

TEST(DriveAmount, UnitLadderFromKilobytesUp)
{
    EXPECT_EQ("0.0k", DriveComboBox::FormatAmount(0));
    EXPECT_EQ("0.5k", DriveComboBox::FormatAmount(500));
    EXPECT_EQ("1024.0k", DriveComboBox::FormatAmount(1048576));
    EXPECT_EQ("1.0M", DriveComboBox::FormatAmount(1048577));
    EXPECT_EQ("1024.0M", DriveComboBox::FormatAmount(1073741824));
    EXPECT_EQ("1.5G", DriveComboBox::FormatAmount(1536ull << 20));
}

TEST(DriveAmount, BeyondFourGigabytesReachesGAndT)
{
    EXPECT_EQ("4.0G", DriveComboBox::FormatAmount(4ull << 30));
    EXPECT_EQ("4.0G", DriveComboBox::FormatAmount((4ull << 30) + 1)); // past 32 bits
    EXPECT_EQ("1024.0G", DriveComboBox::FormatAmount(1ull << 40));
    EXPECT_EQ("2.5T", DriveComboBox::FormatAmount((5ull << 40) / 2));
    // The ladder ends at T, however large the amount.
    EXPECT_EQ("4096.0T", DriveComboBox::FormatAmount(1ull << 52));
}

TEST_F(DriveList, ItemsForWineDrivesInLetterOrder)
{
    ASSERT_TRUE(testenv::MapCd('m'));
    std::string labelled = DriveFolder("labelled");
    {
        HANDLE file = CreateFileA((testenv::WindowsPathOf(labelled) + "\\.windows-label").c_str(),
                                  GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        const char label[] = "GRY Dysk\n";
        WriteFile(file, label, sizeof label - 1, &written, nullptr);
        CloseHandle(file);
    }
    ASSERT_TRUE(testenv::MapFolder('h', labelled, DRIVE_FIXED));
    ASSERT_TRUE(testenv::MapFolder('q', testenv::BuildDirUnix() + "/dirpick-drives/missing",
                                   DRIVE_FIXED));
    ASSERT_TRUE(testenv::MapFolder('a', DriveFolder("floppy"), DRIVE_REMOVABLE));
    ASSERT_TRUE(testenv::MapFolder('r', DriveFolder("stick"), DRIVE_REMOVABLE));

    CBrowsePath browser(nullptr, "C:\\", "");
    ASSERT_TRUE(browser.Create());
    auto items = Items(browser.m_wndDrives);

    // In letter order, one item per present letter.
    for (size_t i = 1; i < items.size(); ++i)
        EXPECT_LT(items[i - 1].text[0], items[i].text[0]);

    const DriveItem* floppy = Find(items, 'a');
    ASSERT_TRUE(floppy);
    EXPECT_EQ("a:\\", floppy->text); // never asked: no label, no free space
    EXPECT_EQ(FloppyAB, floppy->kind);

    const DriveItem* c = Find(items, 'c');
    ASSERT_TRUE(c);
    EXPECT_EQ(Fixed, c->kind);
    EXPECT_TRUE(StartsWith(c->text, "c:\\ ")) << c->text;
    EXPECT_NE(std::string::npos, c->text.find(" (wolne: ")) << c->text;
    EXPECT_TRUE(EndsWith(c->text, "k)") || EndsWith(c->text, "M)") || EndsWith(c->text, "G)") ||
                EndsWith(c->text, "T)"))
        << c->text;

    const DriveItem* h = Find(items, 'h');
    ASSERT_TRUE(h);
    EXPECT_TRUE(StartsWith(h->text, "h:\\ gry dysk (wolne: ")) << h->text;

    const DriveItem* cd = Find(items, 'm');
    ASSERT_TRUE(cd);
    EXPECT_EQ("m:\\", cd->text);
    EXPECT_EQ(CdRom, cd->kind);

    const DriveItem* stick = Find(items, 'r');
    ASSERT_TRUE(stick);
    EXPECT_EQ(Removable, stick->kind);
    // Asked like a hard disk; its empty label leaves two spaces.
    EXPECT_TRUE(StartsWith(stick->text, "r:\\  (wolne: ")) << stick->text;

    // A letter whose folder is missing cannot be asked anything.
    if (const DriveItem* missing = Find(items, 'q'))
        EXPECT_EQ("q:\\", missing->text);

    // No item for letters that are not there.
    EXPECT_FALSE(Find(items, 'b'));
    EXPECT_FALSE(Find(items, 'n'));
}

TEST_F(DriveList, SelectsTheDriveOfAPathIgnoringCase)
{
    ASSERT_TRUE(testenv::MapCd('m'));
    CBrowsePath browser(nullptr, "C:\\", "");
    ASSERT_TRUE(browser.Create());
    DriveComboBox& drives = browser.m_wndDrives;

    drives.SelectDriveOf("M:\\GAMES\\JEX");
    EXPECT_EQ("m:\\", drives.SelectedDrive());

    drives.SelectDriveOf("C:\\GAMES");
    EXPECT_EQ("c:\\", drives.SelectedDrive());

    // A drive without an item leaves the selection where it was.
    drives.SelectDriveOf("k:\\games\\");
    EXPECT_EQ("c:\\", drives.SelectedDrive());

    drives.SetCurSel(-1);
    EXPECT_EQ("", drives.SelectedDrive());
}

TEST_F(DriveList, StartsOnTheCurrentDriveWhenTheDirectoryListHasNone)
{
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\"));
    // The directory list cannot read q: and shows nothing, so the drive
    // list keeps the drive of the current directory.
    CBrowsePath browser(nullptr, "q:\\games\\", "");
    ASSERT_TRUE(browser.Create());
    EXPECT_EQ("z:\\", browser.m_wndDrives.SelectedDrive());
    EXPECT_EQ("\\", browser.m_wndDirs.GetDirectory());
}

TEST_F(DriveList, F4DropsAListOfEightDrivesWithoutScrolling)
{
    for (char letter : {'d', 'e', 'f', 'g', 'h', 'i'})
        ASSERT_TRUE(testenv::MapCd(letter));
    CBrowsePath browser(nullptr, "C:\\", "");
    ASSERT_TRUE(browser.Create());
    DriveComboBox& drives = browser.m_wndDrives;
    ASSERT_EQ(8, drives.GetCount()); // c:, z: and the six CDs

    drives.Send(WM_KEYDOWN, VK_F4);
    Pump(browser.m_hWnd);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(drives, &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    RECT shown = {}, last = {};
    GetClientRect(info.hwndList, &shown);
    SendMessageA(info.hwndList, LB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(0, SendMessageA(info.hwndList, LB_GETTOPINDEX, 0, 0));
    EXPECT_LE(last.bottom, shown.bottom) << "the list shows "
                                         << shown.bottom / drives.m_nItemHeight << " drives";
    drives.Send(CB_SHOWDROPDOWN, FALSE);
}

TEST_F(DriveList, MeasuredHeightIsTheOneInUse)
{
    CBrowsePath browser(nullptr, "C:\\", "");
    ASSERT_TRUE(browser.Create());
    const DriveComboBox& drives = browser.m_wndDrives;
    EXPECT_GT(drives.m_nTextHeight, 0);
    EXPECT_EQ(std::max(drives.m_nTextHeight, 16), drives.m_nItemHeight);
    EXPECT_EQ(drives.m_nItemHeight, drives.GetItemHeight(0)); // the items
    // The selection field holds an item too (the system may add its frame).
    EXPECT_GE(drives.GetItemHeight(-1), drives.m_nItemHeight);
    EXPECT_LE(drives.GetItemHeight(-1), drives.m_nItemHeight + 4);
}
