// The tests' text is code page 1250, as the program's is, whatever the
// system's ANSI code page. It meets Windows in UTF-16 through the "W"
// functions, converted here with code page 1250 named: never through the
// "A" functions or CP_ACP, and never through the program's own conversion,
// whose faults the tests must not share. Both keep embedded nulls (registry
// data carries its terminator); 1250 is a single-byte code page, so a text
// keeps its length.
#pragma once

#include <windows.h>

#include <string>

namespace cp1250 {

inline std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(1250, 0, text.data(), int(text.size()), wide.data(), int(wide.size())));
    return wide;
}

inline std::string Narrow(const std::wstring& text)
{
    std::string narrow(text.size(), '\0');
    narrow.resize(WideCharToMultiByte(1250, 0, text.data(), int(text.size()), narrow.data(), int(narrow.size()),
                                      nullptr, nullptr));
    return narrow;
}

} // namespace cp1250
