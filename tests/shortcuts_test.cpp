#include "sysreg/Shortcuts.h"

#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kAppCaption[] = "Program instalacyjny";
constexpr char kShortcutError[] = "Wystąpił błąd podczas tworzenia skrótu do programu.";
const std::vector<std::string> kLinkNames = {"Jex.lnk", "Program instalacyjny.lnk",
                                             "Program konfiguracyjny.lnk"};
const std::vector<std::string> kTargets = {"Jex.exe", "jexinstl.exe", "jexsetup.exe"};

// Answers every application message box with OK until it goes, on a thread
// of its own, and keeps their texts.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer()
        : m_thread([this] {
              while (!m_stop) {
                  ui::MessageBoxSeen seen = ui::AnswerMessageBox(kAppCaption, IDOK, 200);
                  if (seen.window) {
                      std::lock_guard<std::mutex> lock(m_mutex);
                      m_texts.push_back(seen.text);
                  }
              }
          })
    {
    }
    ~MessageBoxAnswerer() { Stop(); }
    // Every box answered so far, once the answering has ended: a box just
    // closed may still be on its way into the list until then.
    std::vector<std::string> Texts()
    {
        Stop();
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_texts;
    }

private:
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::string> m_texts;
    std::thread m_thread;
};

struct LinkContents {
    bool loaded = false;
    std::string path;
    std::string workingDir;
    std::string arguments;
    std::string description;
};

// Reads a shortcut file back through the shell's link object.
LinkContents ReadLink(const std::string& linkPath)
{
    LinkContents contents;
    const HRESULT init = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                contents.loaded = true;
                char text[1024] = {};
                link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
                contents.path = text;
                text[0] = 0;
                link->GetWorkingDirectory(text, sizeof text);
                contents.workingDir = text;
                text[0] = 0;
                link->GetArguments(text, sizeof text);
                contents.arguments = text;
                text[0] = 0;
                link->GetDescription(text, sizeof text);
                contents.description = text;
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return contents;
}

// The names in a folder, without "." and "..".
std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof m_savedCurrentDir, m_savedCurrentDir);
        m_hadPrograms = ReadPrograms(m_savedPrograms);
        testenv::RemoveTree("C:\\Kestrel Forge");

        m_dir = testenv::ScratchDir(m_scratchName);
        // ASCII only: without the Linux locale installed, Wine cannot map
        // other letters to Unix file names.
        m_programs = m_dir + "\\Menu Start\\Programy";
        m_install = m_dir + "\\Gry\\Jex";
        CreateDirectoryA((m_dir + "\\Menu Start").c_str(), nullptr);
        CreateDirectoryA(m_programs.c_str(), nullptr);
        MakeInstallDir(m_install);
        SetPrograms(m_programs);
    }

    void TearDown() override
    {
        SetCurrentDirectoryA(m_savedCurrentDir);
        if (m_hadPrograms)
            SetPrograms(m_savedPrograms);
        else
            DeletePrograms();
        if (!m_keepFiles)
            testenv::RemoveTree(m_dir);
        testenv::RemoveTree("C:\\Kestrel Forge");
    }

    static bool ReadPrograms(std::string& value)
    {
        char buffer[MAX_PATH] = {};
        DWORD size = sizeof buffer - 1;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        LONG status = RegQueryValueExA(key, "Programs", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        value = buffer;
        return status == ERROR_SUCCESS;
    }

    static void SetPrograms(const std::string& value)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, "Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

    static void DeletePrograms()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Programs");
            RegCloseKey(key);
        }
    }

    // An install directory holding the three programs, as after the copy.
    static void MakeInstallDir(const std::string& dir)
    {
        CreateDirectoryA(dir.substr(0, dir.rfind('\\')).c_str(), nullptr);
        CreateDirectoryA(dir.c_str(), nullptr);
        for (const char* name : {"JEX.EXE", "JEXINSTL.EXE", "JEXSETUP.EXE"}) {
            HANDLE file = CreateFileA((dir + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(file);
        }
    }

    // Creates the shortcuts with every message box answered; returns the
    // texts of the boxes.
    std::vector<std::string> Create()
    {
        MessageBoxAnswerer answerer;
        CreateShortcuts(m_install, 'd');
        return answerer.Texts();
    }

    // The three links in the group folder point into the install directory.
    static void ExpectLinks(const std::string& group, const std::string& installDir)
    {
        EXPECT_EQ(std::set<std::string>(kLinkNames.begin(), kLinkNames.end()), FolderEntries(group));
        for (size_t i = 0; i < kLinkNames.size(); ++i) {
            LinkContents link = ReadLink(group + "\\" + kLinkNames[i]);
            ASSERT_TRUE(link.loaded) << kLinkNames[i];
            EXPECT_EQ(installDir + "\\" + kTargets[i], link.path) << kLinkNames[i];
            EXPECT_EQ(installDir + "\\", link.workingDir) << kLinkNames[i];
            EXPECT_EQ("", link.arguments) << kLinkNames[i];
            EXPECT_EQ("", link.description) << kLinkNames[i];
        }
    }

    std::string m_scratchName = "shortcuts";
    bool m_keepFiles = false;
    std::string m_dir;
    std::string m_programs;
    std::string m_install;

private:
    char m_savedCurrentDir[MAX_PATH] = {};
    bool m_hadPrograms = false;
    std::string m_savedPrograms;
};

TEST_F(Shortcuts, GroupWithThreeLinksUnderTheProgramsFolder)
{
    for (const std::string& programs : {m_programs, m_programs + "\\"}) {
        SCOPED_TRACE(programs);
        SetPrograms(programs);
        EXPECT_TRUE(Create().empty());
        // One folder level per name: no empty-named folder from a doubled
        // backslash, nothing else beside the maker folder.
        EXPECT_EQ(std::set<std::string>{"Kestrel Forge"}, FolderEntries(m_programs));
        EXPECT_EQ(std::set<std::string>{"Jex"}, FolderEntries(m_programs + "\\Kestrel Forge"));
        ExpectLinks(m_programs + "\\Kestrel Forge\\Jex", m_install);
        testenv::RemoveTree(m_programs + "\\Kestrel Forge");
    }
}

TEST_F(Shortcuts, UnreadableProgramsValuePutsTheGroupAtTheRootOfTheCurrentDrive)
{
    DeletePrograms();
    ASSERT_TRUE(SetCurrentDirectoryA(m_dir.c_str())); // drive C:
    EXPECT_TRUE(Create().empty());
    ExpectLinks("C:\\Kestrel Forge\\Jex", m_install);

    RemoveShortcuts();
    EXPECT_FALSE(testenv::DirExists("C:\\Kestrel Forge"));
}

TEST_F(Shortcuts, CreatingOverAnExistingGroupReplacesTheLinks)
{
    ASSERT_TRUE(Create().empty());
    const std::string moved = m_dir + "\\Inne\\Jex";
    MakeInstallDir(moved);
    m_install = moved;
    EXPECT_TRUE(Create().empty());
    ExpectLinks(m_programs + "\\Kestrel Forge\\Jex", moved);
}

TEST_F(Shortcuts, GroupFolderThatCannotBeMadeGivesFourMessages)
{
    // A Programs folder below an existing file.
    const std::string file = m_dir + "\\plik.txt";
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    CloseHandle(handle);
    SetPrograms(file + "\\Programy");

    std::vector<std::string> texts = Create();
    EXPECT_EQ(std::vector<std::string>(4, kShortcutError), texts);
    EXPECT_TRUE(testenv::FileExists(file));
}

TEST_F(Shortcuts, OneLinkThatCannotBeSavedGivesOneMessage)
{
    // A folder in the way of the second link file.
    const std::string group = m_programs + "\\Kestrel Forge\\Jex";
    CreateDirectoryA((m_programs + "\\Kestrel Forge").c_str(), nullptr);
    CreateDirectoryA(group.c_str(), nullptr);
    CreateDirectoryA((group + "\\Program instalacyjny.lnk").c_str(), nullptr);

    EXPECT_EQ(std::vector<std::string>{kShortcutError}, Create());
    EXPECT_TRUE(ReadLink(group + "\\Jex.lnk").loaded);
    EXPECT_TRUE(ReadLink(group + "\\Program konfiguracyjny.lnk").loaded);
}

TEST_F(Shortcuts, RemovalDeletesTheLinksAndBothFolders)
{
    ASSERT_TRUE(Create().empty());
    RemoveShortcuts();
    EXPECT_TRUE(FolderEntries(m_programs).empty());
    EXPECT_TRUE(testenv::DirExists(m_programs));
    // The programs themselves are not touched.
    EXPECT_EQ(3u, FolderEntries(m_install).size());

    // Already gone: silent and true, nothing made.
    RemoveShortcuts();
    EXPECT_TRUE(FolderEntries(m_programs).empty());
}

TEST_F(Shortcuts, RemovalKeepsFoldersThatHoldSomethingElse)
{
    ASSERT_TRUE(Create().empty());
    const std::string maker = m_programs + "\\Kestrel Forge";
    CreateDirectoryA((maker + "\\Inna gra").c_str(), nullptr);
    RemoveShortcuts();
    EXPECT_EQ(std::set<std::string>{"Inna gra"}, FolderEntries(maker));

    // A file of the user's own keeps the group folder; the links still go.
    ASSERT_TRUE(Create().empty());
    const std::string group = maker + "\\Jex";
    HANDLE handle = CreateFileA((group + "\\notatki.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(handle);
    RemoveShortcuts();
    EXPECT_EQ(std::set<std::string>{"notatki.txt"}, FolderEntries(group));
}

TEST_F(Shortcuts, ShellLinkCarriesWhatItIsGiven)
{
    const std::string link = m_dir + "\\Gra.lnk";
    const std::string target = m_install + "\\JEX.EXE";
    ASSERT_TRUE(CreateShellLink(target.c_str(), link.c_str(), "-okno", m_dir.c_str(), "Gra ż"));
    LinkContents full = ReadLink(link);
    ASSERT_TRUE(full.loaded);
    EXPECT_EQ(target, full.path);
    EXPECT_EQ(m_dir, full.workingDir);
    EXPECT_EQ("-okno", full.arguments);
    EXPECT_EQ("Gra ż", full.description);

    // Saved again over the same file, with nothing optional.
    ASSERT_TRUE(CreateShellLink(target.c_str(), link.c_str(), nullptr, nullptr, nullptr));
    LinkContents bare = ReadLink(link);
    ASSERT_TRUE(bare.loaded);
    EXPECT_EQ(target, bare.path);
    EXPECT_EQ("", bare.workingDir);
    EXPECT_EQ("", bare.arguments);
    EXPECT_EQ("", bare.description);

    // A folder that does not exist: not saved.
    const std::string nowhere = m_dir + "\\Brak\\Gra.lnk";
    EXPECT_FALSE(CreateShellLink(target.c_str(), nowhere.c_str(), nullptr, nullptr, nullptr));
    EXPECT_FALSE(testenv::FileExists(nowhere));
}

// Leaves its group under C:\jextest\lnkinfo for the check from the Linux
// side (shortcuts_lnkinfo.sh), which reads the files with lnkinfo and
// removes them.
class ShortcutsForLinuxReader : public Shortcuts {
protected:
    ShortcutsForLinuxReader()
    {
        m_scratchName = "lnkinfo";
        m_keepFiles = true;
    }
};

TEST_F(ShortcutsForLinuxReader, LeaveGroup)
{
    EXPECT_TRUE(Create().empty());
    ExpectLinks(m_programs + "\\Kestrel Forge\\Jex", m_install);
}

} // namespace
