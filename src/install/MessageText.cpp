#include "install/MessageText.h"

std::string FillIn(const char* pattern, const char* value)
{
    std::string text(pattern ? pattern : "");
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, value ? value : "");
    return text;
}
