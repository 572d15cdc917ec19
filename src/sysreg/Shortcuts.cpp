#include "sysreg/Shortcuts.h"

#include "fw/Afx.h"
#include "sysreg/Registry.h"

#include <windows.h>

#include <imagehlp.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>

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

constexpr char kShortcutError[] = "Wystąpił błąd podczas tworzenia skrótu do programu.";

constexpr int kWidePathSize = 260;

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

void CreateShortcuts(const std::string& installPath, char cdLetter)
{
    const std::string group = GroupFolder(MakerFolder(ProgramsFolder()));
    // The path ends in a backslash, so the group folder itself is made too.
    if (!MakeSureDirectoryPathExists(group.c_str()))
        AfxMessageBox(kShortcutError, MB_OK | MB_ICONSTOP);

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
            AfxMessageBox(kShortcutError, MB_OK | MB_ICONSTOP);
    }
    if (SUCCEEDED(init))
        CoUninitialize();
}

void RemoveShortcuts()
{
    const std::string maker = MakerFolder(ProgramsFolder());
    const std::string group = GroupFolder(maker);
    for (const ShortcutEntry* entry = ShortcutTable; entry->linkName[0]; ++entry)
        DeleteFileA((group + entry->linkName).c_str());
    // Folders that still hold something else stay.
    RemoveDirectoryA(group.c_str());
    RemoveDirectoryA(maker.c_str());
}

bool CreateShellLink(const char* target, const char* linkPath, const char* arguments,
                     const char* workingDir, const char* description)
{
    // Balanced around every single shortcut: nothing here depends on what
    // the calling thread did before.
    const HRESULT init = CoInitialize(nullptr);

    IShellLinkA* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result)) {
        link->SetPath(target);
        link->SetDescription(description);
        if (arguments)
            link->SetArguments(arguments);
        if (workingDir)
            link->SetWorkingDirectory(workingDir);

        IPersistFile* file = nullptr;
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(result)) {
            WCHAR widePath[kWidePathSize] = {};
            if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, kWidePathSize) == 0)
                result = E_FAIL; // too long for a path
            else
                result = file->Save(widePath, TRUE);
            file->Release();
        }
        link->Release();
    }

    // A thread that already runs in another apartment keeps it untouched.
    if (SUCCEEDED(init))
        CoUninitialize();
    return SUCCEEDED(result);
}
