// The tests' one source of repeatable random numbers (a 32-bit xorshift) and the integer noise signal
// built on a linear congruential step; both give the same values on every build.
#pragma once
#include <cstdint>
#include <vector>

// One xorshift step of state, which must not be 0; returns the new state.
inline uint32_t nextRandom(uint32_t &state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// The xorshift as a record, with a draw from a closed range.
struct TestRandom {
    uint32_t state; // nonzero
    uint32_t next() { return nextRandom(state); }
    int32_t between(int32_t lo, int32_t hi) { return lo + (int32_t)(next() % (uint32_t)(hi - lo + 1)); }
};

// A reproducible 16-bit noise signal (a linear congruential generator), amplitude below full scale.
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
