#include "install/InstallManifest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries(const char* const* table)
{
    std::vector<std::string> entries;
    for (; *table; ++table)
        entries.push_back(*table);
    return entries;
}

int IndexOf(const std::vector<std::string>& entries, const std::string& entry)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == entry)
            return static_cast<int>(i);
    }
    return -1;
}

std::string Megabytes(uint32_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bytes / (1024.0 * 1024.0));
    return text;
}

TEST(Manifest, DirectoriesAreTheTwentyOneInCreationOrder)
{
    auto dirs = Entries(ManifestDirectories);
    ASSERT_EQ(21u, dirs.size());
    EXPECT_EQ("LEVEL", dirs.front());
    EXPECT_EQ("LEVEL\\FERN1", dirs[1]);
    EXPECT_EQ("LEVEL\\REEF8", dirs[15]);
    EXPECT_EQ("DATA", dirs[19]);
    EXPECT_EQ("PLAYER", dirs[20]);
    // Every level directory comes after LEVEL, so creation finds its parent.
    for (size_t i = 1; i < 19; ++i)
        EXPECT_EQ(0u, dirs[i].rfind("LEVEL\\", 0)) << dirs[i];
    EXPECT_LT(IndexOf(dirs, "LEVEL\\TIDE"), IndexOf(dirs, "LEVEL\\CODA"));
}

TEST(Manifest, PartialFilesInOrderAndCase)
{
    const std::vector<std::string> expected = {
        "DATA\\ART_H.DAT", "DATA\\ART_L.DAT", "DATA\\OBJECTS.DAT", "DATA\\SFX.DAT",
        "JEXSETUP.EXE",    "Msvcrt.dll",      "MFC42.DLL",         "JEX.EXE",
        "JEX.ICO",         "JEXINSTL.EXE",    "DOS4GW.EXE"};
    EXPECT_EQ(expected, Entries(PartialFiles));
}

TEST(Manifest, FullFilesFollowTheLevelRule)
{
    auto files = Entries(FullFiles);
    ASSERT_EQ(119u, files.size());
    EXPECT_EQ("DATA\\ART_H.DAT", files[0]);
    EXPECT_EQ("DATA\\SFX.DAT", files[3]);
    EXPECT_EQ("LEVEL\\FERN1\\LEVEL.ENT", files[4]);
    EXPECT_EQ("LEVEL\\FERN1\\MAP.LHT", files[9]);
    EXPECT_EQ("LEVEL\\TIDE\\MAP.LHT", files[111]);
    const std::vector<std::string> programs = {"Msvcrt.dll", "MFC42.DLL",    "JEX.EXE",   "JEX.ICO",
                                               "JEXSETUP.EXE", "JEXINSTL.EXE", "DOS4GW.EXE"};
    EXPECT_EQ(programs, std::vector<std::string>(files.begin() + 112, files.end()));

    const char* levels[] = {"FERN1", "FERN2", "MOSS1", "MOSS2", "MOSS3", "MOSS4",
                            "MOSS5", "REEF1", "REEF2", "REEF3", "REEF4", "REEF5",
                            "REEF6", "REEF7", "REEF8", "DUNE",  "CODA",  "TIDE"};
    const char* names[] = {"LEVEL.ENT", "LEVEL.GRF", "LEVEL.LNG", "MAP.DAT", "MAP.GFX", "MAP.LHT"};
    size_t i = 4;
    for (const char* level : levels) {
        for (const char* name : names)
            EXPECT_EQ(std::string("LEVEL\\") + level + "\\" + name, files[i++]);
    }
    // In the file table CODA's files come before TIDE's.
    EXPECT_LT(IndexOf(files, "LEVEL\\CODA\\MAP.LHT"), IndexOf(files, "LEVEL\\TIDE\\LEVEL.ENT"));
}

TEST(Manifest, InstallerCopyListedOnceInUpperCase)
{
    for (const char* const* table : {PartialFiles, FullFiles}) {
        int count = 0;
        for (const char* const* entry = table; *entry; ++entry) {
            if (std::strcmp(*entry, "JEXINSTL.EXE") == 0)
                ++count;
            EXPECT_NE(0, _stricmp(*entry, "jex.ini"));
        }
        EXPECT_EQ(1, count);
    }
    EXPECT_STREQ("JEXINSTL.EXE", kInstallerCopy);
}

TEST(Manifest, TotalsMatchTheFiguresShownToTheUser)
{
    EXPECT_EQ(233163669u, PartialInstallBytes);
    EXPECT_EQ(579639189u, FullInstallBytes);
    EXPECT_EQ("222.4", Megabytes(PartialInstallBytes));
    EXPECT_EQ("552.8", Megabytes(FullInstallBytes));
}

TEST(Manifest, TheKindSelectsTheTableAndTotal)
{
    EXPECT_EQ(PartialFiles, SelectedFiles(false));
    EXPECT_EQ(PartialInstallBytes, SelectedInstallBytes(false));
    EXPECT_EQ(FullFiles, SelectedFiles(true));
    EXPECT_EQ(FullInstallBytes, SelectedInstallBytes(true));
}

TEST(Manifest, LongestTargetLeavesEveryPathUsable)
{
    // Under a target of the longest length, every file's path fits in 259
    // characters and every directory's in 247; one character more and some
    // path does not.
    auto fits = [](size_t target) {
        bool all = true;
        for (const char* const* table : {PartialFiles, FullFiles})
            for (const char* const* entry = table; *entry; ++entry)
                all = all && target + 1 + std::strlen(*entry) <= 259;
        for (const char* const* entry = ManifestDirectories; *entry; ++entry)
            all = all && target + 1 + std::strlen(*entry) <= 247;
        return all;
    };
    EXPECT_TRUE(fits(MaxTargetLength()));
    EXPECT_FALSE(fits(MaxTargetLength() + 1));
}

} // namespace
