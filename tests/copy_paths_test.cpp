#include "install/CopyPaths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every prefix from 1 to the component count, as the directory creation and
// the removal walk them.
std::vector<std::string> Prefixes(const char* path)
{
    std::vector<std::string> prefixes;
    for (int n = 1; n <= CountPathComponents(path); ++n) {
        char out[256];
        std::memset(out, 'x', sizeof out);
        CopyPathPrefix(out, sizeof out, path, n);
        prefixes.push_back(out);
        EXPECT_EQ(PathPrefix(path, n), prefixes.back()) << path << " n=" << n;
    }
    return prefixes;
}

TEST(CopyPaths, DefaultTargetHasThreeComponentsAndNeverTheDriveRoot)
{
    const char* target = "C:\\Program Files\\Kestrel Forge\\Jex";
    EXPECT_EQ(3, CountPathComponents(target));
    const std::vector<std::string> expected = {
        "C:\\Program Files", "C:\\Program Files\\Kestrel Forge", target};
    EXPECT_EQ(expected, Prefixes(target));
}

TEST(CopyPaths, DriveRootsAndPathsWithoutDrive)
{
    EXPECT_EQ(1, CountPathComponents("C:\\"));
    EXPECT_EQ(std::vector<std::string>{"C:\\"}, Prefixes("C:\\"));
    EXPECT_EQ(1, CountPathComponents("D:"));
    EXPECT_EQ(std::vector<std::string>{"D:"}, Prefixes("D:"));
    // Without a drive the first backslash is still skipped once.
    EXPECT_EQ(2, CountPathComponents("\\games\\jex"));
    EXPECT_EQ((std::vector<std::string>{"\\games", "\\games\\jex"}), Prefixes("\\games\\jex"));
    EXPECT_EQ(2, CountPathComponents("games\\jex"));
    // A network path counts its empty components too; its first prefix is
    // the bare double backslash.
    EXPECT_EQ(4, CountPathComponents("\\\\server\\share\\jex"));
    EXPECT_EQ("\\", PathPrefix("\\\\server\\share\\jex", 1));
}

TEST(CopyPaths, TrailingBackslashAddsAnEmptyComponent)
{
    const char* target = "C:\\Games\\Jex\\";
    EXPECT_EQ(3, CountPathComponents(target));
    const std::vector<std::string> expected = {"C:\\Games", "C:\\Games\\Jex", target};
    EXPECT_EQ(expected, Prefixes(target));
}

TEST(CopyPaths, EmptyAndNullPathsHaveNoComponents)
{
    EXPECT_EQ(0, CountPathComponents(""));
    EXPECT_EQ(0, CountPathComponents(nullptr));
    char out[8] = "junk";
    CopyPathPrefix(out, sizeof out, "", 1);
    EXPECT_STREQ("", out);
    std::strcpy(out, "junk");
    CopyPathPrefix(out, sizeof out, nullptr, 1);
    EXPECT_STREQ("", out);
}

TEST(CopyPaths, PrefixNeverWritesPastTheBuffer)
{
    char out[12];
    std::memset(out, 'x', sizeof out);
    const char guard = 'G';
    char* end = out + 8;
    *end = guard;
    CopyPathPrefix(out, 8, "C:\\Program Files\\Kestrel Forge", 1);
    EXPECT_STREQ("C:\\Prog", out);
    EXPECT_EQ(guard, *end);
    // The string form keeps paths of any length whole.
    std::string deep = "C:";
    for (int i = 0; i < 60; ++i)
        deep += "\\component";
    EXPECT_EQ(60, CountPathComponents(deep.c_str()));
    EXPECT_EQ(deep, PathPrefix(deep.c_str(), 60));
    EXPECT_EQ(deep.size() - 10, PathPrefix(deep.c_str(), 59).size());
}

} // namespace
