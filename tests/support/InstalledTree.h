// An installed game tree made directly on disk, without running the
// installation: the manifest's directories under a target directory and
// the listed files copied from the sample CD.
#pragma once

#include <string>
#include <vector>

namespace installed {

// Creates target with every missing ancestor, the given directories under
// it and copies of the listed files from the sample CD. False (with the
// failing path in `failed`) when something could not be made.
bool MakeTree(const std::string& target, const char* const* dirs, const char* const* files,
              std::string* failed = nullptr);

// Writes a small file (creating it or replacing its contents).
bool WriteFile(const std::string& path, const std::string& bytes);

// The entries of a table that exist under target.
std::vector<std::string> PresentEntries(const std::string& target, const char* const* table);

// The user's Start-menu Programs folder, without a trailing backslash.
std::string ProgramsFolder();

// Opens a file without sharing, so no other handle (nor its removal) can
// get at it until Release or the object goes.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool IsHeld() const;
    void Release();

private:
    void* m_handle;
};

} // namespace installed
