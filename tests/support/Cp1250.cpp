#include "support/Cp1250.h"

#include <windows.h>

namespace cp1250 {

constexpr UINT kCodePage = 1250;

// Both keep embedded nulls (registry data carries its terminator); 1250 is
// a single-byte code page, so a text keeps its length.
std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    return wide;
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow(text.size(), '\0');
    narrow.resize(WideCharToMultiByte(kCodePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                                      static_cast<int>(narrow.size()), nullptr, nullptr));
    return narrow;
}

} // namespace cp1250
