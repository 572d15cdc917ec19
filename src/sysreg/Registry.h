// The only code that touches the registry: read and write one string or one
// 32-bit value under a root key and a sub-key path, and delete a key with
// everything below it. Every key opened here is closed again before
// returning; nothing is shown to the user.
#pragma once

#include <windows.h>

#include <string>

// The longest text the readers take, in characters with the terminating
// zero.
constexpr DWORD kLongestRegString = 200;

// True when a text value (REG_SZ or REG_EXPAND_SZ) was read, at most 200
// characters with its terminator; `value` then holds it. A value of any
// other type counts as absent, and so does a text that cannot be held in
// code page 1250: the program never acts on a name it cannot spell. On
// failure `value` keeps what it had.
bool ReadRegString(HKEY root, const char* subKey, const char* valueName, std::string& value);

// Stores a REG_SZ value, creating every missing key along the path.
bool WriteRegString(HKEY root, const char* subKey, const char* valueName, const std::string& value);

// True when a REG_DWORD value was read into `value`. On failure `value` is
// undefined: callers reset it themselves.
bool ReadRegDword(HKEY root, const char* subKey, const char* valueName, DWORD& value);

// Stores a REG_DWORD value, creating every missing key along the path.
bool WriteRegDword(HKEY root, const char* subKey, const char* valueName, DWORD value);

// Deletes one value; true when it was there and is gone.
bool DeleteRegValue(HKEY root, const char* subKey, const char* valueName);

// Deletes the key and every key below it, depth first. Stops with false at
// the first sub-key that cannot be deleted; what went already stays gone.
bool DeleteRegKeyTree(HKEY parent, const char* subKey);
