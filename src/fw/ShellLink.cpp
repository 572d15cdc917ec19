#include "fw/ShellLink.h"

#include "fw/Text.h"

#include <objidl.h>
#include <shlobj.h>

bool CreateShellLink(const char* target, const char* linkPath, const char* arguments, const char* workingDir,
                     const char* description)
{
    // Balanced around every single shortcut: nothing here depends on what
    // the calling thread did before.
    const HRESULT init = CoInitialize(nullptr);

    IShellLinkW* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result)) {
        link->SetPath(Widen(target).c_str());
        // A null description stays null: the link gets none at all.
        link->SetDescription(description ? Widen(description).c_str() : nullptr);
        if (arguments)
            link->SetArguments(Widen(arguments).c_str());
        if (workingDir)
            link->SetWorkingDirectory(Widen(workingDir).c_str());

        IPersistFile* file = nullptr;
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(result)) {
            result = file->Save(Widen(linkPath).c_str(), TRUE);
            file->Release();
        }
        link->Release();
    }

    // A thread that already runs in another apartment keeps it untouched.
    if (SUCCEEDED(init))
        CoUninitialize();
    return SUCCEEDED(result);
}
