#include "install/InstallManifest.h"

#include <algorithm>
#include <cstring>

const char* const ManifestDirectories[] = {
    "LEVEL",
    "LEVEL\\FERN1", "LEVEL\\FERN2",
    "LEVEL\\MOSS1", "LEVEL\\MOSS2", "LEVEL\\MOSS3", "LEVEL\\MOSS4", "LEVEL\\MOSS5",
    "LEVEL\\REEF1", "LEVEL\\REEF2", "LEVEL\\REEF3", "LEVEL\\REEF4",
    "LEVEL\\REEF5", "LEVEL\\REEF6", "LEVEL\\REEF7", "LEVEL\\REEF8",
    "LEVEL\\DUNE", "LEVEL\\TIDE", "LEVEL\\CODA",
    "DATA",
    "PLAYER",
    nullptr,
};

const char* const PartialFiles[] = {
    "DATA\\ART_H.DAT",
    "DATA\\ART_L.DAT",
    "DATA\\OBJECTS.DAT",
    "DATA\\SFX.DAT",
    "JEXSETUP.EXE",
    "Msvcrt.dll",
    "MFC42.DLL",
    "JEX.EXE",
    "JEX.ICO",
    "JEXINSTL.EXE",
    "DOS4GW.EXE",
    nullptr,
};

// Six files for each level directory; here CODA comes before TIDE.
#define JEX_LEVEL_FILES(dir)                                                                  \
    "LEVEL\\" dir "\\LEVEL.ENT", "LEVEL\\" dir "\\LEVEL.GRF", "LEVEL\\" dir "\\LEVEL.LNG",   \
        "LEVEL\\" dir "\\MAP.DAT", "LEVEL\\" dir "\\MAP.GFX", "LEVEL\\" dir "\\MAP.LHT"

const char* const FullFiles[] = {
    "DATA\\ART_H.DAT",
    "DATA\\ART_L.DAT",
    "DATA\\OBJECTS.DAT",
    "DATA\\SFX.DAT",
    JEX_LEVEL_FILES("FERN1"), JEX_LEVEL_FILES("FERN2"),
    JEX_LEVEL_FILES("MOSS1"), JEX_LEVEL_FILES("MOSS2"), JEX_LEVEL_FILES("MOSS3"),
    JEX_LEVEL_FILES("MOSS4"), JEX_LEVEL_FILES("MOSS5"),
    JEX_LEVEL_FILES("REEF1"), JEX_LEVEL_FILES("REEF2"), JEX_LEVEL_FILES("REEF3"),
    JEX_LEVEL_FILES("REEF4"), JEX_LEVEL_FILES("REEF5"), JEX_LEVEL_FILES("REEF6"),
    JEX_LEVEL_FILES("REEF7"), JEX_LEVEL_FILES("REEF8"),
    JEX_LEVEL_FILES("DUNE"), JEX_LEVEL_FILES("CODA"), JEX_LEVEL_FILES("TIDE"),
    "Msvcrt.dll",
    "MFC42.DLL",
    "JEX.EXE",
    "JEX.ICO",
    "JEXSETUP.EXE",
    "JEXINSTL.EXE",
    "DOS4GW.EXE",
    nullptr,
};

#undef JEX_LEVEL_FILES

const char* const* SelectedFiles(bool fullInstall)
{
    return fullInstall ? FullFiles : PartialFiles;
}

uint32_t SelectedInstallBytes(bool fullInstall)
{
    return fullInstall ? FullInstallBytes : PartialInstallBytes;
}

int CountEntries(const char* const* table)
{
    int count = 0;
    while (table[count])
        ++count;
    return count;
}

namespace {

// Windows paths hold at most 259 characters; a directory that is made
// leaves room for a file name of 8.3 characters and holds at most 247.
constexpr size_t kLongestFilePath = 259;
constexpr size_t kLongestDirectoryPath = 247;

size_t LongestEntry(const char* const* table)
{
    size_t longest = 0;
    for (; *table; ++table)
        longest = std::max(longest, std::strlen(*table));
    return longest;
}

} // namespace

size_t MaxTargetLength()
{
    // Each entry is joined to the target with one backslash.
    const size_t forFiles = kLongestFilePath - 1 - std::max(LongestEntry(PartialFiles), LongestEntry(FullFiles));
    const size_t forDirectories = kLongestDirectoryPath - 1 - LongestEntry(ManifestDirectories);
    return std::min(forFiles, forDirectories);
}
