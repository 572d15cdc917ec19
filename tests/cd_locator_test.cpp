// The CD locator against real Wine drives: CD-ROM letters are mapped to
// folders with and without the marker file.
#include "app/CdLocator.h"
#include "support/TestEnv.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class Folder { Cd, NoMarker, MarkerIsADirectory };

struct Drive {
    char letter;
    Folder folder;
    unsigned type = DRIVE_CDROM;
};

struct Layout {
    const char* name;
    std::vector<Drive> drives;
    char found; // what LocateCd answers
};

class CdLocatorTest : public testing::TestWithParam<Layout> {
protected:
    void SetUp() override { testenv::UnmapAllExtraDrives(); }
    void TearDown() override { testenv::UnmapAllExtraDrives(); }

    static std::string FolderOf(Folder folder)
    {
        if (folder == Folder::Cd)
            return testenv::SampleCdUnix();
        // Without the marker, or with a marker that exists but does not
        // open for reading.
        const std::string dir = testenv::BuildDirUnix() +
                                (folder == Folder::NoMarker ? "/scratch-empty-cd" : "/scratch-unreadable-cd");
        CreateDirectoryA(testenv::WindowsPathOf(dir).c_str(), nullptr);
        if (folder == Folder::MarkerIsADirectory)
            CreateDirectoryA(testenv::WindowsPathOf(dir + "/jex.ico").c_str(), nullptr);
        return dir;
    }
};

TEST_P(CdLocatorTest, FindsTheFirstCdRomDriveHoldingTheMarker)
{
    for (const Drive& drive : GetParam().drives)
        ASSERT_TRUE(testenv::MapFolder(drive.letter, FolderOf(drive.folder), drive.type));
    EXPECT_EQ(GetParam().found, LocateCd());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CdLocatorTest,
    ::testing::Values(
        Layout{"NoCdRomDrive", {}, 0},
        Layout{"CdOnE", {{'e', Folder::Cd}}, 'e'},
        Layout{"SecondCdRomHoldsIt", {{'f', Folder::NoMarker}, {'h', Folder::Cd}}, 'h'},
        Layout{"MarkerThatDoesNotOpen", {{'d', Folder::MarkerIsADirectory}}, 0},
        Layout{"UnreadableMarkerThenTheCd", {{'d', Folder::MarkerIsADirectory}, {'g', Folder::Cd}}, 'g'},
        Layout{"DrivesAAndBAreNeverTried", {{'a', Folder::Cd}, {'b', Folder::Cd}}, 0},
        Layout{"HardDiskWithTheMarker", {{'d', Folder::Cd, DRIVE_FIXED}}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CdLocator, NextCdDriveLooksOnlyAtDriveTypes)
{
    testenv::UnmapAllExtraDrives();
    EXPECT_EQ(0, NextCdDrive('a'));
    ASSERT_TRUE(testenv::MapCd('f', testenv::BuildDirUnix()));
    ASSERT_TRUE(testenv::MapCd('h'));
    EXPECT_EQ('f', NextCdDrive('c'));
    EXPECT_EQ('h', NextCdDrive('g'));
    EXPECT_EQ(0, NextCdDrive('i'));
    testenv::UnmapAllExtraDrives();
}

} // namespace
