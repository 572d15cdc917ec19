// mapdrive LETTER TYPE [LINUX-FOLDER]
//   TYPE: cdrom, hd, network, floppy, ramdisk, or none to remove the letter.
#include "WineDrives.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    struct Kind {
        const char* name;
        UINT type;
    };
    static const Kind kinds[] = {
        {"cdrom", DRIVE_CDROM}, {"hd", DRIVE_FIXED},         {"network", DRIVE_REMOTE},
        {"floppy", DRIVE_REMOVABLE}, {"ramdisk", DRIVE_RAMDISK}, {"none", DRIVE_NO_ROOT_DIR},
    };
    if (argc < 3 || std::strlen(argv[1]) != 1) {
        std::fprintf(stderr, "usage: mapdrive LETTER cdrom|hd|network|floppy|ramdisk|none [FOLDER]\n");
        return 2;
    }
    for (const Kind& kind : kinds) {
        if (std::strcmp(argv[2], kind.name) != 0)
            continue;
        if (kind.type == DRIVE_NO_ROOT_DIR)
            return UnmapWineDrive(argv[1][0]) ? 0 : 1;
        if (argc < 4) {
            std::fprintf(stderr, "mapdrive: a folder is needed\n");
            return 2;
        }
        return MapWineDrive(argv[1][0], argv[3], kind.type) ? 0 : 1;
    }
    std::fprintf(stderr, "mapdrive: unknown drive type %s\n", argv[2]);
    return 2;
}
