// The copy and removal engines on real files in scratch folders, with faults
// put into the file system at chosen calls and offsets and every question
// answered from a script; the path helpers and what the manifest promises;
// then, in this process, the engines' two windows and the overwrite question.
#include "install/CopyEngine.h"
#include "install/CopyPaths.h"
#include "install/CopyProgressDialog.h"
#include "install/InstallManifest.h"
#include "install/OverwriteDialog.h"
#include "install/RemovalEngine.h"
#include "install/UninstallProgressDialog.h"
#include "resource.h"
#include "support/EngineDoubles.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Op = FaultyFileSystem::Op;
using Strings = std::vector<std::string>;
using Bars = std::vector<int>;
constexpr int64_t kChunk = CopyEngine::kChunkSize;
// The fewest bytes that move a partial installation's overall bar to 1 %.
constexpr int64_t kOnePercent = (PartialInstallBytes + 99) / 100;

// Sources in C:\jextest\engine\, copies in C:\jextest\engine\Jex.
class Engine : public ::testing::Test {
protected:
    void SetUp() override { testenv::ScratchDir("engine"), testenv::MakeDirs(m_dest); }
    void TearDown() override { testenv::RemoveTree("C:\\jextest\\engine"); }

    // Bytes that differ from block to block and from chunk to chunk, so a
    // gap or a doubled or misplaced block shows.
    std::string PutSource(const std::string& entry, int64_t size, char seed = 'a')
    {
        std::string bytes(static_cast<size_t>(size), '\0');
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(seed + i * 7 + i / 1021 + i / 65521);
        testenv::WriteFileBytes(m_source + entry, bytes);
        return bytes;
    }
    std::string Dest(const std::string& entry) const { return m_dest + "\\" + entry; }
    std::string Copied(const std::string& entry) const { return testenv::ReadFileBytes(Dest(entry)); }
    bool Copy(std::vector<const char*> table, bool full = false)
    {
        table.push_back(nullptr);
        return CopyEngine(m_dest, m_source, full, m_view, m_files).CopyFiles(table.data());
    }

    const std::string m_source = "C:\\jextest\\engine\\", m_dest = m_source + "Jex";
    ScriptedView m_view;
    FaultyFileSystem m_files;
};

// Every size is copied whole; the file's bar runs from 0 to 100 (an empty
// file's stays at 0). The overall bar counts every byte: after a filler
// that leaves the pass one byte short of 1 %, it shows 0 until one more
// byte is copied.
class Sizes : public Engine, public ::testing::WithParamInterface<int64_t> {};

TEST_P(Sizes, CopiedWholeAndCountedToTheByte)
{
    const int64_t size = GetParam();
    const std::string bytes = PutSource("X.DAT", size);
    PutSource("FILLER.DAT", kOnePercent - 1 - size, 'f');
    PutSource("ONE.DAT", 1);
    ASSERT_TRUE(Copy({"X.DAT", "FILLER.DAT", "ONE.DAT"}));
    EXPECT_TRUE(testenv::FileExists(Dest("X.DAT")) && bytes == Copied("X.DAT")) << "the copy differs from the source";
    EXPECT_TRUE(m_view.asked.empty());
    // X's bar: up to the filler's start at 0.
    const Bars bar(m_view.fileBar.begin(), std::find(m_view.fileBar.begin() + 1, m_view.fileBar.end(), 0));
    EXPECT_EQ(0, bar.front());
    EXPECT_EQ(size ? 100 : 0, bar.back());
    EXPECT_TRUE(std::is_sorted(bar.begin(), bar.end()));
    EXPECT_EQ(Bars({0, 1}), Bars(m_view.overallBar.end() - 2, m_view.overallBar.end()));
}

INSTANTIATE_TEST_SUITE_P(Engine, Sizes,
                         ::testing::Values(0, 1, 1023, 1024, 1025, kChunk, 2 * kChunk, 3 * kChunk + 5),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param); });

TEST_F(Engine, OverallBarCountsAgainstTheChosenKind)
{
    // 1 % of the partial kind's total is 0 % of the full kind's.
    PutSource("A.DAT", kOnePercent);
    ASSERT_TRUE(Copy({"A.DAT"}, true));
    EXPECT_EQ(0, m_view.overallBar.back());
}

// One file under each kind of fault, answered Retry or Cancel as scripted,
// after a filler that leaves the pass one byte short of 1 %, so the overall
// bar shows whether the file's bytes count. Whatever was asked, a file
// reported copied is byte for byte the source; one given up is off both bars.
struct FaultCase {
    const char* name;
    FaultyFileSystem::Fault fault;
    std::vector<bool> answers;
    bool copied;
    Strings questions; // %s: the failing path
    Bars fileBarAtQuestions;
};

const char kWrite[] = "Błąd przy zapisie do pliku '%s'";
const char kRead[] = "Błąd przy odczycie z pliku '%s'";
const char kOpen[] = "Błąd przy otwieraniu pliku '%s'";
const char kFile[] = "Błąd przy kopiowaniu pliku 'ART.DAT'";
constexpr int64_t kArtSize = 2 * kChunk + 3000;
constexpr int kFirstChunk = static_cast<int>(kChunk * 100 / kArtSize);

class CopyFaults : public Engine, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CopyFaults, EndWithTheWholeFileOrNoneOfIt)
{
    const FaultCase& c = GetParam();
    PutSource("FILLER.DAT", kOnePercent - 1, 'f');
    const std::string bytes = PutSource("ART.DAT", kArtSize);
    m_files.Add(c.fault);
    m_view.retries.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(c.copied, Copy({"FILLER.DAT", "ART.DAT"}));

    EXPECT_EQ(c.fault.times, m_files.hits);
    const bool onSource = c.fault.op == Op::Open || c.fault.op == Op::Read;
    Strings expected;
    for (std::string question : c.questions) {
        if (size_t at = question.find("%s"); at != std::string::npos)
            question.replace(at, 2, onSource ? m_source + "ART.DAT" : Dest("ART.DAT"));
        expected.push_back("retry: " + question);
    }
    EXPECT_EQ(expected, m_view.asked);
    EXPECT_EQ(c.fileBarAtQuestions, m_view.fileBarAtQuestion);
    EXPECT_EQ(c.copied ? 100 : 0, m_view.fileBar.back());
    EXPECT_EQ(c.copied ? 1 : 0, m_view.overallBar.back());
    EXPECT_TRUE(!c.copied || bytes == Copied("ART.DAT")) << "the copy differs from the source";
}

INSTANTIATE_TEST_SUITE_P(
    Engine, CopyFaults,
    ::testing::Values(
        // A full disk: the write gets part of the way into the second chunk.
        FaultCase{"DiskFullMidChunk", {Op::Write, "ART.DAT", 1, kChunk + 65536}, {true}, true, {kWrite}, {kFirstChunk}},
        FaultCase{"DiskFullTwice", {Op::Write, "ART.DAT", 2, 1000}, {true, true}, true, {kWrite, kWrite}, {0, 0}},
        FaultCase{"WriteFailsAtAChunkBoundary", {Op::Write, "ART.DAT", 1, kChunk}, {true}, true, {kWrite}, {kFirstChunk}},
        // A scratched disc: a short read, then the whole chunk again.
        FaultCase{"ShortRead", {Op::Read, "ART.DAT", 1, kChunk + 777}, {true}, true, {kRead}, {kFirstChunk}},
        // The filler's 100 % is gone from the file bar before ART opens.
        FaultCase{"SourceDoesNotOpen", {Op::Open, "ART.DAT", 1}, {true}, true, {kOpen}, {0}},
        FaultCase{"TargetDoesNotOpen", {Op::Create, "ART.DAT", 1}, {true}, true, {kOpen}, {0}},
        // Cancel at the chunk, Retry of the whole file from its start; the
        // half-copied file of this pass gets no overwrite question.
        FaultCase{"WriteCancelledThenFileRetried", {Op::Write, "ART.DAT", 1, 5000}, {false, true}, true, {kWrite, kFile}, {0, 0}},
        FaultCase{"ReadCancelledThenFileRetried", {Op::Read, "ART.DAT", 1, 9000}, {false, true}, true, {kRead, kFile}, {0, 0}},
        // Closing the copy fails (its last bytes lost): only the whole file can be tried again.
        FaultCase{"CloseFails", {Op::Close, "ART.DAT", 1}, {true}, true, {kFile}, {0}},
        FaultCase{"GivingUp", {Op::Write, "ART.DAT", 1, kChunk + 10}, {false, false}, false, {kWrite, kFile}, {kFirstChunk, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// Three existing files under a run of answers; kept or replaced, each
// counts with its source's size.
struct StandingCase {
    const char* name;
    std::vector<OverwriteAnswer> answers;
    std::string afterwards; // A, B and C
    size_t questions;
};

class StandingAnswers : public Engine, public ::testing::WithParamInterface<StandingCase> {};

TEST_P(StandingAnswers, HoldForTheRestOfThePass)
{
    const StandingCase& c = GetParam();
    PutSource("FILLER.DAT", kOnePercent - 9, 'f');
    for (const char* name : {"A.DAT", "B.DAT", "C.DAT"})
        testenv::WriteFileBytes(m_source + name, "new"), testenv::WriteFileBytes(Dest(name), "old");
    m_view.overwrites.assign(c.answers.begin(), c.answers.end());
    ASSERT_TRUE(Copy({"FILLER.DAT", "A.DAT", "B.DAT", "C.DAT"}));
    EXPECT_EQ(c.afterwards, Copied("A.DAT") + Copied("B.DAT") + Copied("C.DAT"));
    ASSERT_EQ(c.questions, m_view.asked.size());
    EXPECT_EQ("overwrite: " + Dest("A.DAT"), m_view.asked.front());
    EXPECT_EQ(1, m_view.overallBar.back());
}

INSTANTIATE_TEST_SUITE_P(Engine, StandingAnswers,
                         ::testing::Values(StandingCase{"YesToAll", {YesToAll}, "newnewnew", 1},
                                           StandingCase{"NoToAll", {NoToAll}, "oldoldold", 1},
                                           StandingCase{"YesNoYes", {Yes, No, Yes}, "newoldnew", 3},
                                           // "Nie" and Escape stand for one file only.
                                           StandingCase{"NoNoNo", {No, No, No}, "oldoldold", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Engine, DirectoriesWithAncestorsAndTheirFailures)
{
    const std::string target = m_dest + "\\deep\\er\\Jex";
    const char* dirs[] = {"LEVEL", "LEVEL\\FERN1", "DATA", nullptr};
    CopyEngine deep(target, m_source, false, m_view, m_files);
    EXPECT_TRUE(deep.CreateDirectories(dirs));
    EXPECT_TRUE(deep.CreateDirectories(dirs)) << "again over what exists";
    EXPECT_EQ(Strings(dirs, dirs + 3), installed::PresentEntries(target, dirs));
    EXPECT_TRUE(m_view.asked.empty());

    // A failing directory: Retry makes it again, Cancel ends the step at once.
    m_files.Add({Op::MakeDir, "FERN1", 2});
    testenv::RemoveTree(target + "\\LEVEL\\FERN1"), testenv::RemoveTree(target + "\\DATA");
    m_view.retries = {true};
    EXPECT_FALSE(deep.CreateDirectories(dirs));
    EXPECT_EQ(Strings(2, "retry: Błąd przy tworzeniu katalogu '" + target + "\\LEVEL\\FERN1'"), m_view.asked);
    EXPECT_EQ(Strings{"LEVEL"}, installed::PresentEntries(target, dirs));

    // No components at all: the stop message, nothing made.
    m_view.asked.clear();
    EXPECT_FALSE(CopyEngine("", m_source, false, m_view, m_files).CreateDirectories(dirs));
    EXPECT_EQ(Strings{"error: Błąd przy tworzeniu katalogu ''"}, m_view.asked);
}

// --- Removal: the files of a table, last first, but the installer's copy
// and whatever is not listed.
const char* const kInstalled[] = {"DATA\\SFX.DAT", "JEX.EXE", "JEXINSTL.EXE", "DOS4GW.EXE", nullptr};
const char* const kInstalledAndMine[] = {"DATA\\SFX.DAT", "JEX.EXE", "JEXINSTL.EXE", "DOS4GW.EXE", "USER.TXT", nullptr};

struct RemovalCase {
    const char* name;
    const char* gone; // deleted beforehand
    int held;         // failing deletions of JEX.EXE
    std::vector<bool> answers;
    bool removed;
    Strings shown;
    Bars bar;
    Strings left;
};

class RemovalFaults : public Engine, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(RemovalFaults, DeleteLastFirstAskingAboutWhatStays)
{
    const RemovalCase& c = GetParam();
    testenv::MakeDirs(m_dest + "\\DATA");
    for (const char* const* entry = kInstalledAndMine; *entry; ++entry)
        testenv::WriteFileBytes(Dest(*entry), "x");
    if (c.gone)
        DeleteFileA(Dest(c.gone).c_str());
    m_files.Add({Op::RemoveFile, "JEX.EXE", c.held});
    m_view.retries.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(c.removed, RemovalEngine(m_dest, m_view, m_files).DeleteFiles(kInstalled));
    EXPECT_EQ(Strings(static_cast<size_t>(c.held), "retry: Błąd przy usuwaniu pliku 'JEX.EXE'"), m_view.asked);
    EXPECT_EQ(c.shown, m_view.fileNames);
    EXPECT_EQ(c.bar, m_view.removalBar);
    EXPECT_EQ(c.left, installed::PresentEntries(m_dest, kInstalledAndMine));
}

const Strings kAllShown = {"DOS4GW.EXE", "JEX.EXE", "DATA\\SFX.DAT"};
const Strings kKept = {"JEXINSTL.EXE", "USER.TXT"};

INSTANTIATE_TEST_SUITE_P(
    Engine, RemovalFaults,
    ::testing::Values(RemovalCase{"Plain", nullptr, 0, {}, true, kAllShown, {0, 25, 50, 75, 100}, kKept},
                      RemovalCase{"AlreadyGone", "JEX.EXE", 0, {}, true, kAllShown, {0, 25, 50, 75, 100}, kKept},
                      RemovalCase{"HeldThenRetried", nullptr, 1, {true}, true, kAllShown, {0, 25, 50, 75, 100}, kKept},
                      RemovalCase{"HeldThenCancelled", nullptr, 1, {false}, false, {"DOS4GW.EXE", "JEX.EXE"}, {0, 25, 50},
                                  {"DATA\\SFX.DAT", "JEX.EXE", "JEXINSTL.EXE", "USER.TXT"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Engine, RemovalTakesOnlyEmptyDirectories)
{
    const std::string root = m_dest + "\\Gry\\Jex";
    const char* dirs[] = {"LEVEL", "LEVEL\\FERN1", "DATA", "PLAYER", nullptr};
    ASSERT_TRUE(installed::MakeTree(root, dirs, nullptr));
    testenv::WriteFileBytes(root + "\\PLAYER\\SAVE.DAT", "mine");
    RemovalEngine(root, m_view, m_files).RemoveDirectories(dirs);
    EXPECT_EQ(Strings({"PLAYER", "DATA", "LEVEL\\FERN1", "LEVEL"}), m_view.fileNames);
    EXPECT_EQ(Strings{"PLAYER"}, installed::PresentEntries(root, dirs));
    // Emptied, the target and its empty ancestors go, up to one that holds something.
    testenv::RemoveTree(root + "\\PLAYER");
    PutSource("MINE.TXT", 1);
    RemovalEngine(root, m_view, m_files).RemoveDirectories(dirs);
    EXPECT_FALSE(testenv::DirExists(m_dest));
    EXPECT_TRUE(testenv::FileExists(m_source + "MINE.TXT"));
}

// --- Paths: the prefixes that the directory creation and the removal walk
// (never the drive root), and the joins, whole at any length.
TEST(Paths, PrefixesAndJoins)
{
    auto prefixes = [](const std::string& path) {
        Strings all;
        for (int n = 1; n <= CountPathComponents(path.c_str()); ++n)
            all.push_back(PathPrefix(path.c_str(), n));
        return all;
    };
    EXPECT_EQ(Strings({"C:\\Program Files", "C:\\Program Files\\Kestrel Forge", "C:\\Program Files\\Kestrel Forge\\Jex"}),
              prefixes("C:\\Program Files\\Kestrel Forge\\Jex"));
    // A trailing backslash adds an empty component.
    EXPECT_EQ(Strings({"C:\\Gry", "C:\\Gry\\Jex", "C:\\Gry\\Jex\\"}), prefixes("C:\\Gry\\Jex\\"));
    EXPECT_EQ(Strings{}, prefixes(""));
    Strings deep = {"C:\\katalog"};
    for (int i = 1; i < 60; ++i)
        deep.push_back(deep.back() + "\\katalog");
    EXPECT_EQ(deep, prefixes(deep.back()));
    EXPECT_EQ(deep.back() + "\\DATA\\SFX.DAT", JoinPath(deep.back().c_str(), "DATA\\SFX.DAT"));
}

// --- What the manifest promises.
TEST(Manifest, EachKindHasItsTableWithTheInstallerCopyOnceAndNoSettings)
{
    // The removal keeps the entry equal to kInstallerCopy and deletes every
    // other listed entry it finds.
    for (bool full : {false, true}) {
        EXPECT_EQ(full ? FullFiles : PartialFiles, SelectedFiles(full));
        int copies = 0;
        for (const char* const* entry = SelectedFiles(full); *entry; ++entry) {
            copies += std::strcmp(*entry, kInstallerCopy) == 0;
            EXPECT_NE(0, _stricmp(*entry, "jex.ini"));
        }
        EXPECT_EQ(1, copies) << "full " << full;
    }
}

TEST(Manifest, LongestTargetLeavesEveryPathUsable)
{
    // Under the longest target every file's path fits in 259 characters and
    // every directory's in 247; one character more and some path does not.
    auto fits = [](size_t target) {
        bool all = true;
        for (const char* const* table : {PartialFiles, FullFiles, ManifestDirectories}) {
            for (const char* const* entry = table; *entry; ++entry)
                all = all && target + 1 + std::strlen(*entry) <= (table == ManifestDirectories ? 247u : 259u);
        }
        return all;
    };
    EXPECT_TRUE(fits(MaxTargetLength()));
    EXPECT_FALSE(fits(MaxTargetLength() + 1));
}

// --- The windows the engines report to, in this process.

// Every text a label is given from the moment it is watched.
std::map<HWND, std::pair<WNDPROC, Strings>> g_labels;

LRESULT CALLBACK RecordingLabelProc(HWND label, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETTEXT)
        g_labels[label].second.push_back(reinterpret_cast<const char*>(lParam));
    return CallWindowProcA(g_labels[label].first, label, msg, wParam, lParam);
}

HWND WatchLabel(HWND window, int id)
{
    HWND label = GetDlgItem(window, id);
    g_labels[label].second = {ui::GetText(label)};
    const LONG_PTR recording = reinterpret_cast<LONG_PTR>(&RecordingLabelProc);
    g_labels[label].first = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(label, GWLP_WNDPROC, recording));
    return label;
}

// What a label showed: never the template's placeholder, never the same
// text twice in a row (each setting repaints it, and it flickers), and,
// with `neverBlank`, no empty text once a real one was there.
Strings HonestLabel(HWND label, const char* placeholder, bool neverBlank)
{
    const Strings texts = g_labels[label].second;
    bool shown = false;
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_NE(placeholder, texts[i]) << "text " << i;
        EXPECT_TRUE(i == 0 || texts[i - 1] != texts[i]) << "set again: " << texts[i];
        EXPECT_FALSE(neverBlank && shown && texts[i].empty()) << "blank again at text " << i;
        shown = shown || !texts[i].empty();
    }
    return texts;
}

int BarPosition(HWND window, int id)
{
    return static_cast<int>(SendDlgItemMessageA(window, id, PBM_GETPOS, 0, 0));
}

// The copy of two files with a full disk half way into the first, then
// their removal, each through its window.
TEST_F(Engine, ProgressWindowsShowEveryStepHonestly)
{
    PutSource("A.DAT", kArtSize);
    PutSource("B.DAT", 10);
    m_files.Add({Op::Write, "A.DAT", 1, kChunk + 5});
    CopyProgressDialog copying(nullptr);
    ASSERT_TRUE(copying.Create(nullptr));
    HWND description = WatchLabel(copying, IDC_COPY_DESCRIPTION), fileName = WatchLabel(copying, IDC_COPY_FILE_NAME);
    std::thread person([&] {
        ui::MessageBoxSeen box = ui::WaitForMessageBox(install_driver::kAppTitle);
        EXPECT_EQ(kFirstChunk, BarPosition(copying, IDC_COPY_FILE_BAR)) << "the bar at the question";
        ui::ClickItem(box.window, IDRETRY);
    });
    CopyEngine copy(m_dest, m_source, false, copying, m_files);
    const char* dirs[] = {"DATA", nullptr};
    const char* files[] = {"A.DAT", "B.DAT", nullptr};
    EXPECT_TRUE(copy.CreateDirectories(dirs) && copy.CopyFiles(files));
    person.join();
    EXPECT_EQ(100, BarPosition(copying, IDC_COPY_FILE_BAR));
    copying.ShowFileName("B.DAT"); // told again what it shows: no new text

    EXPECT_EQ(Strings({"", "Tworzenie katalogów w \n'" + m_dest + "'", "Kopiowanie plików do katalogu \n'" + m_dest + "'"}),
              HonestLabel(description, "Opis kopiowanego pliku", true));
    EXPECT_EQ("B.DAT", HonestLabel(fileName, "Nazwa kopiowanego pliku", false).back());
    // Nothing closes it but the end of the installation.
    SendMessageA(copying, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageA(copying, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindowVisible(copying));

    UninstallProgressDialog removing(nullptr);
    ASSERT_TRUE(removing.Create(nullptr));
    description = WatchLabel(removing, IDC_REMOVE_DESCRIPTION), fileName = WatchLabel(removing, IDC_REMOVE_FILE_NAME);
    RemovalEngine removal(m_dest, removing, m_files);
    EXPECT_TRUE(removal.DeleteFiles(files));
    removal.RemoveDirectories(dirs);
    EXPECT_EQ(Strings({"", "Usuwanie plików z katalogu \n'" + m_dest + "'", "Usuwanie podkatalogów"}),
              HonestLabel(description, "Opis usuwanego pliku", true));
    EXPECT_EQ("DATA", HonestLabel(fileName, "Nazwa usuwanego pliku", false).back());
    EXPECT_EQ(100, BarPosition(removing, IDC_REMOVE_BAR));
}

// --- The overwrite question, answered from a second thread as a person
// would: a button clicked, or keys typed where the focus is.
struct OverwriteCase {
    const char* name;
    int button;             // clicked, or 0
    std::vector<UINT> keys; // typed; before Enter the focus reaches `focused`
    int focused;            // the one button that then shows the default frame
    int32_t answer;
    std::string path = "C:\\Gry\\Jex\\DATA\\SFX.DAT";
};

class OverwriteQuestion : public ::testing::TestWithParam<OverwriteCase> {};

TEST_P(OverwriteQuestion, AnswersWhatThePersonChose)
{
    const OverwriteCase& c = GetParam();
    std::string seen;
    std::vector<int> framed;
    OverwriteDialog dialog(c.path.c_str());
    ui::RunModal(dialog, [&](HWND question) {
        auto focusIsOn = [&](int id) { return ui::WaitUntil([&] { return GetDlgCtrlID(ui::FocusedWindow(question)) == id; }); };
        focusIsOn(IDC_OVERWRITE_YES);
        seen = ui::GetItemText(question, IDC_OVERWRITE_MESSAGE);
        if (!ui::FindChildByText(question, "Czy zastąpić istniejący plik?"))
            seen += " (no question)";
        if (c.button)
            ui::ClickItem(question, c.button);
        for (UINT key : c.keys) {
            if (key == VK_RETURN && focusIsOn(c.focused)) {
                for (int id : {IDC_OVERWRITE_YES, IDC_OVERWRITE_YES_ALL, IDC_OVERWRITE_NO, IDC_OVERWRITE_NO_ALL})
                    if ((GetWindowLongA(GetDlgItem(question, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                        framed.push_back(id);
            }
            ui::TypeKey(question, key);
        }
    });
    EXPECT_EQ(c.answer, dialog.m_nAnswer);
    EXPECT_EQ("Plik o nazwie '" + c.path + "' już istnieje.", seen);
    EXPECT_EQ(c.focused ? std::vector<int>{c.focused} : std::vector<int>{}, framed);
}

INSTANTIATE_TEST_SUITE_P(
    Copy, OverwriteQuestion,
    ::testing::Values(OverwriteCase{"Tak", IDC_OVERWRITE_YES, {}, 0, Yes},
                      OverwriteCase{"TakNaWszystkie", IDC_OVERWRITE_YES_ALL, {}, 0, YesToAll},
                      OverwriteCase{"Nie", IDC_OVERWRITE_NO, {}, 0, No},
                      OverwriteCase{"NieNaWszystkie", IDC_OVERWRITE_NO_ALL, {}, 0, NoToAll},
                      OverwriteCase{"Escape", 0, {VK_ESCAPE}, 0, No},
                      OverwriteCase{"EnterAtOnce", 0, {VK_RETURN}, IDC_OVERWRITE_YES, Yes},
                      // Two tabs in the template's order reach "Nie"; the frame goes with the focus.
                      OverwriteCase{"TabTabEnter", 0, {VK_TAB, VK_TAB, VK_RETURN}, IDC_OVERWRITE_NO, No},
                      OverwriteCase{"LongPathShownWhole", IDC_OVERWRITE_NO, {}, 0, No, "C:\\" + std::string(400, 'k') + "\\KONIEC.DAT"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
