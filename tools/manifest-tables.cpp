// Prints the program's install manifest for the sample-CD maker, built for
// the host from the program's own src/install/InstallManifest.cpp, so the
// CD and the program cannot list different files. One entry a line:
//   dir NAME | partial FILE | full FILE | bytes partial|full N
#include "install/InstallManifest.h"

#include <cstdio>

namespace {

void PrintTable(const char* kind, const char* const* table)
{
    for (int i = 0; table[i]; ++i)
        std::printf("%s %s\n", kind, table[i]);
}

} // namespace

int main()
{
    PrintTable("dir", ManifestDirectories);
    PrintTable("partial", PartialFiles);
    PrintTable("full", FullFiles);
    std::printf("bytes partial %u\n", static_cast<unsigned>(PartialInstallBytes));
    std::printf("bytes full %u\n", static_cast<unsigned>(FullInstallBytes));
    return 0;
}
