// The shared text rules of the host program's parsers: trimming and plain decimal numbers. No state.
#include "text_parse.h"

std::string trimmed(const std::string &text, const char *blanks)
{
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

int32_t parseFrameNumber(const std::string &text, uint32_t *value)
{
    if (text.empty())
        return 0;
    uint64_t total = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        total = total * 10u + (uint64_t)(c - '0');
        if (total > 0xFFFFFFFFull)
            return 0;
    }
    *value = (uint32_t)total;
    return 1;
}
