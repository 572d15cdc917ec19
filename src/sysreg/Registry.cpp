#include "sysreg/Registry.h"

#include "fw/RegistryKey.h"

bool ReadRegString(HKEY root, const char* subKey, const char* valueName, std::string& value)
{
    CRegistryKey key;
    return key.Open(root, subKey, KEY_READ) && key.ReadText(valueName, kLongestRegString, value);
}

bool WriteRegString(HKEY root, const char* subKey, const char* valueName, const std::string& value)
{
    CRegistryKey key;
    return key.Create(root, subKey) && key.WriteText(valueName, value);
}

bool ReadRegDword(HKEY root, const char* subKey, const char* valueName, DWORD& value)
{
    CRegistryKey key;
    return key.Open(root, subKey, KEY_READ) && key.ReadNumber(valueName, value);
}

bool WriteRegDword(HKEY root, const char* subKey, const char* valueName, DWORD value)
{
    CRegistryKey key;
    return key.Create(root, subKey) && key.WriteNumber(valueName, value);
}

bool DeleteRegValue(HKEY root, const char* subKey, const char* valueName)
{
    CRegistryKey key;
    return key.Open(root, subKey, KEY_SET_VALUE) && key.DeleteValue(valueName);
}

bool DeleteRegKeyTree(HKEY parent, const char* subKey)
{
    {
        CRegistryKey key;
        if (!key.Open(parent, subKey, KEY_READ))
            return false;
        DWORD subKeyCount = 0;
        DWORD longestName = 0;
        // Without the count nothing below can be visited; the key itself
        // then only goes if it has no sub-keys.
        if (!key.SubKeyInfo(subKeyCount, longestName))
            subKeyCount = 0;
        // Downwards, so the indexes not yet visited stay valid.
        for (DWORD index = subKeyCount; index-- > 0;) {
            std::string name;
            if (!key.SubKeyName(index, name) || !DeleteRegKeyTree(key.Handle(), name.c_str()))
                return false;
        }
    }
    return DeleteRegistryKey(parent, subKey);
}
