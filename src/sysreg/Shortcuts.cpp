#include "sysreg/Shortcuts.h"

#include "fw/Files.h"
#include "fw/ShellLink.h"
#include "sysreg/Registry.h"

#include <windows.h>

namespace {

struct ShortcutEntry {
    const char* linkName; // empty: end of the table
    // A file in the install directory, or, when it starts with a colon, a
    // file in the CD's root named from its third character on.
    const char* target;
};

const ShortcutEntry ShortcutTable[] = {
    {"Jex.lnk", "Jex.exe"},
    {"Program instalacyjny.lnk", "jexinstl.exe"},
    {"Program konfiguracyjny.lnk", "jexsetup.exe"},
    {"", ""},
};

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kProgramsValue[] = "Programs";
constexpr char kMakerFolder[] = "Kestrel Forge";
constexpr char kGroupFolder[] = "Jex";

// The user's Start-menu Programs folder with one trailing backslash. When
// the value cannot be read this is a lone backslash: the root of the
// current drive.
std::string ProgramsFolder()
{
    std::string folder;
    ReadRegString(HKEY_CURRENT_USER, kShellFoldersKey, kProgramsValue, folder);
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string MakerFolder(const std::string& programs)
{
    return programs + kMakerFolder + "\\";
}

std::string GroupFolder(const std::string& maker)
{
    return maker + kGroupFolder + "\\";
}

} // namespace

int CreateShortcuts(const std::string& installPath, char cdLetter)
{
    int failures = 0;
    const std::string group = GroupFolder(MakerFolder(ProgramsFolder()));
    // The path ends in a backslash, so the group folder itself is made too.
    if (!MakeDirectoryPath(group))
        ++failures;

    const std::string cdRoot = std::string(1, cdLetter) + ":\\";
    const std::string installDir = installPath + "\\";
    // Held around all the links: each CreateShellLink still balances its
    // own initialisation, but the last one of each would otherwise tear the
    // thread's apartment down, and the next link would set it up again.
    const HRESULT init = CoInitialize(nullptr);

    for (const ShortcutEntry* entry = ShortcutTable; entry->linkName[0]; ++entry) {
        std::string target;
        std::string workingDir;
        if (entry->target[0] == ':') {
            target = cdRoot + (entry->target + 2);
            workingDir = cdRoot;
        } else {
            target = installDir + entry->target;
            workingDir = installDir;
        }
        const std::string linkPath = group + entry->linkName;
        if (!CreateShellLink(target.c_str(), linkPath.c_str(), nullptr, workingDir.c_str(), nullptr))
            ++failures;
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return failures;
}

void RemoveShortcuts()
{
    const std::string maker = MakerFolder(ProgramsFolder());
    const std::string group = GroupFolder(maker);
    for (const ShortcutEntry* entry = ShortcutTable; entry->linkName[0]; ++entry)
        DeleteFileAt(group + entry->linkName);
    // Folders that still hold something else stay.
    RemoveEmptyDirectory(group);
    RemoveEmptyDirectory(maker);
}
