// An open registry key, named and read in the program's text (code page
// 1250) through the "W" functions. Closed when the object goes.
#pragma once

#include <windows.h>

#include <string>

class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Opens an existing key; creates nothing.
    bool Open(HKEY root, const std::string& path, REGSAM access);
    // Opens the key with every right, creating it and every missing key
    // along the path.
    bool Create(HKEY root, const std::string& path);
    void Close();
    HKEY Handle() const { return m_hKey; }

    // A text value (REG_SZ or REG_EXPAND_SZ) of at most `limit` characters
    // with its terminator, up to its first zero. False for any other type,
    // a longer text, or one that cannot be held in the program's text;
    // `value` is then left as it was.
    bool ReadText(const std::string& name, size_t limit, std::string& value) const;
    // A REG_DWORD value.
    bool ReadNumber(const std::string& name, DWORD& value) const;
    // Stores a REG_SZ value, or a REG_DWORD one.
    bool WriteText(const std::string& name, const std::string& value);
    bool WriteNumber(const std::string& name, DWORD value);
    bool DeleteValue(const std::string& name);

    // How many sub-keys there are, and the length of the longest name.
    bool SubKeyInfo(DWORD& count, DWORD& longestName) const;
    // The name of the sub-key at the index; false also when it cannot be
    // held in the program's text.
    bool SubKeyName(DWORD index, std::string& name) const;

private:
    HKEY m_hKey = nullptr;
};

// Deletes a key that has no sub-keys.
bool DeleteRegistryKey(HKEY parent, const std::string& path);
