// Message texts with one "%s" filled in, built without a length limit.
#pragma once

#include <string>

// The pattern with its first "%s" replaced by value (null counts as empty).
std::string FillIn(const char* pattern, const char* value);
