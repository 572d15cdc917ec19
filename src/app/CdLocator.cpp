#include "app/CdLocator.h"

#include <windows.h>

#include <cstdio>

char NextCdDrive(char letter)
{
    char root[8];
    for (; letter <= 'z'; ++letter) {
        std::snprintf(root, sizeof root, "%c:\\", letter);
        if (GetDriveTypeA(root) == DRIVE_CDROM)
            return letter;
    }
    return 0;
}

char LocateCd()
{
    char probe[16] = "c:\\jex.ico";
    for (;;) {
        const char letter = NextCdDrive(probe[0]);
        if (letter == 0)
            return 0;
        probe[0] = letter;
        // A drive whose marker cannot be opened holds another disc, or none.
        if (FILE* marker = std::fopen(probe, "rb")) {
            std::fclose(marker);
            return letter;
        }
        ++probe[0];
    }
}
