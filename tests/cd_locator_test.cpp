// The CD locator against real Wine drives: CD-ROM letters are mapped to
// folders with and without the marker file.
#include "app/CdLocator.h"
#include "app/Globals.h"
#include "support/TestEnv.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class CdLocatorTest : public testing::Test {
protected:
    void SetUp() override
    {
        testenv::UnmapAllExtraDrives();
        // A CD-ROM folder without the marker file, and one where the marker
        // is a directory, so it exists but does not open for reading.
        m_emptyCd = testenv::BuildDirUnix() + "/scratch-empty-cd";
        m_unreadableCd = testenv::BuildDirUnix() + "/scratch-unreadable-cd";
        CreateDirectoryA(testenv::WindowsPathOf(m_emptyCd).c_str(), nullptr);
        CreateDirectoryA(testenv::WindowsPathOf(m_unreadableCd).c_str(), nullptr);
        CreateDirectoryA(testenv::WindowsPathOf(m_unreadableCd + "/jex.ico").c_str(), nullptr);
        std::strcpy(CdRoot, "X:\\");
        std::strcpy(CdLetter, "X");
    }
    void TearDown() override { testenv::UnmapAllExtraDrives(); }

    std::string m_emptyCd;
    std::string m_unreadableCd;
};

TEST_F(CdLocatorTest, NoCdRomDriveLeavesBothValuesEmpty)
{
    EXPECT_EQ(0, NextCdDrive('a'));
    LocateCd();
    EXPECT_STREQ("", CdRoot);
    EXPECT_STREQ("", CdLetter);
}

TEST_F(CdLocatorTest, FindsTheCdOnDriveE)
{
    ASSERT_TRUE(testenv::MapCd('e'));
    LocateCd();
    EXPECT_EQ(3u, std::strlen(CdRoot));
    EXPECT_EQ(0, std::memcmp(CdRoot, "e:\\", 4));
    EXPECT_STREQ("e", CdLetter);
}

TEST_F(CdLocatorTest, SkipsACdRomDriveWithoutTheMarker)
{
    ASSERT_TRUE(testenv::MapCd('f', m_emptyCd));
    ASSERT_TRUE(testenv::MapCd('h', testenv::SampleCdUnix()));
    EXPECT_EQ('f', NextCdDrive('c'));
    EXPECT_EQ('h', NextCdDrive('g'));
    LocateCd();
    EXPECT_STREQ("h:\\", CdRoot);
    EXPECT_STREQ("h", CdLetter);
}

TEST_F(CdLocatorTest, MarkerThatCannotBeOpenedDoesNotCount)
{
    ASSERT_TRUE(testenv::MapCd('d', m_unreadableCd));
    LocateCd();
    EXPECT_STREQ("", CdLetter);

    ASSERT_TRUE(testenv::MapCd('g', testenv::SampleCdUnix()));
    LocateCd();
    EXPECT_STREQ("g", CdLetter);
}

TEST_F(CdLocatorTest, DrivesAAndBAreNeverConsidered)
{
    ASSERT_TRUE(testenv::MapCd('a'));
    ASSERT_TRUE(testenv::MapCd('b'));
    EXPECT_EQ('a', NextCdDrive('a'));
    LocateCd();
    EXPECT_STREQ("", CdRoot);
    EXPECT_STREQ("", CdLetter);
}

TEST_F(CdLocatorTest, HardDiskHoldingTheMarkerIsNotTheCd)
{
    ASSERT_TRUE(testenv::MapFolder('d', testenv::SampleCdUnix(), DRIVE_FIXED));
    EXPECT_EQ(0, NextCdDrive('c'));
    LocateCd();
    EXPECT_STREQ("", CdLetter);
}

} // namespace
