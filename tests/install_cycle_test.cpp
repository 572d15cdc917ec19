// Whole cycles through the real install.exe started from the CD in drive
// d:, as a user would: a full installation, the program closed, then a
// later run that uninstalls. One from the sample CD's ISO image mounted
// read-only (run by tests/cd-image-test), one into a target with Polish
// letters in its path.
#include "install/InstallManifest.h"
#include "resource.h"
#include "support/InstallDriver.h"
#include "support/TestEnv.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace install_driver;

constexpr char kCdRoot[] = "d:\\";

bool IsReadOnly(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// The name a directory listing gives the file, with its letter case.
std::string ListedName(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::string();
    FindClose(search);
    return found.cFileName;
}

class InstallCycle : public ::testing::Test {
protected:
    void TearDown() override
    {
        ForgetInstallation(m_target);
        RemoveDirectoryA(m_target.substr(0, m_target.rfind('\\')).c_str());
        testenv::UnmapAllExtraDrives();
        testenv::MapCd('d');
    }

    // Maps the CD as d:, installs the full kind into `target` through the
    // windows of d:\install.exe and closes the program.
    void InstallFull(const std::string& cdFolder, const std::string& target)
    {
        m_target = target;
        ForgetInstallation(target);
        testenv::UnmapAllExtraDrives();
        ASSERT_TRUE(testenv::MapCd('d', cdFolder));
        ui::Process process;
        HWND launcher = StartLauncher(process, std::string(kCdRoot) + "install.exe", kCdRoot);
        ASSERT_TRUE(launcher) << "no launcher from the CD";
        ASSERT_TRUE(BeginInstall(launcher, target, true));
        std::string text;
        ASSERT_TRUE(AnswerClosingQuestions(IDNO, IDNO, &text)) << text;
        PressLauncherButton(launcher, IDOK);
        ASSERT_NE(-1, process.WaitForExit());
    }

    // Every file of the full kind is there, as on the CD, and writable; the
    // record names the target and the CD.
    void ExpectInstalled()
    {
        for (const char* const* file = FullFiles; *file; ++file) {
            const std::string installed = m_target + "\\" + *file;
            ASSERT_TRUE(testenv::FileExists(installed)) << installed;
            EXPECT_EQ(testenv::ReadFileBytes(kCdRoot + std::string(*file)), testenv::ReadFileBytes(installed))
                << *file;
            EXPECT_FALSE(IsReadOnly(installed)) << installed;
        }
        EXPECT_EQ(m_target, ReadString(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
        EXPECT_EQ(m_target + "\\jex.exe", ReadString(HKEY_CURRENT_USER, kProductKey, "ProgramExecutable"));
        EXPECT_EQ(m_target + "\\jexsetup.exe", ReadString(HKEY_CURRENT_USER, kProductKey, "ProgramConfig"));
        EXPECT_NE(std::string::npos, testenv::ReadFileBytes(m_target + "\\jex.ini")
                                         .find("\r\n\"cd path\"=string:\"d:\\\"\r\n"));
    }

    // A later run of the program from the CD removes the installation.
    void UninstallInALaterRun()
    {
        ui::Process process;
        HWND launcher = StartLauncher(process, std::string(kCdRoot) + "install.exe", kCdRoot);
        ASSERT_TRUE(launcher);
        ASSERT_TRUE(PressLauncherButton(launcher, IDC_UNINSTALL)) << "the launcher sees no installation";
        EXPECT_EQ("Usunąć program 'Jex'?", ui::AnswerMessageBox(kAppTitle, IDYES).text);
        EXPECT_EQ("Odinstalowanie zostało zakończone pomyślnie.",
                  ui::AnswerMessageBox(kAppTitle, IDOK, 60000).text);
        PressLauncherButton(launcher, IDOK);
        ASSERT_NE(-1, process.WaitForExit());

        // The installer's copy and jex.ini stay, with the target itself.
        for (const char* const* file = FullFiles; *file; ++file) {
            EXPECT_EQ(std::string(*file) == kInstallerCopy, testenv::FileExists(m_target + "\\" + *file))
                << *file;
        }
        for (const char* const* dir = ManifestDirectories; *dir; ++dir)
            EXPECT_FALSE(testenv::DirExists(m_target + "\\" + *dir)) << *dir;
        EXPECT_EQ("", ReadString(HKEY_CURRENT_USER, kProductKey, "ProgramPath"));
        EXPECT_EQ("", ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
        EXPECT_FALSE(testenv::DirExists(ShortcutGroup()));
    }

    std::string m_target;
};

// Runs only under tests/cd-image-test, which mounts the image with fuseiso
// and names the mount in JEX_CD_IMAGE.
TEST_F(InstallCycle, DISABLED_FromMountedCdImage)
{
    const char* image = std::getenv("JEX_CD_IMAGE");
    if (!image)
        GTEST_SKIP() << "needs the mounted image of tests/cd-image-test";
    testenv::UnmapAllExtraDrives();
    ASSERT_TRUE(testenv::MapCd('d', image));
    // Joliet names keep their letter case; everything on a CD is read-only.
    for (const char* file : {"install.exe", "intro.exe", "autorun.inf"})
        EXPECT_EQ(file, ListedName(kCdRoot + std::string(file)));
    for (const char* const* file = FullFiles; *file; ++file) {
        const std::string entry = *file;
        EXPECT_EQ(entry.substr(entry.rfind('\\') + 1), ListedName(kCdRoot + entry));
        EXPECT_TRUE(IsReadOnly(kCdRoot + entry)) << entry;
    }
    EXPECT_EQ("[autorun]\r\nopen=install.exe\r\nicon=JEX.ICO\r\n", testenv::ReadFileBytes("d:\\autorun.inf"));

    InstallFull(image, testenv::ScratchDir("cd-image") + "\\Jex");
    ExpectInstalled();
    UninstallInALaterRun();
}

TEST_F(InstallCycle, PolishTargetDirectory)
{
    InstallFull(testenv::SampleCdUnix(), "C:\\Gry\\Zażółć gęślą jaźń");
    ExpectInstalled();
    // Copies of the shortcuts outlive the uninstallation, for lnkinfo
    // (InstallCycle.PolishShortcutsReadByLnkinfo).
    const std::string copies = testenv::ScratchDir("polish-links");
    for (const char* link : {"Jex.lnk", "Program instalacyjny.lnk", "Program konfiguracyjny.lnk"}) {
        EXPECT_TRUE(CopyFileA((ShortcutGroup() + link).c_str(), (copies + "\\" + link).c_str(), FALSE))
            << link;
    }
    UninstallInALaterRun();
}

} // namespace
