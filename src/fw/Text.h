// Where the program's text meets Windows. The program keeps every text -
// its own words, paths, names read from the disk and the registry - as
// single-byte text in code page 1250, whatever code page the system uses
// for its "A" functions. Windows is spoken to through the "W" functions
// only, and every text crosses over here, converted from and to UTF-16
// with code page 1250 stated explicitly.
//
// Not every name Windows holds has a code page 1250 form (a folder named in
// Cyrillic, say). Such a name is never acted on: NarrowExactly tells it
// apart, and Narrow gives it only a form to show, with "?" in place of
// what is missing - a character no file name may hold.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

constexpr UINT kTextCodePage = 1250;

// The program's text as UTF-16.
std::wstring Widen(std::string_view text);

// UTF-16 as the program's text: true when every character has its code
// page 1250 form; `text` is then exactly that, and otherwise the form to
// show.
bool NarrowExactly(std::wstring_view wide, std::string& text);

// UTF-16 as the program's text, for showing only: what has no code page
// 1250 form becomes "?". `exact`, when given, says whether nothing did.
std::string Narrow(std::wstring_view wide, bool* exact = nullptr);

// Compares two names as Polish sorts them, case ignored: the same order on
// every system, whatever its own language. Negative, zero or positive.
int ComparePolishNoCase(const std::string& a, const std::string& b);

// The text in lower case (Polish letters too).
std::string LowerCase(const std::string& text);

// A string resource of the program.
std::string LoadResourceText(UINT id);
