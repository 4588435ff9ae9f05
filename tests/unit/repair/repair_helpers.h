// Helpers of the repair tests: the shared noise signal, and readable dumps of bridge entries for
// got-versus-expected messages.
#pragma once
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>
#include "support/test_random.h"

inline std::string dumpEntries(const int16_t *entries, uint32_t count)
{
    std::ostringstream text;
    for (uint32_t i = 0; i < count; i++)
        text << (i ? ", " : "") << entries[i];
    return text.str();
}

inline std::string dumpEntries(const std::vector<int16_t> &entries)
{
    return dumpEntries(entries.data(), (uint32_t)entries.size());
}
