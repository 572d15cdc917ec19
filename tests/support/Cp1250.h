// The tests' text is code page 1250, as the program's is, whatever the
// system's ANSI code page. It meets Windows in UTF-16 through the "W"
// functions, converted here with code page 1250 named: never through the
// "A" functions or CP_ACP, and never through the program's own conversion,
// whose faults the tests must not share.
#pragma once

#include <string>

namespace cp1250 {

std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

} // namespace cp1250
