#include "app/CdLocator.h"

#include "app/Globals.h"

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

void LocateCd()
{
    char probe[16] = "c:\\jex.ico";
    CdRoot[0] = 'c';
    CdLetter[0] = 'c';
    for (;;) {
        char letter = NextCdDrive(probe[0]);
        if (letter == 0) {
            CdRoot[0] = '\0';
            CdLetter[0] = '\0';
            return;
        }
        probe[0] = letter;
        if (FILE* marker = std::fopen(probe, "rb")) {
            CdRoot[0] = letter;
            CdLetter[0] = letter;
            std::fclose(marker);
            return;
        }
        ++probe[0];
    }
}
