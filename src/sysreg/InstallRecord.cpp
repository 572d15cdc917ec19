#include "sysreg/InstallRecord.h"

#include "fw/Files.h"
#include "sysreg/Registry.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The file names joined to the install directory in the record.
constexpr char kGameFile[] = "\\jex.exe";
constexpr char kConfigFile[] = "\\jexsetup.exe";
constexpr char kIconFile[] = "\\JEX.EXE";
constexpr char kGameConfigFile[] = "\\jex.ini";

constexpr char kPublisher[] = "Kestrel Forge";
constexpr char kVersion[] = "1.0.0.0";

// The game's configuration file: code page 1250 text whose lines end in CR
// LF, as a text-mode file of the C runtime has them.
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

bool ReadCount(const char* name, DWORD& count)
{
    return ReadRegDword(HKEY_CURRENT_USER, ProductKeyPath, name, count);
}

} // namespace

std::string GameConfigPath(const std::string& installPath)
{
    return installPath + kGameConfigFile;
}

bool WriteGameConfig(const std::string& installPath, char cdLetter, bool fullInstall)
{
    return WriteWholeFile(GameConfigPath(installPath), GameConfigText(cdLetter, fullInstall));
}

void WriteInstallRecord(const std::string& installPath, char cdLetter, bool fullInstall, uint32_t installBytes,
                        const RecordWriteGate& gate)
{
    // The counter goes up by one for an installation where none is
    // recorded. Whether one is recorded, ProgramPath says: it is written
    // only once everything before it is. The counter itself is written
    // earlier, so a writing cut off before ProgramPath has counted itself
    // already; the counter before it, kept aside meanwhile, is the one the
    // next writing counts from.
    std::string recordedPath;
    const bool recorded = ReadRegString(HKEY_CURRENT_USER, ProductKeyPath, RegValue::ProgramPath, recordedPath);
    DWORD before = 0;
    if (recorded || !ReadCount(RegValue::InstallCountBefore, before)) {
        if (!ReadCount(RegValue::InstallCount, before))
            before = 0;
    }
    const DWORD count = recorded ? before : before + 1;
    // Until the new directory is written, the directory recorded is still
    // the earlier installation's: the kind recorded meanwhile must cover
    // both, or a removal after a cut would leave files of the earlier one.
    DWORD kind = 0;
    const bool earlierFull =
        recorded && (!ReadRegDword(HKEY_CURRENT_USER, ProductKeyPath, RegValue::FullInstall, kind) || kind != 0);
    const DWORD coveringFull = fullInstall || earlierFull ? 1 : 0;

    const HKEY user = HKEY_CURRENT_USER, machine = HKEY_LOCAL_MACHINE;
    const char *product = ProductKeyPath, *entry = UninstallKeyPath;
    const std::vector<std::function<void()>> writes = {
        [&] { WriteRegDword(user, product, RegValue::InstallCountBefore, before); },
        [&] { WriteRegDword(user, product, RegValue::FullInstall, coveringFull); },
        [&] { WriteRegDword(user, product, RegValue::InstallCount, count); },
        [&] { WriteRegString(user, product, RegValue::ProgramConfig, installPath + kConfigFile); },
        [&] { WriteRegString(machine, entry, RegValue::DisplayName, "Jex"); },
        [&] { WriteRegString(machine, entry, RegValue::UninstallString, std::string(1, cdLetter) + ":\\install.exe"); },
        [&] { WriteRegString(machine, entry, RegValue::DisplayIcon, installPath + kIconFile); },
        [&] { WriteRegString(machine, entry, RegValue::Publisher, kPublisher); },
        [&] { WriteRegString(machine, entry, RegValue::DisplayVersion, kVersion); },
        [&] { WriteRegString(machine, entry, RegValue::InstallLocation, installPath); },
        [&] { WriteRegDword(machine, entry, RegValue::EstimatedSize, (installBytes + 1023) / 1024); },
        [&] { WriteRegDword(machine, entry, RegValue::NoModify, 1); },
        [&] { WriteRegDword(machine, entry, RegValue::NoRepair, 1); },
        // From here on the game counts as installed.
        [&] { WriteRegString(user, product, RegValue::ProgramPath, installPath); },
        [&] { WriteRegString(user, product, RegValue::ProgramExecutable, installPath + kGameFile); },
        [&] { WriteRegDword(user, product, RegValue::FullInstall, fullInstall ? 1 : 0); },
        [&] { DeleteRegValue(user, product, RegValue::InstallCountBefore); },
    };
    for (const auto& write : writes) {
        if (gate && !gate())
            return;
        write();
    }
}

void RemoveInstallRecord()
{
    DeleteRegKeyTree(HKEY_CURRENT_USER, ProductKeyPath);
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, UninstallKeyPath);

    // Normally the key is gone by now and this finds nothing. If it could
    // not be deleted, a counter above 1 is lowered and the key stays.
    DWORD count = 0;
    if (!ReadCount(RegValue::InstallCount, count))
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
