#include "sysreg/InstallRecord.h"

#include "fw/Files.h"
#include "sysreg/Registry.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

// The file names joined to the install directory in the record.
constexpr char kGameFile[] = "\\jex.exe";
constexpr char kConfigFile[] = "\\jexsetup.exe";

// The game's configuration file, the same bytes on every system: code page
// 1250 text whose lines end in CR LF, as a text-mode file of the C runtime
// has them.
std::string GameConfigText(char cdLetter, bool fullInstall)
{
    std::string text = "[]\r\n\r\n"
                       "[/CONFIG_CATEGORY_USER]\r\n\r\n"
                       "[/CONFIG_CATEGORY_USER/Instalation]\r\n"
                       "\"instalation type\"=dword:";
    text += fullInstall ? "00000000\r\n" : "00000001\r\n";
    text += "\"cd path\"=string:\"";
    text += cdLetter;
    text += ":\\\"\r\n\r\n";
    return text;
}

// Creates the file, or empties the one there, and writes the text whole.
bool WriteWholeFile(const std::string& path, const std::string& text)
{
    HANDLE file = OpenFileHandle(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size();
    return CloseHandle(file) && whole;
}

void WriteGameConfig(const std::string& path, char cdLetter, bool fullInstall)
{
    // The registry entries do not depend on the file.
    WriteWholeFile(path, GameConfigText(cdLetter, fullInstall));
}

} // namespace

void WriteInstallRecord(const std::string& installPath, char cdLetter, bool fullInstall)
{
    DWORD count = 0;
    if (!ReadRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::InstallCount, count))
        count = 0;
    std::string recordedPath;
    if (!ReadRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramPath, recordedPath))
        ++count; // no earlier installation recorded

    WriteRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramPath, installPath);
    WriteRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramExecutable,
                   installPath + kGameFile);
    WriteRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramConfig,
                   installPath + kConfigFile);
    // The uninstall of a later run needs to know what was installed.
    WriteRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::FullInstall, fullInstall ? 1 : 0);

    WriteGameConfig(installPath + "\\jex.ini", cdLetter, fullInstall);

    WriteRegString(HKEY_LOCAL_MACHINE, UninstallKeyPath, RegValue::DisplayName, "Jex");
    WriteRegString(HKEY_LOCAL_MACHINE, UninstallKeyPath, RegValue::UninstallString,
                   std::string(1, cdLetter) + ":\\install.exe");

    WriteRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::InstallCount, count);
}

void RemoveInstallRecord()
{
    DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, UninstallKeyPath);

    // Normally the key is gone by now and this finds nothing. If it could
    // not be deleted, a counter above 1 is lowered and the key stays.
    DWORD count = 0;
    if (!ReadRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::InstallCount, count))
        count = 0;
    if (static_cast<int32_t>(count) > 1)
        WriteRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::InstallCount, count - 1);
    else
        DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);
}

size_t LongestRecordableInstallPath()
{
    // The longest value is the directory with the configuration program's
    // name; the readers need room for its terminating zero too.
    return kLongestRegString - 1 - (sizeof kConfigFile - 1);
}

RecordedInstallation ReadInstallRecord()
{
    RecordedInstallation recorded;
    ReadRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramPath, recorded.ProgramPath);
    DWORD full = 0;
    if (ReadRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::FullInstall, full))
        recorded.FullInstall = full != 0;
    return recorded;
}
