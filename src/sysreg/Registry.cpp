#include "sysreg/Registry.h"

#include <vector>

bool ReadRegString(HKEY root, const char* subKey, const char* valueName, std::string& value)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[kLongestRegString + 1] = {};
    DWORD size = kLongestRegString;
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    // A value of another type is not a text, whatever its bytes spell.
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value = buffer; // the extra byte stops a value stored without its zero
    return true;
}

bool WriteRegString(HKEY root, const char* subKey, const char* valueName, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, valueName, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool ReadRegDword(HKEY root, const char* subKey, const char* valueName, DWORD& value)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof value;
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type,
                                   reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD;
}

bool WriteRegDword(HKEY root, const char* subKey, const char* valueName, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, valueName, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool DeleteRegKeyTree(HKEY parent, const char* subKey)
{
    HKEY key;
    if (RegOpenKeyExA(parent, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subKeyCount = 0;
    DWORD longestName = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeyCount, &longestName, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        // Without the count nothing below can be visited; the key itself
        // then only goes if it has no sub-keys.
        subKeyCount = 0;
    }
    if (subKeyCount > 0) {
        std::vector<char> name(longestName + 2);
        // Downwards, so the indexes not yet visited stay valid.
        for (DWORD index = subKeyCount; index-- > 0;) {
            RegEnumKeyA(key, index, name.data(), static_cast<DWORD>(name.size()));
            if (!DeleteRegKeyTree(key, name.data())) {
                RegCloseKey(key);
                return false;
            }
        }
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, subKey) == ERROR_SUCCESS;
}
