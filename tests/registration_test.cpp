// The registry helpers, the installation's record and the Start-menu group, read back through Win32 and the shell.
#include "app/ProgramLaunch.h"
#include "install/InstallSequence.h"
#include "sysreg/InstallRecord.h"
#include "sysreg/Registry.h"
#include "sysreg/Shortcuts.h"

#include "support/Cp1250.h"
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

#include <wrl/client.h>

namespace {

using testenv::kProductKey;
using testenv::kUninstallKey;
using testenv::ReadReg;
using Names = std::set<std::string>;
using Texts = std::vector<std::string>;

const std::string kBase = "Software\\Kestrel Forge\\RegistryTest", kKey = kBase + "\\One\\Two";

struct Registry : testing::Test {
    void SetUp() override { testenv::DeleteRegTree(HKEY_CURRENT_USER, kBase); }
    void TearDown() override { SetUp(); }
};

// A value (REG_NONE: none) as the writers store it below missing keys (REG_SZ, REG_DWORD) or as another program may
// have left it (the other types); what ReadRegString reads, if anything; what ReadRegDword reads, or -1; the key there.
struct Stored { const char* name; DWORD type; std::string bytes; std::optional<std::string> text; long long number;
                bool key = true; };

const std::string k199(199, 'a'), k200(200, 'b'), kC("C:\\", 4);

class Values : public Registry, public testing::WithParamInterface<Stored> {};

TEST_P(Values, AreStoredWithTheirTypeAndReadOnlyAsThatType)
{
    const Stored& row = GetParam();
    if (row.type == REG_SZ || row.type == REG_DWORD)
        ASSERT_TRUE(row.type == REG_SZ ? WriteRegString(HKEY_CURRENT_USER, kKey.c_str(), "Value", row.bytes.c_str())
                                       : WriteRegDword(HKEY_CURRENT_USER, kKey.c_str(), "Value", row.number));
    else if (row.key) // without a type: only another value
        testenv::WriteReg(HKEY_CURRENT_USER, kKey, row.type == REG_NONE ? "Other" : "Value", row.type, row.bytes);
    const testenv::RegValue stored = ReadReg(HKEY_CURRENT_USER, kKey, "Value");
    EXPECT_EQ(std::make_pair(row.type, row.bytes), std::make_pair(stored.type, stored.bytes));

    std::string text = "kept"; // on failure
    EXPECT_EQ(row.text.has_value(), ReadRegString(HKEY_CURRENT_USER, kKey.c_str(), "Value", text));
    EXPECT_EQ(row.text.value_or("kept"), text);
    DWORD number = 0;
    EXPECT_EQ(row.number, ReadRegDword(HKEY_CURRENT_USER, kKey.c_str(), "Value", number) ? number : -1LL);
    EXPECT_EQ(row.key, testenv::KeyExists(HKEY_CURRENT_USER, kKey)); // no reader makes it
}

INSTANTIATE_TEST_SUITE_P(Registry, Values, testing::ValuesIn(std::vector<Stored>{
    {"MissingKey", REG_NONE, "", std::nullopt, -1, false}, {"MissingValue", REG_NONE, "", std::nullopt, -1},
    {"EmptyText", REG_SZ, std::string(1, '\0'), "", -1}, {"PolishText", REG_SZ, {"C:\\Jeż", 7}, "C:\\Jeż", -1},
    {"TextOf200Bytes", REG_SZ, k199 + '\0', k199, -1}, {"TextOf201Bytes", REG_SZ, k200 + '\0', std::nullopt, -1},
    {"ExpandableText", REG_EXPAND_SZ, kC, "C:\\", -1}, {"NumberSpellingC", REG_DWORD, kC, std::nullopt, 0x5c3a43},
    {"BinarySpellingC", REG_BINARY, kC, std::nullopt, -1}}), ui::RowName());

TEST_F(Registry, TreeDeletionTakesEveryLevelBelowAndLeavesTheParentOpen)
{
    for (const char* leaf : {"\\A\\B\\C\\D", "\\A\\B\\E", "\\A\\F", "\\G", "\\H\\I"})
        testenv::WriteRegNumber(HKEY_CURRENT_USER, kBase + "\\Tree" + leaf, "Number", 1);
    HKEY parent;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, cp1250::Wide(kBase).c_str(), 0, KEY_READ, &parent));
    EXPECT_TRUE(DeleteRegKeyTree(parent, "Tree"));
    wchar_t name[8]; // nothing left, seen through the caller's handle, still open
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyW(parent, 0, name, 8));
    RegCloseKey(parent);
}

struct Record : testing::Test {
    void SetUp() override { testenv::ForgetInstallation(); }
    void TearDown() override { testenv::ForgetInstallation(m_dir); }
    const std::string m_dir = testenv::ScratchDir("record");
};

// An earlier version's record of e: (without the kind) and a longer jex.ini or not, InstallCount before and the
// record then removed or not; the CD and the kind recorded; InstallCount after.
struct Recording { const char* name; bool earlier; int counter; bool removed; char cd; bool full; int count; };

class RecordOfEachKind : public Record, public testing::WithParamInterface<Recording> {};

TEST_P(RecordOfEachKind, EveryValueJexIniAndTheUninstallEntry)
{
    const Recording& row = GetParam();
    if (row.earlier) {
        for (const char* name : {"ProgramPath", "ProgramExecutable", "ProgramConfig"})
            testenv::WriteRegText(HKEY_CURRENT_USER, kProductKey, name, std::string("E:\\") + name);
        testenv::WriteRegText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", "e:\\install.exe");
        testenv::WriteFileBytes(m_dir + "\\jex.ini", std::string(500, 'x'));
        EXPECT_TRUE(ReadInstallRecord().FullInstall); // whatever it was: its removal takes every file there is
    }
    testenv::WriteRegNumber(HKEY_CURRENT_USER, kProductKey, "InstallCount", row.counter);
    if (row.removed) { // and the counter starts again at 1
        RemoveInstallRecord();
        EXPECT_FALSE(testenv::KeyExists(HKEY_CURRENT_USER, kProductKey) ||
                     testenv::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    }

    ASSERT_TRUE(WriteGameConfig(m_dir, row.cd, row.full));
    WriteInstallRecord(m_dir, row.cd, row.full, row.full ? 579639189 : 233163669);
    for (auto [name, file] : {std::pair{"ProgramPath", ""}, {"ProgramExecutable", "\\jex.exe"},
                              {"ProgramConfig", "\\jexsetup.exe"}})
        EXPECT_EQ(m_dir + file, ReadReg(HKEY_CURRENT_USER, kProductKey, name).Text());
    EXPECT_EQ(row.full ? 1 : 0, ReadReg(HKEY_CURRENT_USER, kProductKey, "FullInstall").Number());
    EXPECT_EQ(row.count, ReadReg(HKEY_CURRENT_USER, kProductKey, "InstallCount").Number());
    EXPECT_FALSE(ReadReg(HKEY_CURRENT_USER, kProductKey, "InstallCountBefore").found);
    // The entry in the list of removable programs: what the list shows, in kilobytes of the kind installed.
    for (auto [name, text] : {std::pair<const char*, std::string>{"DisplayName", "Jex"},
                              {"UninstallString", row.cd + std::string(":\\install.exe")},
                              {"DisplayIcon", m_dir + "\\JEX.EXE"}, {"Publisher", "Kestrel Forge"},
                              {"DisplayVersion", "1.0.0.0"}, {"InstallLocation", m_dir}})
        EXPECT_EQ(text, ReadReg(HKEY_LOCAL_MACHINE, kUninstallKey, name).Text()) << name;
    std::vector<long long> numbers;
    for (const char* name : {"EstimatedSize", "NoModify", "NoRepair"})
        numbers.push_back(ReadReg(HKEY_LOCAL_MACHINE, kUninstallKey, name).Number());
    EXPECT_EQ((std::vector<long long>{row.full ? 566054 : 227699, 1, 1}), numbers);
    EXPECT_EQ(std::string("[]\r\n\r\n[/CONFIG_CATEGORY_USER]\r\n\r\n[/CONFIG_CATEGORY_USER/Instalation]\r\n"
                          "\"instalation type\"=dword:0000000") + (row.full ? '0' : '1') +
                  "\r\n\"cd path\"=string:\"" + row.cd + ":\\\"\r\n\r\n",
              testenv::ReadFileBytes(m_dir + "\\jex.ini"));
    EXPECT_EQ(row.full, ReadInstallRecord().FullInstall);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RecordOfEachKind, testing::ValuesIn(std::vector<Recording>{
    {"PartialFromD", false, 0, false, 'd', false, 1}, {"FullFromE", false, 0, false, 'e', true, 1},
    {"Again", true, 2, false, 'd', false, 2}, {"CounterWithoutAPath", false, 3, false, 'd', false, 4},
    {"AfterARemoval", true, 2, true, 'd', false, 1}}), ui::RowName());

// The record's writing stopped after any number of its writes, as by a power cut: with no record before, or over a
// complete one of the other kind in another directory. What is left is believed whole or not at all: where the game
// counts as installed, the kind recorded covers the kind written for that directory. And a writing after the cut
// counts the installations from the last complete record.
TEST_F(Record, CutOffAnywhereIsNeverHalfBelieved)
{
    const std::string earlier = m_dir + "\\Stara";
    for (auto [before, full] : {std::pair{-1, true}, {0, true}, {1, false}}) { // the earlier kind (-1: none); this one
        bool cut = true;
        for (int allowed = 0; cut; ++allowed) {
            testenv::ForgetInstallation();
            if (before >= 0)
                WriteInstallRecord(earlier, 'd', before, 1);
            int writes = 0;
            WriteInstallRecord(m_dir, 'd', full, 1, [&] { return writes++ < allowed; });
            cut = writes > allowed;
            std::string dir, exe;
            const bool installed = ReadGameLocation(dir, exe);
            EXPECT_TRUE(!installed || ReadInstallRecord().FullInstall || !(dir == m_dir ? full : before == 1))
                << dir << ", cut after " << allowed << " writes";
            WriteInstallRecord(m_dir, 'd', full, 1);
            EXPECT_EQ(1, ReadReg(HKEY_CURRENT_USER, kProductKey, "InstallCount").Number()) << allowed << " writes";
        }
    }
}

// The longest target taken is recorded readably, so the game shows as installed and can be removed; a longer one
// would not be, so no target that could be is refused.
TEST_F(Record, TheLongestTargetTakenIsTheLongestRecordedReadably)
{
    std::string config;
    for (size_t length : {TargetLengthLimit(), TargetLengthLimit() + 1}) {
        WriteInstallRecord("C:\\" + std::string(length - 3, 'j'), 'd', false, 1);
        EXPECT_EQ(length == TargetLengthLimit(), ReadRegString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig", config));
    }
}

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kLinks[][2] = {{"Jex.lnk", "Jex.exe"}, {"Program instalacyjny.lnk", "jexinstl.exe"},
                                 {"Program konfiguracyjny.lnk", "jexsetup.exe"}};

// A shortcut file as the shell's link object reads it: its target, working directory, arguments and
// description; nothing when it does not load.
Texts ReadLink(const std::string& file)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> persist;
    wchar_t text[4][MAX_PATH] = {};
    const bool read =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &link)) &&
        SUCCEEDED(link.As(&persist)) && SUCCEEDED(persist->Load(cp1250::Wide(file).c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(text[1], MAX_PATH)) &&
        SUCCEEDED(link->GetArguments(text[2], MAX_PATH)) && SUCCEEDED(link->GetDescription(text[3], MAX_PATH));
    auto narrow = [&](int i) { return cp1250::Narrow(text[i]); };
    return read ? Texts{narrow(0), narrow(1), narrow(2), narrow(3)} : Texts{};
}

Names Entries(const std::string& folder)
{
    Names names;
    const std::filesystem::path root = cp1250::Wide(folder);
    for (std::error_code error; const auto& entry : std::filesystem::recursive_directory_iterator(root, error))
        names.insert(cp1250::Narrow(entry.path().lexically_relative(root).generic_wstring()));
    return names;
}

// The test's own folder as the Programs folder; names in ASCII: without the Linux locale, Wine cannot make others.
struct Shortcuts : testing::Test {
    void SetUp() override { testenv::WriteRegText(HKEY_CURRENT_USER, kShellFolders, "Programs", m_dir); }
    void TearDown() override
    {
        CoUninitialize();
        testenv::ChangeDir("C:\\");
        if (m_saved.found)
            testenv::WriteReg(HKEY_CURRENT_USER, kShellFolders, "Programs", m_saved.type, m_saved.bytes);
        testenv::RemoveTree(m_dir);
        testenv::RemoveTree("C:\\Kestrel Forge");
    }
    // Makes the group; how many of its parts could not be made. The user
    // is told by the installation, never by the group's own code.
    static int Create(const std::string& install)
    {
        ui::MessageBoxWatcher boxes(install_driver::kAppTitle);
        const int failed = CreateShortcuts(install, 'd');
        EXPECT_EQ(Texts{}, boxes.Texts());
        return failed;
    }

    const HRESULT m_com = CoInitialize(nullptr); // for the link object
    const testenv::RegValue m_saved = ReadReg(HKEY_CURRENT_USER, kShellFolders, "Programs");
    const std::string m_dir = testenv::ScratchDir("shortcuts"), m_install = m_dir + "\\Gry\\Jex";
};

// The Programs value: the test's folder and this (null: none); at the removal, another game's folder beside the group
// and a file of the user's beside the links, or not.
struct ProgramsValue { const char* name; const char* value; bool foreign = false; };

class GroupUnderPrograms : public Shortcuts, public testing::WithParamInterface<ProgramsValue> {};

TEST_P(GroupUnderPrograms, IsMadeAgainOverAnOldOneAndRemovedAloneFromTheSamePlace)
{
    ASSERT_TRUE(testenv::ChangeDir(m_dir)); // without the value, the root of its drive
    GetParam().value ? testenv::WriteRegText(HKEY_CURRENT_USER, kShellFolders, "Programs", m_dir + GetParam().value)
                     : testenv::DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, "Programs");
    ASSERT_EQ(0, Create(m_dir + "\\Stara\\Jex"));
    EXPECT_EQ(0, Create(m_install));
    const std::string maker = (GetParam().value ? m_dir : "C:") + "\\Kestrel Forge", group = maker + "\\Jex";
    for (const auto& link : kLinks) // to the program, in its directory, nothing more
        EXPECT_EQ((Texts{m_install + "\\" + link[1], m_install + "\\", "", ""}), ReadLink(group + "\\" + link[0]));

    if (GetParam().foreign) {
        testenv::MakeDirs(maker + "\\Inna gra");
        testenv::WriteFileBytes(group + "\\notatki.txt", "moje");
    }
    RemoveShortcuts();
    EXPECT_EQ((GetParam().foreign ? Names{"Inna gra", "Jex", "Jex/notatki.txt"} : Names{}), Entries(maker));
    EXPECT_EQ(std::pair(GetParam().foreign, true), std::pair(testenv::DirExists(maker), testenv::DirExists(m_dir)));
}

INSTANTIATE_TEST_SUITE_P(Values, GroupUnderPrograms, testing::ValuesIn(std::vector<ProgramsValue>{
    {"Programs", ""}, {"ProgramsWithBackslash", "\\"}, {"NoValue", nullptr}, {"SomethingElseInTheFolders", "", true}}),
    ui::RowName());

TEST_F(Shortcuts, EachCreationFailureIsCountedOnceAndTheRestGoesOn)
{
    const std::string maker = m_dir + "\\Kestrel Forge", group = maker + "\\Jex";
    testenv::WriteFileBytes(maker, "notatki"); // a file where the group folder goes: the folder and every link fail
    EXPECT_EQ(4, Create(m_install));
    ASSERT_TRUE(testenv::RemoveFile(maker));
    testenv::MakeDirs(group + "\\Program instalacyjny.lnk"); // a folder in the way of one link: the others are made
    EXPECT_EQ(1, Create(m_install));
    EXPECT_EQ(3u, Entries(group).size());
}

} // namespace
