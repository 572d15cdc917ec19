// The copy and removal engines under faults and scripted answers, paths, the manifest, their windows.
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
#include <thread>

namespace {

using Op = FaultyFileSystem::Op;
using Strings = std::vector<std::string>;
using Bars = std::vector<int>;
using Names = std::initializer_list<const char*>; // ends with null
constexpr int64_t kChunk = CopyEngine::kChunkSize;
constexpr int64_t kOnePercent = (PartialInstallBytes + 99) / 100; // the fewest bytes for 1 % of a partial kind
const std::string kSource = "C:\\jextest\\engine\\", kDest = kSource + "Jex";

struct Engine : ::testing::Test {
    void SetUp() override
    {
        testenv::ScratchDir("engine");
        testenv::MakeDirs(kDest);
    }

    // Bytes that differ from block to block and from chunk to chunk, so a gap or a doubled or misplaced block shows.
    static std::string PutSource(const std::string& entry, int64_t size, char seed = 'a')
    {
        std::string bytes(static_cast<size_t>(size), '\0');
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(seed + i * 7 + i / 1021 + i / 65521);
        EXPECT_TRUE(testenv::WriteFileBytes(kSource + entry, bytes)) << entry;
        return bytes;
    }
    static std::string Copied(const std::string& entry) { return testenv::ReadFileBytes(kDest + "\\" + entry); }
    bool Copy(Names names, bool full = false)
    {
        return CopyEngine(kDest, kSource, full, m_view, m_files).CopyFiles(names.begin());
    }

    ScriptedView m_view;
    FaultyFileSystem m_files;
};

// Every size is copied whole; the file's bar runs from 0 to 100 (an empty file's stays at 0). The overall bar
// counts every byte: after a filler that leaves the pass one byte short of 1 %, it shows 0 until one more byte
// is copied; against the full kind's total the same bytes are under 1 %.
class Sizes : public Engine, public ::testing::WithParamInterface<int64_t> {};

TEST_P(Sizes, CopiedWholeAndCountedToTheByte)
{
    const std::string bytes = PutSource("X.DAT", GetParam());
    PutSource("FILLER.DAT", kOnePercent - 1 - GetParam(), 'f');
    PutSource("ONE.DAT", 1);
    ASSERT_TRUE(Copy({"X.DAT", "FILLER.DAT", "ONE.DAT", nullptr}));
    EXPECT_TRUE(testenv::FileExists(kDest + "\\X.DAT") && bytes == Copied("X.DAT")) << "the copy differs";
    const Bars& bar = m_view.fileBar; // X's up to the filler's start at 0
    EXPECT_EQ(Bars({0, GetParam() ? 100 : 0}), Bars({bar[0], std::find(bar.begin() + 1, bar.end(), 0)[-1]}));
    EXPECT_EQ(Bars({0, 1}), Bars(m_view.overallBar.end() - 2, m_view.overallBar.end()));
    EXPECT_TRUE(Copy({"X.DAT", "FILLER.DAT", "ONE.DAT", nullptr}, true) && m_view.overallBar.back() == 0) << "the full kind";
}

INSTANTIATE_TEST_SUITE_P(Engine, Sizes,
                         ::testing::Values(0, 1, 1023, 1024, 1025, kChunk, 2 * kChunk, 3 * kChunk + 5),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param); });

// One file under each kind of fault, answered Retry or Cancel as scripted, after a filler one byte short of 1 %,
// so the overall bar shows whether its bytes count. A file reported copied is the source's bytes; one given up
// is off both bars.
struct FaultCase { // the last answer decides whether the file is copied
    const char* name; FaultyFileSystem::Fault fault; std::vector<bool> answers; Strings questions; Bars fileBarAtQuestions;
};

const std::string kWrite = "retry: Błąd przy zapisie do pliku '" + kDest + "\\ART.DAT'",
                  kOpen = "retry: Błąd przy otwieraniu pliku '",
                  kRead = "retry: Błąd przy odczycie z pliku '" + kSource + "ART.DAT'",
                  kFile = "retry: Błąd przy kopiowaniu pliku 'ART.DAT'";
constexpr int64_t kArtSize = 2 * kChunk + 3000, kFirstChunk = kChunk * 100 / kArtSize; // the bar after one chunk

class CopyFaults : public Engine, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CopyFaults, EndWithTheWholeFileOrNoneOfIt)
{
    const FaultCase& c = GetParam();
    PutSource("FILLER.DAT", kOnePercent - 1, 'f');
    const std::string bytes = PutSource("ART.DAT", kArtSize);
    m_files.Add(c.fault);
    m_view.retries.assign(c.answers.begin(), c.answers.end());
    const bool copied = c.answers.back();
    EXPECT_EQ(copied, Copy({"FILLER.DAT", "ART.DAT", nullptr}));
    EXPECT_EQ(c.questions, m_view.asked);
    EXPECT_EQ(c.fileBarAtQuestions, m_view.fileBarAtQuestion);
    EXPECT_EQ(Bars({copied ? 100 : 0, copied ? 1 : 0}), Bars({m_view.fileBar.back(), m_view.overallBar.back()}))
        << "file, overall";
    EXPECT_TRUE(!copied || bytes == Copied("ART.DAT")) << "the copy differs from the source";
}

INSTANTIATE_TEST_SUITE_P(
    Engine, CopyFaults,
    ::testing::Values(
        // A full disk: the write gets part of the way into the second chunk.
        FaultCase{"DiskFullMidChunk", {Op::Write, "ART.DAT", 1, kChunk + 65536}, {true}, {kWrite}, {kFirstChunk}},
        FaultCase{"DiskFullTwice", {Op::Write, "ART.DAT", 2, 1000}, {true, true}, {kWrite, kWrite}, {0, 0}},
        FaultCase{"WriteFailsAtAChunkBoundary", {Op::Write, "ART.DAT", 1, kChunk}, {true}, {kWrite}, {kFirstChunk}},
        // A scratched disc: a short read, then the whole chunk again.
        FaultCase{"ShortRead", {Op::Read, "ART.DAT", 1, kChunk + 777}, {true}, {kRead}, {kFirstChunk}},
        // The filler's 100 % is gone from the file bar before ART opens.
        FaultCase{"SourceDoesNotOpen", {Op::Open, "ART.DAT", 1}, {true}, {kOpen + kSource + "ART.DAT'"}, {0}},
        FaultCase{"TargetDoesNotOpen", {Op::Create, "ART.DAT", 1}, {true}, {kOpen + kDest + "\\ART.DAT'"}, {0}},
        // Cancel at the chunk, Retry of the whole file from 0 with no overwrite question.
        FaultCase{"WriteCancelledThenFileRetried", {Op::Write, "ART.DAT", 1, 5000}, {false, true}, {kWrite, kFile}, {0, 0}},
        FaultCase{"ReadCancelledThenFileRetried", {Op::Read, "ART.DAT", 1, 9000}, {false, true}, {kRead, kFile}, {0, 0}},
        // Closing the copy fails (its last bytes lost): only the whole file can be tried again.
        FaultCase{"CloseFails", {Op::Close, "ART.DAT", 1}, {true}, {kFile}, {0}},
        FaultCase{"GivingUp", {Op::Write, "ART.DAT", 1, kChunk + 10}, {false, false}, {kWrite, kFile}, {kFirstChunk, 0}}),
    ui::RowName());

// Three existing files under a run of answers; kept or replaced, each counts.
struct StandingCase { const char* name; std::vector<OverwriteAnswer> answers; std::string afterwards; }; // A, B, C then

class StandingAnswers : public Engine, public ::testing::WithParamInterface<StandingCase> {};

TEST_P(StandingAnswers, HoldForTheRestOfThePass)
{
    const StandingCase& c = GetParam();
    PutSource("FILLER.DAT", kOnePercent - 9, 'f');
    for (const char* name : {"A.DAT", "B.DAT", "C.DAT"})
        ASSERT_TRUE(testenv::WriteFileBytes(kSource + name, "new") && testenv::WriteFileBytes(kDest + "\\" + name, "old"));
    m_view.overwrites.assign(c.answers.begin(), c.answers.end());
    ASSERT_TRUE(Copy({"FILLER.DAT", "A.DAT", "B.DAT", "C.DAT", nullptr}));
    EXPECT_EQ(c.afterwards, Copied("A.DAT") + Copied("B.DAT") + Copied("C.DAT"));
    ASSERT_EQ(c.answers.size(), m_view.asked.size());
    EXPECT_EQ("overwrite: " + kDest + "\\A.DAT", m_view.asked.front());
    EXPECT_EQ(1, m_view.overallBar.back());
}

INSTANTIATE_TEST_SUITE_P(Engine, StandingAnswers,
                         ::testing::Values(StandingCase{"YesToAll", {YesToAll}, "newnewnew"},
                                           StandingCase{"NoToAll", {NoToAll}, "oldoldold"},
                                           StandingCase{"YesNoYes", {Yes, No, Yes}, "newoldnew"}),
                         ui::RowName());

// Directories are made with the target's ancestors, over what exists, on Retry after a failure, never after
// Cancel. The removal takes the listed files last first but the installer's copy, asking about a held file, not
// about one already gone; then the directories last first when empty, the target and its empty ancestors too.
TEST_F(Engine, DirectoriesAndFilesComeAndGo)
{
    const std::string target = kDest + "\\deep\\er\\Jex";
    const char* const dirs[] = {"LEVEL", "LEVEL\\FERN1", "DATA", nullptr};
    // The installation lists all + 1: the player's save is not its own.
    const char* const all[] = {"LEVEL\\FERN1\\SAVE.DAT", "DATA\\SFX.DAT", "JEX.EXE", "JEXINSTL.EXE", "DOS4GW.EXE", nullptr};
    CopyEngine deep(target, kSource, false, m_view, m_files);
    m_files.Add({Op::MakeDir, "FERN1", 2});
    m_view.retries = {true};
    EXPECT_FALSE(deep.CreateDirectories(dirs));
    EXPECT_EQ(Strings(2, "retry: Błąd przy tworzeniu katalogu '" + target + "\\LEVEL\\FERN1'"), m_view.asked);
    EXPECT_EQ(Strings{"LEVEL"}, installed::PresentEntries(target, dirs));
    EXPECT_TRUE(deep.CreateDirectories(dirs));
    EXPECT_EQ(Strings(dirs, dirs + 3), installed::PresentEntries(target, dirs));

    for (const char* const* entry = all; *entry; ++entry)
        testenv::WriteFileBytes(target + "\\" + *entry, "x");
    m_files.Add({Op::RemoveFile, "JEX.EXE", 2});
    EXPECT_FALSE(RemovalEngine(target, m_view, m_files).DeleteFiles(all + 1)) << "JEX.EXE held, Cancel";
    EXPECT_EQ(Bars({0, 25, 50}), m_view.removalBar);
    m_view = ScriptedView();
    m_view.retries = {true};
    RemovalEngine removal(target, m_view, m_files);
    EXPECT_TRUE(removal.DeleteFiles(all + 1)) << "JEX.EXE held, Retry";
    removal.RemoveDirectories(dirs);
    EXPECT_EQ(Strings{"retry: Błąd przy usuwaniu pliku 'JEX.EXE'"}, m_view.asked);
    EXPECT_EQ(Strings({"DOS4GW.EXE", "JEX.EXE", "DATA\\SFX.DAT", "DATA", "LEVEL\\FERN1", "LEVEL"}), m_view.fileNames);
    EXPECT_EQ(Strings({"LEVEL\\FERN1\\SAVE.DAT", "JEXINSTL.EXE"}), installed::PresentEntries(target, all));
    EXPECT_EQ(Strings({"LEVEL", "LEVEL\\FERN1"}), installed::PresentEntries(target, dirs));

    testenv::RemoveTree(target + "\\LEVEL");
    testenv::RemoveFile(target + "\\JEXINSTL.EXE");
    PutSource("MINE.TXT", 1);
    removal.RemoveDirectories(dirs);
    EXPECT_FALSE(testenv::DirExists(kDest)) << "emptied, up to the directory that holds something";
}

// The prefixes that directory creation and removal walk (never the drive root;
// a trailing backslash adds an empty one), and the joins, whole at any length.
TEST(Paths, PrefixesAndJoins)
{
    Strings deep = {"C:\\katalog"}, prefixes;
    while (deep.size() < 61)
        deep.push_back(deep.back() + (deep.size() < 60 ? "\\katalog" : "\\"));
    EXPECT_EQ(deep[59] + "\\DATA\\SFX.DAT", JoinPath(deep[59].c_str(), "DATA\\SFX.DAT"));
    for (int n = 1; n <= CountPathComponents(deep[60].c_str()); ++n)
        prefixes.push_back(PathPrefix(deep[60].c_str(), n));
    EXPECT_EQ(deep, prefixes);
}

// What each kind holds, stated here rather than taken from the tables that the CD and the expected trees come from:
// the partial kind's eleven files in order; the full kind the same, its four data files first and its seven program
// files last, around six files for each level directory in this order; and the kinds' byte totals. Under the longest
// target every file's path fits in 259 characters and every directory's in 247, one more would not.
TEST(Manifest, KindsAndTheLongestTarget)
{
    ASSERT_EQ(std::pair(11, 119), std::pair(CountEntries(PartialFiles), CountEntries(FullFiles)));
    const Strings partial = {"DATA\\ART_H.DAT", "DATA\\ART_L.DAT", "DATA\\OBJECTS.DAT", "DATA\\SFX.DAT", "JEXSETUP.EXE",
                             "Msvcrt.dll", "MFC42.DLL", "JEX.EXE", "JEX.ICO", "JEXINSTL.EXE", "DOS4GW.EXE"};
    Strings levels, others(FullFiles, FullFiles + 4);
    for (const char* dir : {"FERN1", "FERN2", "MOSS1", "MOSS2", "MOSS3", "MOSS4", "MOSS5", "REEF1", "REEF2", "REEF3",
                            "REEF4", "REEF5", "REEF6", "REEF7", "REEF8", "DUNE", "CODA", "TIDE"})
        for (const char* file : {"LEVEL.ENT", "LEVEL.GRF", "LEVEL.LNG", "MAP.DAT", "MAP.GFX", "MAP.LHT"})
            levels.push_back(std::string("LEVEL\\") + dir + "\\" + file);
    others.insert(others.end(), FullFiles + 112, FullFiles + 119);
    EXPECT_EQ(partial, Strings(PartialFiles, PartialFiles + 11));
    EXPECT_EQ(levels, Strings(FullFiles + 4, FullFiles + 112));
    EXPECT_TRUE(std::is_permutation(others.begin(), others.end(), partial.begin(), partial.end()));
    EXPECT_EQ(std::pair(233163669u, 579639189u), std::pair(SelectedInstallBytes(false), SelectedInstallBytes(true)));
    auto fits = [](size_t target) {
        for (const char* const* table : {PartialFiles, FullFiles, ManifestDirectories})
            for (const char* const* entry = table; *entry; ++entry)
                if (target + 1 + std::strlen(*entry) > (table == ManifestDirectories ? 247u : 259u))
                    return false;
        return true;
    };
    EXPECT_TRUE(fits(MaxTargetLength()) && !fits(MaxTargetLength() + 1)) << MaxTargetLength();
}

// Every text the labels of this thread's windows were given, by control id, as each shows it once given.
std::map<int, Strings> g_shown;

LRESULT CALLBACK Recording(int code, WPARAM wParam, LPARAM lParam)
{
    if (const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam); call->message == WM_SETTEXT)
        g_shown[GetDlgCtrlID(call->hwnd)].push_back(ui::GetText(call->hwnd));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Two files copied with a full disk half way into the first, then removed, each through its window. The labels
// show every step, never the template's words, never the same text twice in a row (each setting repaints: it flickers).
TEST_F(Engine, ProgressWindowsShowEveryStepHonestly)
{
    PutSource("A.DAT", kArtSize);
    PutSource("B.DAT", 10);
    m_files.Add({Op::Write, "A.DAT", 1, kChunk + 5});
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, Recording, nullptr, GetCurrentThreadId());
    CopyProgressDialog copying(nullptr);
    ASSERT_TRUE(copying.Create(nullptr));
    std::thread person([&] {
        ui::MessageBoxSeen box = ui::WaitForMessageBox(install_driver::kAppTitle);
        EXPECT_EQ(kFirstChunk, SendDlgItemMessageW(copying, IDC_COPY_FILE_BAR, PBM_GETPOS, 0, 0))
            << "the bar at the question";
        ui::Answer(box.window, IDRETRY);
    });
    const char *dirs[] = {"DATA", nullptr}, *files[] = {"A.DAT", "B.DAT", nullptr};
    CopyEngine copy(kDest, kSource, false, copying, m_files);
    EXPECT_TRUE(copy.CreateDirectories(dirs) && copy.CopyFiles(files));
    person.join();
    EXPECT_EQ(100, SendDlgItemMessageW(copying, IDC_COPY_FILE_BAR, PBM_GETPOS, 0, 0));
    copying.ShowFileName("B.DAT"); // told again what it shows: no new text
    EXPECT_EQ(Strings({"", "Tworzenie katalogów w \n'" + kDest + "'",
                       "Kopiowanie plików do katalogu \n'" + kDest + "'"}),
              g_shown[IDC_COPY_DESCRIPTION]);
    EXPECT_EQ(Strings({"", "C:\\jextest", "C:\\jextest\\engine", kDest, "DATA", "A.DAT", "B.DAT"}),
              g_shown[IDC_COPY_FILE_NAME]);
    // Nothing closes it but the end of the installation.
    SendMessageW(copying, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageW(copying, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindowVisible(copying));

    UninstallProgressDialog removing(nullptr);
    ASSERT_TRUE(removing.Create(nullptr));
    RemovalEngine removal(kDest, removing, m_files);
    EXPECT_TRUE(removal.DeleteFiles(files));
    removal.RemoveDirectories(dirs);
    removing.ShowFileName("DATA"); // again
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(Strings({"", "Usuwanie plików z katalogu \n'" + kDest + "'", "Usuwanie podkatalogów"}),
              g_shown[IDC_REMOVE_DESCRIPTION]);
    EXPECT_EQ(Strings({"", "B.DAT", "A.DAT", "DATA"}), g_shown[IDC_REMOVE_FILE_NAME]);
    EXPECT_EQ(100, SendDlgItemMessageW(removing, IDC_REMOVE_BAR, PBM_GETPOS, 0, 0));
}

// --- The overwrite question, answered from a second thread with keys typed where the focus is: Enter answers
// the focused button, which alone then shows the default frame.
struct OverwriteCase { // with the keys before Enter, the focus reaches `focused`
    const char* name; std::vector<UINT> keys; int focused; int32_t answer; std::string path = "C:\\Gry\\Jex\\DATA\\SFX.DAT";
};

class OverwriteQuestion : public ::testing::TestWithParam<OverwriteCase> {};

TEST_P(OverwriteQuestion, AnswersWhatThePersonChose)
{
    const OverwriteCase& c = GetParam();
    std::vector<int> framed;
    OverwriteDialog dialog(c.path.c_str());
    ui::RunModal(dialog, [&](HWND question) {
        EXPECT_EQ("Plik o nazwie '" + c.path + "' już istnieje.", ui::GetItemText(question, IDC_OVERWRITE_MESSAGE));
        for (UINT key : c.keys) {
            // The default frame follows the focus within the key's handling: read once the dialog is done with it.
            if (key == VK_RETURN && ui::WaitUntil([&] {
                    return GetDlgCtrlID(ui::FocusedWindow(question)) == c.focused && ui::IsDrawn(question);
                }))
                for (int id : {IDC_OVERWRITE_YES, IDC_OVERWRITE_YES_ALL, IDC_OVERWRITE_NO, IDC_OVERWRITE_NO_ALL})
                    if ((GetWindowLongW(GetDlgItem(question, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                        framed.push_back(id);
            ui::TypeKey(question, key);
        }
    });
    EXPECT_EQ(c.answer, dialog.m_nAnswer);
    EXPECT_EQ(c.focused ? std::vector<int>{c.focused} : std::vector<int>{}, framed);
}

// The buttons in the template's order; Escape keeps the file.
INSTANTIATE_TEST_SUITE_P(
    Copy, OverwriteQuestion,
    ::testing::Values(OverwriteCase{"Tak", {VK_RETURN}, IDC_OVERWRITE_YES, Yes},
                      OverwriteCase{"TakNaWszystkie", {VK_TAB, VK_RETURN}, IDC_OVERWRITE_YES_ALL, YesToAll},
                      OverwriteCase{"Nie", {VK_TAB, VK_TAB, VK_RETURN}, IDC_OVERWRITE_NO, No},
                      OverwriteCase{"NieNaWszystkie", {VK_TAB, VK_TAB, VK_TAB, VK_RETURN}, IDC_OVERWRITE_NO_ALL,
                                    NoToAll},
                      OverwriteCase{"EscapeWithALongPathShownWhole", {VK_ESCAPE}, 0, No,
                                    "C:\\" + std::string(400, 'k') + "\\KONIEC.DAT"}),
    ui::RowName());

} // namespace
