#include "fw/Text.h"

#include "fw/Afx.h"

namespace {

// The system's Polish sort order; the same on every system.
const LCID kPolish = MAKELCID(MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT), SORT_DEFAULT);

} // namespace

std::wstring Widen(std::string_view text)
{
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(kTextCodePage, 0, text.data(), size, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(kTextCodePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string Narrow(std::wstring_view wide, bool* exact)
{
    std::string text;
    const bool whole = NarrowExactly(wide, text);
    if (exact)
        *exact = whole;
    return text;
}

bool NarrowExactly(std::wstring_view wide, std::string& text)
{
    text.clear();
    if (wide.empty())
        return true;
    // No best fit: Windows would quietly make "z" of "ż" for a code page
    // without it, and a path would name another file.
    const int size = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    text.resize(static_cast<size_t>(
        WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", &lost)));
    WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, text.data(),
                        static_cast<int>(text.size()), "?", &lost);
    return !lost;
}

int ComparePolishNoCase(const std::string& a, const std::string& b)
{
    const std::wstring wa = Widen(a), wb = Widen(b);
    return CompareStringW(kPolish, NORM_IGNORECASE, wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                          static_cast<int>(wb.size())) -
           CSTR_EQUAL;
}

std::string LowerCase(const std::string& text)
{
    std::wstring wide = Widen(text);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Narrow(wide);
}

std::string LoadResourceText(UINT id)
{
    // With a zero size the call hands back the resource's own read-only text.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(AfxGetInstanceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? Narrow(std::wstring_view(text, static_cast<size_t>(length))) : std::string();
}
