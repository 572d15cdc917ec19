// The copy and removal engines on real files in scratch folders, with
// faults put into the file system at chosen calls and offsets and every
// question answered from a script: no window at all.
#include "install/CopyEngine.h"
#include "install/CopyProgressDialog.h"
#include "install/InstallManifest.h"
#include "install/RemovalEngine.h"
#include "install/UninstallProgressDialog.h"
#include "resource.h"
#include "support/EngineDoubles.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

using Op = FaultyFileSystem::Op;

// Bytes that differ from block to block, so a gap or a doubled block shows.
std::string Pattern(size_t size, char seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 7 + i / 1024);
    return bytes;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_source = testenv::ScratchDir("engine-source") + "\\";
        m_dest = testenv::ScratchDir("engine-dest");
    }
    void TearDown() override
    {
        testenv::RemoveTree(m_source.substr(0, m_source.size() - 1));
        testenv::RemoveTree(m_dest);
    }

    std::string PutSource(const std::string& entry, size_t size, char seed = 'a')
    {
        std::string bytes = Pattern(size, seed);
        testenv::WriteFileBytes(m_source + entry, bytes);
        return bytes;
    }
    std::string Dest(const std::string& entry) const { return m_dest + "\\" + entry; }
    std::string Copied(const std::string& entry) const { return testenv::ReadFileBytes(Dest(entry)); }

    CopyEngine Engine(bool full = false) { return CopyEngine(m_dest, m_source, full, m_view, m_files); }

    std::string m_source, m_dest;
    ScriptedView m_view;
    FaultyFileSystem m_files;
};

TEST_F(EngineTest, CopiesEverySizeWholeAndCountsItInBlocks)
{
    const std::vector<size_t> sizes = {0, 1, 1023, 1024, 1025, 3 * CopyEngine::kChunkSize + 5};
    std::vector<std::string> names, bytes;
    for (size_t i = 0; i < sizes.size(); ++i) {
        names.push_back(std::string(1, static_cast<char>('A' + i)) + ".DAT");
        bytes.push_back(PutSource(names.back(), sizes[i], static_cast<char>('a' + i)));
    }
    std::vector<const char*> table;
    for (const std::string& name : names)
        table.push_back(name.c_str());
    table.push_back(nullptr);

    CopyEngine engine = Engine();
    ASSERT_TRUE(engine.CopyFiles(table.data()));
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(bytes[i] == Copied(names[i])) << names[i];
    EXPECT_EQ(static_cast<int64_t>(std::accumulate(sizes.begin(), sizes.end(), size_t{0})),
              engine.m_nTotalDone);
    EXPECT_TRUE(m_view.asked.empty());
    // Every file starts its bar at 0; a non-empty one ends it at 100.
    EXPECT_EQ(0, m_view.fileBar.front());
    EXPECT_EQ(100, m_view.fileBar.back());
    EXPECT_EQ(names, std::vector<std::string>(m_view.fileNames.begin(), m_view.fileNames.end()));
    EXPECT_EQ("Kopiowanie plików do katalogu \n'" + m_dest + "'", m_view.descriptions.back());
}

// One file under each kind of fault, answered Retry or Cancel as scripted:
// whatever was asked, the copy that is finally reported is byte for byte
// the source.
struct FaultCase {
    const char* name;
    FaultyFileSystem::Fault fault;
    std::vector<bool> answers;
    std::vector<std::string> questions; // with %s for the failing path
};

class CopyFaultTest : public EngineTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CopyFaultTest, RetryEndsWithAByteIdenticalCopy)
{
    const FaultCase& c = GetParam();
    const size_t size = 2 * CopyEngine::kChunkSize + 3000;
    const std::string bytes = PutSource("ART.DAT", size);
    m_files.Add(c.fault);
    m_view.retries.assign(c.answers.begin(), c.answers.end());

    CopyEngine engine = Engine();
    const char* table[] = {"ART.DAT", nullptr};
    ASSERT_TRUE(engine.CopyFiles(table));

    EXPECT_EQ(c.fault.times, m_files.hits);
    EXPECT_TRUE(bytes == Copied("ART.DAT")) << "copy differs from the source";
    EXPECT_EQ(static_cast<int64_t>(size), engine.m_nTotalDone) << "a failed attempt stays counted";
    ASSERT_EQ(c.questions.size(), m_view.asked.size());
    for (size_t i = 0; i < c.questions.size(); ++i) {
        const bool onSource = c.fault.op == Op::Open || c.fault.op == Op::Read;
        std::string expected = c.questions[i];
        const std::string path = onSource ? m_source + "ART.DAT" : Dest("ART.DAT");
        if (size_t at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, path);
        EXPECT_EQ(expected, m_view.asked[i]);
    }
}

const char kWrite[] = "retry: Błąd przy zapisie do pliku '%s'";
const char kRead[] = "retry: Błąd przy odczycie z pliku '%s'";
const char kOpen[] = "retry: Błąd przy otwieraniu pliku '%s'";
const char kFile[] = "retry: Błąd przy kopiowaniu pliku 'ART.DAT'";

INSTANTIATE_TEST_SUITE_P(
    Faults, CopyFaultTest,
    ::testing::Values(
        // A full disk: the write gets part of the way into the second chunk.
        FaultCase{"DiskFullMidChunk", {Op::Write, "ART.DAT", 1, CopyEngine::kChunkSize + 65536}, {true}, {kWrite}},
        FaultCase{"DiskFullTwice", {Op::Write, "ART.DAT", 2, 1000}, {true, true}, {kWrite, kWrite}},
        // A scratched disc: a short read, then the whole chunk again.
        FaultCase{"ShortRead", {Op::Read, "ART.DAT", 1, CopyEngine::kChunkSize + 777}, {true}, {kRead}},
        FaultCase{"SourceDoesNotOpen", {Op::Open, "ART.DAT", 1}, {true}, {kOpen}},
        FaultCase{"TargetDoesNotOpen", {Op::Create, "ART.DAT", 1}, {true}, {kOpen}},
        // Cancel at the block, Retry of the whole file from its start.
        FaultCase{"WriteCancelledThenFileRetried", {Op::Write, "ART.DAT", 1, 5000}, {false, true}, {kWrite, kFile}},
        FaultCase{"ReadCancelledThenFileRetried", {Op::Read, "ART.DAT", 1, 9000}, {false, true}, {kRead, kFile}},
        // Closing the copy fails: only the file as a whole can be tried again.
        FaultCase{"CloseFails", {Op::Close, "engine-dest", 1}, {true}, {kFile}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, GivingUpTakesTheFileOffTheBars)
{
    PutSource("A.DAT", 1500);
    const int64_t size = 2 * CopyEngine::kChunkSize + 100;
    PutSource("B.DAT", size);
    m_files.Add({Op::Write, "B.DAT", 1, CopyEngine::kChunkSize + 10});
    CopyEngine engine = Engine();
    const char* table[] = {"A.DAT", "B.DAT", nullptr};
    EXPECT_FALSE(engine.CopyFiles(table));
    EXPECT_EQ(1500, engine.m_nTotalDone) << "B's written part must not count";
    // The block question sees B's first chunk on the bar; the file question,
    // after Cancel, a bar back at 0.
    ASSERT_EQ(2u, m_view.asked.size());
    const int firstChunk = static_cast<int>(CopyEngine::kChunkSize * 100 / size);
    EXPECT_EQ(std::vector<int>({firstChunk, 0}), m_view.fileBarAtQuestion);
}

TEST_F(EngineTest, FileBarStartsAtZeroBeforeTheOpenQuestion)
{
    PutSource("A.DAT", 1500);
    PutSource("B.DAT", 100);
    m_files.Add({Op::Open, "B.DAT", 1});
    m_view.retries = {true};
    CopyEngine engine = Engine();
    const char* table[] = {"A.DAT", "B.DAT", nullptr};
    ASSERT_TRUE(engine.CopyFiles(table));
    ASSERT_EQ(1u, m_view.fileBarAtQuestion.size());
    EXPECT_EQ(0, m_view.fileBarAtQuestion[0]) << "the previous file's 100 % is still shown";
}

TEST_F(EngineTest, OverwriteAnswersStandForTheRestOfThePass)
{
    struct Case {
        std::vector<OverwriteAnswer> answers;
        std::string expectedA, expectedB, expectedC;
        size_t questions;
    };
    const Case cases[] = {
        {{YesToAll}, "new", "new", "new", 1},
        {{NoToAll}, "old", "old", "old", 1},
        {{Yes, No, Yes}, "new", "old", "new", 3},
        {{No, No, No}, "old", "old", "old", 3}, // "Nie" or Escape: asked every time
    };
    for (const Case& c : cases) {
        m_view = ScriptedView();
        for (const char* name : {"A.DAT", "B.DAT", "C.DAT"}) {
            testenv::WriteFileBytes(m_source + name, "new");
            testenv::WriteFileBytes(Dest(name), "old");
        }
        m_view.overwrites.assign(c.answers.begin(), c.answers.end());
        CopyEngine engine = Engine();
        const char* table[] = {"A.DAT", "B.DAT", "C.DAT", nullptr};
        EXPECT_TRUE(engine.CopyFiles(table));
        EXPECT_EQ(c.expectedA + c.expectedB + c.expectedC, Copied("A.DAT") + Copied("B.DAT") + Copied("C.DAT"));
        EXPECT_EQ(c.questions, m_view.asked.size());
        EXPECT_EQ("overwrite: " + Dest("A.DAT"), m_view.asked.front());
        // A kept file counts with its source's full size.
        EXPECT_EQ(9, engine.m_nTotalDone);
    }
}

TEST_F(EngineTest, HalfCopiedFileOfThisPassIsNotAskedAbout)
{
    const std::string bytes = PutSource("A.DAT", 5000);
    m_files.Add({Op::Write, "A.DAT", 1, 3000});
    m_view.retries = {false, true};
    CopyEngine engine = Engine();
    const char* table[] = {"A.DAT", nullptr};
    ASSERT_TRUE(engine.CopyFiles(table));
    EXPECT_TRUE(bytes == Copied("A.DAT"));
    for (const std::string& question : m_view.asked)
        EXPECT_EQ(std::string::npos, question.find("overwrite")) << "a torn copy kept as the user's file";
}

TEST_F(EngineTest, DirectoriesWithAncestorsAndTheirFailures)
{
    const std::string target = m_dest + "\\deep\\er\\Jex";
    const char* dirs[] = {"LEVEL", "LEVEL\\FERN1", "DATA", nullptr};
    CopyEngine deep(target, m_source, false, m_view, m_files);
    EXPECT_TRUE(deep.CreateDirectories(dirs));
    EXPECT_TRUE(deep.CreateDirectories(dirs)) << "again over what exists";
    EXPECT_TRUE(testenv::DirExists(target + "\\LEVEL\\FERN1"));
    EXPECT_TRUE(m_view.asked.empty());
    EXPECT_EQ("Tworzenie katalogów w \n'" + target + "'", m_view.descriptions.front());

    // A failing directory: Retry makes it, Cancel ends the step at once.
    m_files.Add({Op::MakeDir, "FERN1", 2});
    testenv::RemoveTree(target + "\\LEVEL\\FERN1");
    m_view.retries = {true};
    EXPECT_FALSE(deep.CreateDirectories(dirs));
    EXPECT_EQ(std::vector<std::string>(2, "retry: Błąd przy tworzeniu katalogu '" + target + "\\LEVEL\\FERN1'"),
              m_view.asked);
    EXPECT_FALSE(testenv::DirExists(target + "\\LEVEL\\FERN1"));

    // No components at all: the stop message, nothing made.
    m_view.asked.clear();
    CopyEngine empty("", m_source, false, m_view, m_files);
    EXPECT_FALSE(empty.CreateDirectories(dirs));
    EXPECT_EQ(std::vector<std::string>{"error: Błąd przy tworzeniu katalogu ''"}, m_view.asked);
}

TEST_F(EngineTest, OverallBarCountsAgainstTheChosenKind)
{
    // The partial kind's last bytes: a full bar for it, 40 % of the full kind.
    PutSource("A.DAT", 2048);
    for (bool full : {false, true}) {
        m_view = ScriptedView();
        CopyEngine engine = Engine(full);
        engine.m_nTotalDone = PartialInstallBytes - 2048;
        EXPECT_TRUE(engine.CopyOneFile(Dest("A.DAT"), m_source + "A.DAT"));
        EXPECT_EQ(full ? 40 : 100, m_view.overallBar.back()) << "full " << full;
    }
}

// --- Removal

class RemovalTest : public EngineTest {
protected:
    void MakeInstalled(const char* const* files)
    {
        for (const char* dir : {"DATA", "LEVEL", "LEVEL\\FERN1", "PLAYER"})
            CreateDirectoryA(Dest(dir).c_str(), nullptr);
        for (; *files; ++files)
            testenv::WriteFileBytes(Dest(*files), "x");
    }
    RemovalEngine Engine() { return RemovalEngine(m_dest, m_view, m_files); }
};

TEST_F(RemovalTest, DeletesListedFilesLastFirstButTheInstallersCopy)
{
    const char* files[] = {"DATA\\SFX.DAT", "JEX.EXE", "JEXINSTL.EXE", "DOS4GW.EXE", nullptr};
    MakeInstalled(files);
    testenv::WriteFileBytes(Dest("USER.TXT"), "mine");
    DeleteFileA(Dest("JEX.EXE").c_str()); // gone already: counts as deleted
    ASSERT_TRUE(Engine().DeleteFiles(files));
    EXPECT_EQ(std::vector<std::string>({"DOS4GW.EXE", "JEX.EXE", "DATA\\SFX.DAT"}), m_view.fileNames);
    EXPECT_EQ(std::vector<int>({0, 25, 50, 75, 100}), m_view.removalBar);
    EXPECT_TRUE(testenv::FileExists(Dest("JEXINSTL.EXE")));
    EXPECT_TRUE(testenv::FileExists(Dest("USER.TXT")));
    EXPECT_FALSE(testenv::FileExists(Dest("DATA\\SFX.DAT")));
    EXPECT_TRUE(m_view.asked.empty());
}

TEST_F(RemovalTest, FailedDeletionAsksAndCancelKeepsTheRest)
{
    const char* files[] = {"DATA\\SFX.DAT", "JEX.EXE", "DOS4GW.EXE", nullptr};
    MakeInstalled(files);
    m_files.Add({Op::RemoveFile, "JEX.EXE", 2});
    m_view.retries = {true};
    EXPECT_FALSE(Engine().DeleteFiles(files));
    EXPECT_EQ(std::vector<std::string>(2, "retry: Błąd przy usuwaniu pliku 'JEX.EXE'"), m_view.asked);
    EXPECT_TRUE(testenv::FileExists(Dest("JEX.EXE")));
    EXPECT_TRUE(testenv::FileExists(Dest("DATA\\SFX.DAT")));
    EXPECT_FALSE(testenv::FileExists(Dest("DOS4GW.EXE")));
}

TEST_F(RemovalTest, DirectoriesGoOnlyWhenEmptyAndNeverTheDriveRoot)
{
    const char* none[] = {nullptr};
    MakeInstalled(none);
    testenv::WriteFileBytes(Dest("PLAYER\\SAVE.DAT"), "mine");
    const char* dirs[] = {"LEVEL", "LEVEL\\FERN1", "DATA", "PLAYER", nullptr};
    Engine().RemoveDirectories(dirs);
    EXPECT_FALSE(testenv::DirExists(Dest("LEVEL")));
    EXPECT_FALSE(testenv::DirExists(Dest("DATA")));
    EXPECT_TRUE(testenv::DirExists(Dest("PLAYER")));
    EXPECT_TRUE(testenv::DirExists(m_dest)) << "it still holds PLAYER";
    EXPECT_EQ(std::vector<std::string>({"PLAYER", "DATA", "LEVEL\\FERN1", "LEVEL"}), m_view.fileNames);

    // Emptied, the target and its empty ancestors go, the drive root never.
    testenv::RemoveTree(Dest("PLAYER"));
    RemovalEngine(m_dest, m_view, m_files).RemoveDirectories(dirs);
    EXPECT_FALSE(testenv::DirExists(m_dest));
    EXPECT_TRUE(testenv::DirExists("C:\\"));
}

// --- The windows the engines report to

// Every text a static control is given, from its creation on.
struct LabelLog {
    WNDPROC original = nullptr;
    std::vector<std::string> texts;
};
std::map<HWND, LabelLog> g_labels;

LRESULT CALLBACK RecordingLabelProc(HWND label, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETTEXT)
        g_labels[label].texts.push_back(reinterpret_cast<const char*>(lParam));
    return CallWindowProcA(g_labels[label].original, label, msg, wParam, lParam);
}

void RecordLabel(HWND label)
{
    g_labels[label].texts = {ui::GetText(label)};
    g_labels[label].original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingLabelProc)));
}

// What a label showed: no template placeholder ever, no text set twice in
// a row (each setting repaints it), and, with `neverBlank`, no empty text
// once the first real one was there.
void ExpectHonestLabel(HWND label, const char* placeholder, bool neverBlank)
{
    const std::vector<std::string>& texts = g_labels[label].texts;
    bool shownSomething = false;
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_NE(placeholder, texts[i]) << "text " << i;
        if (i > 0)
            EXPECT_NE(texts[i - 1], texts[i]) << "set again: " << texts[i];
        if (neverBlank && shownSomething)
            EXPECT_NE("", texts[i]) << "text " << i;
        shownSomething = shownSomething || !texts[i].empty();
    }
}


TEST_F(EngineTest, CopyWindowShowsEveryStepAndNeverItsPlaceholders)
{
    PutSource("A.DAT", 2 * CopyEngine::kChunkSize + 10);
    PutSource("B.DAT", 10);
    m_files.Add({Op::Write, "A.DAT", 1, CopyEngine::kChunkSize + 5});
    CopyProgressDialog window(nullptr);
    ASSERT_TRUE(window.Create(nullptr));
    HWND description = GetDlgItem(window, IDC_COPY_DESCRIPTION);
    HWND fileName = GetDlgItem(window, IDC_COPY_FILE_NAME);
    RecordLabel(description);
    RecordLabel(fileName);

    // The disk fills half way into A: at the question, the file bar shows
    // the half that is written.
    int barAtQuestion = -1;
    std::thread person([&] {
        ui::MessageBoxSeen box = ui::WaitForMessageBox("Program instalacyjny");
        barAtQuestion = static_cast<int>(SendDlgItemMessageA(window, IDC_COPY_FILE_BAR, PBM_GETPOS, 0, 0));
        ui::ClickItem(box.window, IDRETRY);
    });
    CopyEngine engine(m_dest + "\\Jex", m_source, false, window, m_files);
    const char* dirs[] = {"DATA", nullptr};
    const char* files[] = {"A.DAT", "B.DAT", nullptr};
    EXPECT_TRUE(engine.CreateDirectories(dirs) && engine.CopyFiles(files));
    person.join();
    EXPECT_EQ(static_cast<int>(CopyEngine::kChunkSize * 100 / (2 * CopyEngine::kChunkSize + 10)), barAtQuestion);

    ExpectHonestLabel(description, "Opis kopiowanego pliku", true);
    ExpectHonestLabel(fileName, "Nazwa kopiowanego pliku", false);
    EXPECT_EQ(std::vector<std::string>({"", "Tworzenie katalogów w \n'" + m_dest + "\\Jex'",
                                        "Kopiowanie plików do katalogu \n'" + m_dest + "\\Jex'"}),
              g_labels[description].texts);
    EXPECT_EQ("B.DAT", g_labels[fileName].texts.back());
    EXPECT_EQ(100, SendDlgItemMessageA(window, IDC_COPY_FILE_BAR, PBM_GETPOS, 0, 0));

    // Nothing closes it but the end of the installation.
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    g_labels.clear();
}

TEST_F(RemovalTest, RemovalWindowShowsEveryStepAndNeverItsPlaceholders)
{
    const char* files[] = {"DATA\\SFX.DAT", "JEX.EXE", nullptr};
    MakeInstalled(files);
    UninstallProgressDialog window(nullptr);
    ASSERT_TRUE(window.Create(nullptr));
    HWND description = GetDlgItem(window, IDC_REMOVE_DESCRIPTION);
    HWND fileName = GetDlgItem(window, IDC_REMOVE_FILE_NAME);
    RecordLabel(description);
    RecordLabel(fileName);
    RemovalEngine engine(m_dest, window, m_files);
    const char* dirs[] = {"DATA", nullptr};
    EXPECT_TRUE(engine.DeleteFiles(files));
    engine.RemoveDirectories(dirs);
    ExpectHonestLabel(description, "Opis usuwanego pliku", true);
    ExpectHonestLabel(fileName, "Nazwa usuwanego pliku", false);
    EXPECT_EQ(std::vector<std::string>({"", "Usuwanie plików z katalogu \n'" + m_dest + "'", "Usuwanie podkatalogów"}),
              g_labels[description].texts);
    EXPECT_EQ(100, SendDlgItemMessageA(window, IDC_REMOVE_BAR, PBM_GETPOS, 0, 0));
    g_labels.clear();
}

} // namespace
