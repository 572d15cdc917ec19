#include "WineDrives.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

// Wine's mount manager extension for defining a drive from a Unix path.
constexpr DWORD kDefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

bool DefineDrive(char letter, const std::string& unixFolder, UINT driveType)
{
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;

    std::vector<char> buffer(sizeof(UnixDriveRequest) + unixFolder.size() + 1, 0);
    UnixDriveRequest request = {};
    request.size = static_cast<ULONG>(buffer.size());
    request.type = driveType;
    request.letter = static_cast<WCHAR>(letter | 0x20);
    if (driveType != DRIVE_NO_ROOT_DIR) {
        request.mountPointOffset = sizeof(UnixDriveRequest);
        std::memcpy(buffer.data() + sizeof request, unixFolder.c_str(), unixFolder.size() + 1);
    }
    std::memcpy(buffer.data(), &request, sizeof request);

    DWORD returned = 0;
    BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(),
                              static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

} // namespace

bool MapWineDrive(char letter, const std::string& unixFolder, UINT driveType)
{
    return DefineDrive(letter, unixFolder, driveType);
}

bool UnmapWineDrive(char letter)
{
    return DefineDrive(letter, std::string(), DRIVE_NO_ROOT_DIR);
}
