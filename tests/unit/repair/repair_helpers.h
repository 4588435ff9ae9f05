// Helpers of the repair tests: a deterministic integer signal, a buffer framed by guard samples, and
// readable dumps of bridge entries for got-versus-expected messages.
#pragma once
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// A reproducible 16-bit signal (a linear congruential generator), amplitude below full scale.
inline std::vector<int16_t> noiseSignal(uint32_t count, uint32_t seed, int32_t amplitude)
{
    std::vector<int16_t> out(count);
    uint32_t state = seed * 2654435761u + 1u;
    for (uint32_t i = 0; i < count; i++) {
        state = state * 1664525u + 1013904223u;
        out[i] = (int16_t)((int32_t)(state >> 16) % (amplitude + 1) - amplitude / 2);
    }
    return out;
}

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
