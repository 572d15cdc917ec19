#include "app/CdLocator.h"

#include "fw/Files.h"

#include <string>

char NextCdDrive(char letter)
{
    for (; letter <= 'z'; ++letter) {
        if (DriveTypeOf({letter, ':', '\\'}) == DRIVE_CDROM)
            return letter;
    }
    return 0;
}

char LocateCd()
{
    std::string probe = "c:\\jex.ico";
    for (;;) {
        const char letter = NextCdDrive(probe[0]);
        if (letter == 0)
            return 0;
        probe[0] = letter;
        // A drive whose marker cannot be opened holds another disc, or none.
        HANDLE marker = OpenFileHandle(probe, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL);
        if (marker != INVALID_HANDLE_VALUE) {
            CloseHandle(marker);
            return letter;
        }
        ++probe[0];
    }
}
