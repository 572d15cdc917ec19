#include "sysreg/Registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

constexpr char kMaker[] = "Software\\Kestrel Forge";
constexpr char kBase[] = "Software\\Kestrel Forge\\RegistryTest";

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// What the registry holds, read without the helpers under test.
struct RawValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::string data;
};

RawValue ReadRaw(HKEY root, const std::string& path, const char* name)
{
    RawValue raw;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return raw;
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name, nullptr, &raw.type, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS) {
        raw.found = true;
        raw.data.assign(buffer, size);
    }
    RegCloseKey(key);
    return raw;
}

void WriteRaw(HKEY root, const std::string& path, const char* name, DWORD type, const void* data,
              DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

class RegistryHelpers : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kMaker); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kMaker); }
};

TEST_F(RegistryHelpers, ReadingAMissingKeyFailsAndCreatesNothing)
{
    const std::string path = std::string(kBase) + "\\Missing\\Deeper";
    std::string text = "before";
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, path.c_str(), "Name", text));
    EXPECT_EQ("before", text);
    DWORD number = 7;
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, path.c_str(), "Number", number));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMaker));

    // An existing key without the value: also a failure, output kept.
    WriteRaw(HKEY_CURRENT_USER, kBase, "Other", REG_SZ, "x", 2);
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kBase, "Name", text));
    EXPECT_EQ("before", text);
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, kBase, "Number", number));
}

TEST_F(RegistryHelpers, WritersCreateEveryMissingLevelAndStoreTypedValues)
{
    const std::string deep = std::string(kBase) + "\\One\\Two\\Three";
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, deep.c_str(), "Text", "C:\\Gry\\Jeż"));
    RawValue text = ReadRaw(HKEY_CURRENT_USER, deep, "Text");
    ASSERT_TRUE(text.found);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), text.type);
    EXPECT_EQ(std::string("C:\\Gry\\Jeż", 11), text.data); // with its zero byte

    const std::string other = std::string(kBase) + "\\Four\\Five";
    for (DWORD number : {0x12345678u, 0u, 0xFFFFFFFFu}) {
        ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, other.c_str(), "Number", number));
        RawValue raw = ReadRaw(HKEY_CURRENT_USER, other, "Number");
        ASSERT_TRUE(raw.found);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), raw.type);
        ASSERT_EQ(4u, raw.data.size());
        DWORD back = 1;
        ASSERT_TRUE(ReadRegDword(HKEY_CURRENT_USER, other.c_str(), "Number", back));
        EXPECT_EQ(number, back);
    }

    std::string back;
    ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, deep.c_str(), "Text", back));
    EXPECT_EQ("C:\\Gry\\Jeż", back);
}

TEST_F(RegistryHelpers, EmptyTextIsStoredAsItsZeroByte)
{
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kBase, "Empty", ""));
    RawValue raw = ReadRaw(HKEY_CURRENT_USER, kBase, "Empty");
    ASSERT_TRUE(raw.found);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw.type);
    EXPECT_EQ(std::string(1, '\0'), raw.data);

    std::string text = "previous";
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, kBase, "Empty", text));
    EXPECT_EQ("", text);
}

TEST_F(RegistryHelpers, TextIsReadUpToTwoHundredBytesWithItsZero)
{
    const std::string fits(199, 'a');
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kBase, "Fits", fits));
    std::string text = "previous";
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, kBase, "Fits", text));
    EXPECT_EQ(fits, text);

    for (size_t length : {200u, 260u}) {
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kBase, "TooLong", std::string(length, 'b')));
        EXPECT_EQ(length + 1, ReadRaw(HKEY_CURRENT_USER, kBase, "TooLong").data.size());
        text = "previous";
        EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kBase, "TooLong", text)) << length;
        EXPECT_EQ("previous", text);
    }
}

TEST_F(RegistryHelpers, ValuesOfAnotherTypeCountAsAbsent)
{
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteRaw(HKEY_CURRENT_USER, kBase, "Wide", REG_BINARY, eight, sizeof eight);
    DWORD number = 0;
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, kBase, "Wide", number));

    // Four bytes that are not a REG_DWORD are no number, and bytes that
    // spell a path are no text unless they are stored as one.
    const unsigned char path[4] = {'C', ':', '\\', 0};
    WriteRaw(HKEY_CURRENT_USER, kBase, "Four", REG_BINARY, path, sizeof path);
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, kBase, "Four", number));
    WriteRaw(HKEY_CURRENT_USER, kBase, "Number", REG_DWORD, path, sizeof path);
    std::string text = "kept";
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kBase, "Number", text));
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kBase, "Four", text));
    EXPECT_EQ("kept", text);
    WriteRaw(HKEY_CURRENT_USER, kBase, "Expand", REG_EXPAND_SZ, path, sizeof path);
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, kBase, "Expand", text));
    EXPECT_EQ("C:\\", text);
    EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, kBase, "Number", number));
    EXPECT_EQ(0x005c3a43u, number);
}

TEST_F(RegistryHelpers, TreeDeletionRemovesEveryLevelBelowAndKeepsTheParentOpen)
{
    const std::string tree = std::string(kBase) + "\\Tree";
    for (const char* leaf : {"\\A\\B\\C\\D", "\\A\\B\\E", "\\A\\F", "\\G", "\\H\\I"}) {
        const std::string path = tree + leaf;
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, path.c_str(), "Value", leaf));
        ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, path.c_str(), "Number", 1));
    }
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kBase, "Kept", "yes"));

    HKEY parent;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kBase, 0, KEY_READ, &parent));
    EXPECT_TRUE(DeleteRegKeyTree(parent, "Tree"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, tree));
    // The key handed in as the parent is still open and usable.
    DWORD subKeys = 99;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(parent, nullptr, nullptr, nullptr, &subKeys, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0u, subKeys);
    RegCloseKey(parent);
    EXPECT_TRUE(ReadRaw(HKEY_CURRENT_USER, kBase, "Kept").found);

    // A path of several levels works as the sub-key too.
    const std::string nested = std::string(kBase) + "\\X\\Y";
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, (nested + "\\Z").c_str(), "Number", 2));
    EXPECT_TRUE(DeleteRegKeyTree(HKEY_CURRENT_USER, nested.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, nested));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kBase) + "\\X"));
}

TEST_F(RegistryHelpers, DeletingAMissingKeyFails)
{
    EXPECT_FALSE(DeleteRegKeyTree(HKEY_CURRENT_USER, kBase));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMaker));
}

} // namespace
