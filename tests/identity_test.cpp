// What Windows reads about install.exe itself, read back from the built
// file: its application manifest and its version resource.
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr auto npos = std::string::npos;

std::string ManifestOf(const std::string& exe)
{
    std::string text;
    if (HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
            const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
            text.assign(bytes, SizeofResource(module, found));
        }
        FreeLibrary(module);
    }
    return text;
}

std::string VersionValue(const std::vector<char>& info, const std::string& path)
{
    char* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size) || !size)
        return std::string();
    return std::string(value, strnlen(value, size));
}

TEST(ProgramIdentity, ManifestAndVersionReadBackFromInstallExe)
{
    const std::string exe = testenv::InstallExe();
    const std::string manifest = ManifestOf(exe);
    ASSERT_FALSE(manifest.empty()) << "no application manifest in " << exe;
    EXPECT_NE(npos, manifest.find("<requestedExecutionLevel level=\"requireAdministrator\""));
    // Vista, 7, 8, 8.1, 10 and 11.
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(npos, manifest.find(std::string("<supportedOS Id=\"{") + os + "}\"/>")) << os;
    // Nothing that would change the windows' look.
    EXPECT_EQ(npos, manifest.find("Common-Controls"));
    EXPECT_EQ(npos, manifest.find("dpiAware"));
    // The system's own reader takes it.
    ACTCTXA context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = exe.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE activation = CreateActCtxA(&context);
    EXPECT_NE(INVALID_HANDLE_VALUE, activation) << "the manifest does not parse";
    if (activation != INVALID_HANDLE_VALUE)
        ReleaseActCtx(activation);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));
    // Polish strings in code page 1250, and the translation table says so.
    DWORD* translation = nullptr;
    UINT translationSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &translationSize));
    ASSERT_EQ(4u, translationSize);
    EXPECT_EQ(MAKELONG(0x0415, 1250), *translation);
    const std::string strings = "\\StringFileInfo\\041504E2\\";
    EXPECT_EQ("Kestrel Forge", VersionValue(info, strings + "CompanyName"));
    EXPECT_EQ("Jex", VersionValue(info, strings + "ProductName"));
    EXPECT_EQ("Program instalacyjny", VersionValue(info, strings + "FileDescription"));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_NE(0u, fixed->dwFileVersionMS) << "no version number";
    char number[32];
    std::snprintf(number, sizeof number, "%u.%u.%u.%u", unsigned{HIWORD(fixed->dwFileVersionMS)},
                  unsigned{LOWORD(fixed->dwFileVersionMS)}, unsigned{HIWORD(fixed->dwFileVersionLS)},
                  unsigned{LOWORD(fixed->dwFileVersionLS)});
    EXPECT_EQ(number, VersionValue(info, strings + "FileVersion"));
    EXPECT_EQ(number, VersionValue(info, strings + "ProductVersion"));
}

} // namespace
