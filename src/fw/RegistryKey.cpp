#include "fw/RegistryKey.h"

#include "fw/Text.h"

#include <vector>

bool CRegistryKey::Open(HKEY root, const std::string& path, REGSAM access)
{
    Close();
    return RegOpenKeyExW(root, Widen(path).c_str(), 0, access, &m_hKey) == ERROR_SUCCESS;
}

bool CRegistryKey::Create(HKEY root, const std::string& path)
{
    Close();
    return RegCreateKeyExW(root, Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           &m_hKey, nullptr) == ERROR_SUCCESS;
}

void CRegistryKey::Close()
{
    if (m_hKey)
        RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

bool CRegistryKey::ReadText(const std::string& name, size_t limit, std::string& value) const
{
    // One character more than the limit: a value stored without its zero
    // still ends.
    std::vector<wchar_t> buffer(limit + 1, L'\0');
    DWORD size = static_cast<DWORD>(limit * sizeof(wchar_t));
    DWORD type = REG_NONE;
    if (RegQueryValueExW(m_hKey, Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return false;
    // A value of another type is not a text, whatever its bytes spell.
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    std::string text;
    if (!NarrowExactly(buffer.data(), text))
        return false;
    value = text;
    return true;
}

bool CRegistryKey::ReadNumber(const std::string& name, DWORD& value) const
{
    DWORD size = sizeof value;
    DWORD type = REG_NONE;
    return RegQueryValueExW(m_hKey, Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD;
}

bool CRegistryKey::WriteText(const std::string& name, const std::string& value)
{
    const std::wstring wide = Widen(value);
    return RegSetValueExW(m_hKey, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool CRegistryKey::WriteNumber(const std::string& name, DWORD value)
{
    return RegSetValueExW(m_hKey, Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteValue(const std::string& name)
{
    return RegDeleteValueW(m_hKey, Widen(name).c_str()) == ERROR_SUCCESS;
}

bool CRegistryKey::SubKeyInfo(DWORD& count, DWORD& longestName) const
{
    return RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, &count, &longestName, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool CRegistryKey::SubKeyName(DWORD index, std::string& name) const
{
    // Registry key names hold at most 255 characters.
    wchar_t found[256] = L"";
    // A name without a code page 1250 form cannot be named again.
    return RegEnumKeyW(m_hKey, index, found, 256) == ERROR_SUCCESS && NarrowExactly(found, name);
}

bool DeleteRegistryKey(HKEY parent, const std::string& path)
{
    return RegDeleteKeyW(parent, Widen(path).c_str()) == ERROR_SUCCESS;
}
