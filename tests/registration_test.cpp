// The registry helpers, the record of an installation and the Start-menu
// group, read back straight through Win32 and the shell's link object.
#include "install/InstallSequence.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"
#include "sysreg/Shortcuts.h"

#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using testenv::kProductKey;
using testenv::kUninstallKey;
using Texts = std::vector<std::string>;

template <class Row>
std::string RowName(const testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

std::string Text(HKEY root, const std::string& key, const char* name)
{
    return testenv::ReadReg(root, key, name).Text();
}

long long Number(const char* name)
{
    return testenv::ReadReg(HKEY_CURRENT_USER, kProductKey, name).Number();
}

// ---------------------------------------------------------------- registry

const std::string kBase = "Software\\Kestrel Forge\\RegistryTest";

class Registry : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str()); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str()); }
};

// A value as the writers store it below missing keys (REG_SZ, REG_DWORD) or
// as another program may have left it (the other types), and what the
// readers make of it.
struct Stored {
    const char* name;
    DWORD type;                      // REG_NONE: no such value
    std::string bytes;               // as stored
    std::optional<std::string> text; // what ReadRegString reads, if anything
    long long number;                // what ReadRegDword reads, or -1
    bool key = true;                 // the key exists, with another value at least
};

const std::string k199(199, 'a'), k200(200, 'b'), k260(260, 'c'), kDrive("C:\\", 4);

class Values : public Registry, public testing::WithParamInterface<Stored> {};

TEST_P(Values, AreStoredWithTheirTypeAndReadOnlyAsThatType)
{
    const Stored& row = GetParam();
    const std::string key = kBase + "\\One\\Two";
    if (row.type == REG_SZ)
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key.c_str(), "Value", row.bytes.c_str()));
    else if (row.type == REG_DWORD)
        ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, key.c_str(), "Value", static_cast<DWORD>(row.number)));
    else if (row.type != REG_NONE)
        testenv::WriteReg(HKEY_CURRENT_USER, key, "Value", row.type, row.bytes);
    else if (row.key)
        testenv::WriteRegText(HKEY_CURRENT_USER, key, "Other", "x");
    const testenv::RegValue stored = testenv::ReadReg(HKEY_CURRENT_USER, key, "Value");
    EXPECT_EQ(std::make_pair(row.type, row.bytes), std::make_pair(stored.type, stored.bytes));

    std::string text = "kept";
    EXPECT_EQ(row.text.has_value(), ReadRegString(HKEY_CURRENT_USER, key.c_str(), "Value", text));
    EXPECT_EQ(row.text.value_or("kept"), text);
    DWORD number = 0;
    const bool isNumber = ReadRegDword(HKEY_CURRENT_USER, key.c_str(), "Value", number);
    EXPECT_EQ(row.number, isNumber ? static_cast<long long>(number) : -1);
    EXPECT_EQ(row.key, testenv::KeyExists(HKEY_CURRENT_USER, key)); // no reader makes it
}

INSTANTIATE_TEST_SUITE_P(Registry, Values,
                         testing::Values(Stored{"MissingKey", REG_NONE, "", std::nullopt, -1, false},
                                         Stored{"MissingValue", REG_NONE, "", std::nullopt, -1},
                                         Stored{"EmptyText", REG_SZ, std::string(1, '\0'), "", -1},
                                         Stored{"PolishText", REG_SZ, std::string("C:\\Jeż", 7), "C:\\Jeż", -1},
                                         Stored{"TextOf200Bytes", REG_SZ, k199 + '\0', k199, -1},
                                         Stored{"TextOf201Bytes", REG_SZ, k200 + '\0', std::nullopt, -1},
                                         Stored{"TextOf261Bytes", REG_SZ, k260 + '\0', std::nullopt, -1},
                                         Stored{"NumberSpellingADrive", REG_DWORD, kDrive, std::nullopt, 0x5c3a43},
                                         Stored{"BinarySpellingADrive", REG_BINARY, kDrive, std::nullopt, -1},
                                         Stored{"ExpandableText", REG_EXPAND_SZ, kDrive, "C:\\", -1}),
                         RowName<Stored>);

TEST_F(Registry, TreeDeletionTakesEveryLevelBelowAndLeavesTheParentOpen)
{
    for (const char* leaf : {"\\A\\B\\C\\D", "\\A\\B\\E", "\\A\\F", "\\G", "\\H\\I"})
        testenv::WriteRegNumber(HKEY_CURRENT_USER, kBase + "\\Tree" + leaf, "Number", 1);
    testenv::WriteRegText(HKEY_CURRENT_USER, kBase, "Kept", "yes");
    HKEY parent;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kBase.c_str(), 0, KEY_READ, &parent));
    EXPECT_TRUE(DeleteRegKeyTree(parent, "Tree"));
    DWORD subKeys = 99; // through the caller's handle, still open
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(parent, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0u, subKeys);
    RegCloseKey(parent);
    EXPECT_EQ("yes", Text(HKEY_CURRENT_USER, kBase, "Kept"));
}

// ---------------------------------------------------------- install record

class Record : public testing::Test {
protected:
    void SetUp() override
    {
        testenv::ForgetInstallation();
        m_dir = testenv::ScratchDir("record");
    }
    void TearDown() override { testenv::ForgetInstallation(m_dir); }
    std::string m_dir;
};

struct Recording {
    const char* name;
    bool earlier;        // a full installation from e: recorded elsewhere, a longer jex.ini here
    long long counter;   // InstallCount before, if not 0
    bool removed;        // and the record then removed, twice
    char cd;
    bool full;
    long long count;     // InstallCount after
};

class RecordOfEachKind : public Record, public testing::WithParamInterface<Recording> {};

TEST_P(RecordOfEachKind, EveryValueJexIniAndTheUninstallEntry)
{
    const Recording& row = GetParam();
    const std::string target = m_dir + "\\Jex";
    testenv::MakeDirs(target);
    if (row.earlier) {
        for (const char* name : {"ProgramPath", "ProgramExecutable", "ProgramConfig"})
            testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, name, std::string("E:\\Stara\\") + name);
        testenv::WriteRegNumber(HKEY_CURRENT_USER, kProductKey, "FullInstall", 1);
        testenv::WriteRegText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", "e:\\install.exe");
        testenv::WriteFileBytes(target + "\\jex.ini", std::string(500, 'x'));
    }
    if (row.counter)
        testenv::WriteRegNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount", row.counter);
    for (int round = 0; row.removed && round < 2; ++round) { // the second finds nothing, makes nothing
        RemoveInstallRecord();
        EXPECT_FALSE(testenv::KeyExists(HKEY_CURRENT_USER, kProductKey));
        EXPECT_FALSE(testenv::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    }

    WriteInstallRecord(target, row.cd, row.full);
    EXPECT_EQ(target, Text(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
    EXPECT_EQ(target + "\\jex.exe", Text(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable"));
    EXPECT_EQ(target + "\\jexsetup.exe", Text(HKEY_CURRENT_USER, kProductKey, "ProgramConfig"));
    EXPECT_EQ(row.full ? 1 : 0, Number("FullInstall"));
    EXPECT_EQ(row.count, Number("InstallCount"));
    EXPECT_EQ("Jex", Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
    EXPECT_EQ(std::string(1, row.cd) + ":\\install.exe", Text(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ(std::string("[]\r\n\r\n[/CONFIG_CATEGORY_USER]\r\n\r\n[/CONFIG_CATEGORY_USER/Instalation]\r\n"
                          "\"instalation type\"=dword:0000000") + (row.full ? '0' : '1') +
                  "\r\n\"cd path\"=string:\"" + row.cd + ":\\\"\r\n\r\n",
              testenv::ReadFileBytes(target + "\\jex.ini"));
    EXPECT_EQ(row.full, ReadInstallRecord().FullInstall);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RecordOfEachKind,
                         testing::Values(Recording{"PartialFromD", false, 0, false, 'd', false, 1},
                                         Recording{"FullFromE", false, 0, false, 'e', true, 1},
                                         // The counter stays, everything else is rewritten.
                                         Recording{"Again", true, 2, false, 'd', false, 2},
                                         Recording{"CounterWithoutAPath", false, 3, false, 'd', false, 4},
                                         Recording{"AfterARemoval", true, 2, true, 'd', false, 1}),
                         RowName<Recording>);

TEST_F(Record, AnEarlierVersionsRecordWithoutTheKindIsPartial)
{
    testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, "ProgramPath", m_dir);
    EXPECT_EQ(m_dir, ReadInstallRecord().ProgramPath);
    EXPECT_FALSE(ReadInstallRecord().FullInstall);
}

TEST_F(Record, TheLongestTargetTakenIsRecordedReadably)
{
    // So the game shows as installed and can be removed. One more character
    // and the configuration program's path would not read.
    const std::string target = "C:\\" + std::string(TargetLengthLimit() - 3, 'j');
    WriteInstallRecord(target, 'd', false);
    std::string value;
    for (const char* name : {"ProgramPath", "ProgramExecutable", "ProgramConfig"})
        EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, kProductKey, name, value)) << name;
    EXPECT_EQ(target + "\\jexsetup.exe", value);
    WriteInstallRecord(target + "j", 'd', false);
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", value));
}

// --------------------------------------------------------------- shortcuts

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kShortcutError[] = "Wystąpił błąd podczas tworzenia skrótu do programu.";
// Each link and the program in the install directory it starts.
const char* const kLinks[][2] = {
    {"Jex.lnk", "Jex.exe"}, {"Program instalacyjny.lnk", "jexinstl.exe"}, {"Program konfiguracyjny.lnk", "jexsetup.exe"}};

// A shortcut file as the shell's link object reads it: its target, its
// working directory, its arguments and its description; empty when it does
// not load.
Texts ReadLink(const std::string& file)
{
    Texts read;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    WCHAR wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
        SUCCEEDED(persist->Load(wide, STGM_READ))) {
        char text[4][1024] = {};
        link->GetPath(text[0], sizeof text[0], nullptr, SLGP_RAWPATH);
        link->GetWorkingDirectory(text[1], sizeof text[1]);
        link->GetArguments(text[2], sizeof text[2]);
        link->GetDescription(text[3], sizeof text[3]);
        read = {text[0], text[1], text[2], text[3]};
    }
    if (persist)
        persist->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return read;
}

std::set<std::string> Entries(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.insert(entry.path().filename().string());
    return names;
}

// A Programs folder of the test's own, and an install directory holding the
// three programs. Names in ASCII: without the Linux locale installed, Wine
// cannot make others.
class Shortcuts : public testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof m_savedDir, m_savedDir);
        m_dir = testenv::ScratchDir("shortcuts");
        testenv::MakeDirs(m_programs = m_dir + "\\Menu Start\\Programy");
        testenv::MakeDirs(m_install = m_dir + "\\Gry\\Jex");
        for (const char* file : {"JEX.EXE", "JEXINSTL.EXE", "JEXSETUP.EXE"})
            testenv::WriteFileBytes(m_install + "\\" + file, "");
        testenv::WriteRegText(HKEY_CURRENT_USER, kShellFolders, "Programs", m_programs);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(m_savedDir);
        if (m_saved.found)
            testenv::WriteReg(HKEY_CURRENT_USER, kShellFolders, "Programs", m_saved.type, m_saved.bytes);
        testenv::RemoveTree(m_dir);
        testenv::RemoveTree("C:\\Kestrel Forge");
    }
    // Makes the group with every message box answered; their texts.
    static Texts Create(const std::string& install)
    {
        ui::MessageBoxWatcher boxes(install_driver::kAppTitle);
        CreateShortcuts(install, 'd');
        return boxes.Texts();
    }

    const testenv::RegValue m_saved = testenv::ReadReg(HKEY_CURRENT_USER, kShellFolders, "Programs");
    std::string m_dir, m_programs, m_install;
    char m_savedDir[MAX_PATH] = {};
};

struct ProgramsValue {
    const char* name;
    const char* below; // the scratch folder: the value; null: no value
};

class GroupUnderPrograms : public Shortcuts, public testing::WithParamInterface<ProgramsValue> {};

TEST_P(GroupUnderPrograms, IsMadeAgainOverAnOldOneAndRemovedInTheSamePlace)
{
    std::string programs = m_programs;
    if (GetParam().below) {
        testenv::WriteRegText(HKEY_CURRENT_USER, kShellFolders, "Programs", m_dir + GetParam().below);
    } else { // the root of the current drive
        testenv::DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, "Programs");
        ASSERT_TRUE(SetCurrentDirectoryA(m_dir.c_str()));
        programs = "C:";
    }
    ASSERT_EQ(Texts{}, Create(m_dir + "\\Stara\\Jex"));
    EXPECT_EQ(Texts{}, Create(m_install));
    // One folder a level: no empty-named one from a doubled backslash.
    EXPECT_EQ(GetParam().below ? std::set<std::string>{"Kestrel Forge"} : std::set<std::string>{}, Entries(m_programs));
    EXPECT_EQ(std::set<std::string>{"Jex"}, Entries(programs + "\\Kestrel Forge"));
    const std::string group = programs + "\\Kestrel Forge\\Jex";
    std::set<std::string> names;
    for (const auto& link : kLinks) { // to the program, in its directory, nothing more
        names.insert(link[0]);
        EXPECT_EQ((Texts{m_install + "\\" + link[1], m_install + "\\", "", ""}), ReadLink(group + "\\" + link[0]));
    }
    EXPECT_EQ(names, Entries(group));

    RemoveShortcuts();
    EXPECT_FALSE(testenv::DirExists(programs + "\\Kestrel Forge"));
    EXPECT_TRUE(testenv::DirExists(m_programs));
    EXPECT_EQ(3u, Entries(m_install).size()); // the programs themselves stay
}

INSTANTIATE_TEST_SUITE_P(Values, GroupUnderPrograms,
                         testing::Values(ProgramsValue{"Programs", "\\Menu Start\\Programy"},
                                         ProgramsValue{"ProgramsWithBackslash", "\\Menu Start\\Programy\\"},
                                         ProgramsValue{"NoValue", nullptr}),
                         RowName<ProgramsValue>);

struct Blocked {
    const char* name;
    const char* path; // under the Programs folder, taken by a file or a folder
    bool file;
    size_t boxes, linksSaved;
};

class CreationFailures : public Shortcuts, public testing::WithParamInterface<Blocked> {};

TEST_P(CreationFailures, AreEachShownOnceAndTheRestGoesOn)
{
    const Blocked& row = GetParam();
    const std::string blocker = m_programs + "\\" + row.path;
    if (row.file)
        testenv::WriteFileBytes(blocker, "notatki");
    else
        testenv::MakeDirs(blocker);
    EXPECT_EQ(Texts(row.boxes, kShortcutError), Create(m_install));
    size_t saved = 0;
    for (const auto& link : kLinks)
        saved += !ReadLink(m_programs + "\\Kestrel Forge\\Jex\\" + link[0]).empty();
    EXPECT_EQ(row.linksSaved, saved);
    EXPECT_TRUE(row.file ? testenv::ReadFileBytes(blocker) == "notatki" : testenv::DirExists(blocker));
}

INSTANTIATE_TEST_SUITE_P(Blockers, CreationFailures,
                         testing::Values(Blocked{"GroupFolder", "Kestrel Forge", true, 4, 0},
                                         Blocked{"OneLink", "Kestrel Forge\\Jex\\Program instalacyjny.lnk", false, 1, 2}),
                         RowName<Blocked>);

TEST_F(Shortcuts, RemovalKeepsWhatElseIsInTheFolders)
{
    ASSERT_EQ(Texts{}, Create(m_install));
    const std::string maker = m_programs + "\\Kestrel Forge";
    testenv::MakeDirs(maker + "\\Inna gra");
    testenv::WriteFileBytes(maker + "\\Jex\\notatki.txt", "moje");
    RemoveShortcuts();
    EXPECT_EQ((std::set<std::string>{"Inna gra", "Jex"}), Entries(maker));
    EXPECT_EQ(std::set<std::string>{"notatki.txt"}, Entries(maker + "\\Jex"));
}

} // namespace
