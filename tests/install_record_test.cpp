#include "install/InstallSequence.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"

#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr char kMakerKey[] = "Software\\Kestrel Forge";
constexpr char kProductKey[] = "Software\\Kestrel Forge\\Jex";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Jex";

// jex.ini of a partial installation from the CD in d, byte for byte.
constexpr char kPartialFromD[] = "[]\r\n"
                                 "\r\n"
                                 "[/CONFIG_CATEGORY_USER]\r\n"
                                 "\r\n"
                                 "[/CONFIG_CATEGORY_USER/Instalation]\r\n"
                                 "\"instalation type\"=dword:00000001\r\n"
                                 "\"cd path\"=string:\"d:\\\"\r\n"
                                 "\r\n";
constexpr char kFullFromE[] = "[]\r\n"
                              "\r\n"
                              "[/CONFIG_CATEGORY_USER]\r\n"
                              "\r\n"
                              "[/CONFIG_CATEGORY_USER/Instalation]\r\n"
                              "\"instalation type\"=dword:00000000\r\n"
                              "\"cd path\"=string:\"e:\\\"\r\n"
                              "\r\n";

bool KeyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// A REG_SZ value as stored, or "<missing>" / "<type N>".
std::string RawText(HKEY root, const char* path, const char* name)
{
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return "<missing>";
    if (type != REG_SZ)
        return "<type " + std::to_string(type) + ">";
    return buffer;
}

// A REG_DWORD value as stored, or -1 when missing or of another type.
long long RawNumber(HKEY root, const char* path, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD && size == 4 ? value : -1;
}

class InstallRecord : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRegistry();
        m_dir = testenv::ScratchDir("record");
    }

    void TearDown() override
    {
        ResetRegistry();
        testenv::RemoveTree(m_dir);
    }

    static void ResetRegistry()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    }

    // An existing install directory below the scratch folder.
    std::string MakeTarget(const std::string& name)
    {
        std::string path = m_dir + "\\" + name;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }

    // The installation the next Write records.
    void Use(const std::string& path, char letter, bool full)
    {
        m_path = path;
        m_letter = letter;
        m_full = full;
    }
    void Write() { WriteInstallRecord(m_path, m_letter, m_full); }

    std::string m_dir;

private:
    std::string m_path;
    char m_letter = 'd';
    bool m_full = false;
};

TEST_F(InstallRecord, FirstInstallationRecordsEveryValue)
{
    const std::string target = MakeTarget("Jex");
    Use(target, 'd', false);
    Write();

    EXPECT_EQ(target, RawText(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
    EXPECT_EQ(target + "\\jex.exe", RawText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable"));
    EXPECT_EQ(target + "\\jexsetup.exe", RawText(HKEY_CURRENT_USER, kProductKey, "ProgramConfig"));
    EXPECT_EQ(0, RawNumber(HKEY_CURRENT_USER, kProductKey, "FullInstall"));
    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount"));
    EXPECT_EQ("Jex", RawText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
    EXPECT_EQ("d:\\install.exe", RawText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ(kPartialFromD, testenv::ReadFileBytes(target + "\\jex.ini"));
}

TEST_F(InstallRecord, FullInstallationFromDriveE)
{
    const std::string target = MakeTarget("Jex");
    Use(target, 'e', true);
    Write();

    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "FullInstall"));
    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount"));
    EXPECT_EQ("e:\\install.exe", RawText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ(kFullFromE, testenv::ReadFileBytes(target + "\\jex.ini"));
}

TEST_F(InstallRecord, InstallingAgainKeepsTheCounterAndRewritesEverything)
{
    const std::string first = MakeTarget("First");
    const std::string second = MakeTarget("Second");
    Use(first, 'e', true);
    Write();

    Use(second, 'd', false);
    Write();
    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount"));
    EXPECT_EQ(second, RawText(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
    EXPECT_EQ(second + "\\jex.exe", RawText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable"));
    EXPECT_EQ(second + "\\jexsetup.exe", RawText(HKEY_CURRENT_USER, kProductKey, "ProgramConfig"));
    EXPECT_EQ(0, RawNumber(HKEY_CURRENT_USER, kProductKey, "FullInstall"));
    EXPECT_EQ("d:\\install.exe", RawText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));

    // A longer file from before is replaced, not overwritten in part.
    {
        std::ofstream old(first + "\\jex.ini", std::ios::binary | std::ios::app);
        old << std::string(500, 'x');
    }
    Use(first, 'd', false);
    Write();
    EXPECT_EQ(kPartialFromD, testenv::ReadFileBytes(first + "\\jex.ini"));
    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount"));
}

TEST_F(InstallRecord, CounterWithoutARecordedPathGoesUp)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const DWORD three = 3;
    RegSetValueExA(key, "InstallCount", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4);
    RegCloseKey(key);

    Use(MakeTarget("Jex"), 'd', false);
    Write();
    EXPECT_EQ(4, RawNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount"));
}

TEST_F(InstallRecord, FileNamesAreJoinedWithOneBackslash)
{
    const std::string target = MakeTarget("Jex");
    Use(target + "\\", 'd', false);
    Write();
    EXPECT_EQ(target + "\\", RawText(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
    EXPECT_EQ(target + "\\\\jex.exe", RawText(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable"));
    EXPECT_EQ(target + "\\\\jexsetup.exe", RawText(HKEY_CURRENT_USER, kProductKey, "ProgramConfig"));
    EXPECT_EQ(kPartialFromD, testenv::ReadFileBytes(target + "\\jex.ini"));
}

TEST_F(InstallRecord, TheLongestTargetTakenIsRecordedReadably)
{
    // As long as the options dialog allows: every value reads back, so the
    // game shows as installed and can be removed. One more character and the
    // configuration program's path would not read.
    const std::string target = "C:\\" + std::string(TargetLengthLimit() - 3, 'j');
    Use(target, 'd', false);
    Write();
    std::string value;
    for (const char* name : {"ProgramPath", "ProgramExecutable", "ProgramConfig"})
        EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, kProductKey, name, value)) << name;
    EXPECT_EQ(target + "\\jexsetup.exe", value);
    Use(target + "j", 'd', false);
    Write();
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", value));
}

TEST_F(InstallRecord, MissingInstallDirectoryStillRecordsTheRegistryEntries)
{
    const std::string target = m_dir + "\\NotThere";
    Use(target, 'd', true);
    Write();
    EXPECT_FALSE(testenv::DirExists(target));
    EXPECT_EQ(target, RawText(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "FullInstall"));
    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount"));
    EXPECT_EQ("Jex", RawText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
}

TEST_F(InstallRecord, RemovalLeavesBothKeysGone)
{
    Use(MakeTarget("Jex"), 'd', true);
    Write();
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    RemoveInstallRecord();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // Nothing recorded: still true, and nothing is made.
    RemoveInstallRecord();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // A later installation counts from one again.
    Write();
    EXPECT_EQ(1, RawNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount"));
}

} // namespace
