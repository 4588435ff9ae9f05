// Deterministic test material for the benchmarks and the golden-run tests: music-like tones, white
// noise, silence and clicks, built with integer arithmetic only (a linear congruential generator and a
// parabolic sine), so the same call gives the same samples on every build. Header only; no state.
#pragma once
#include <cstdint>
#include <vector>

enum { BENCH_RATE = 44100 };

namespace material {

inline uint32_t nextRandom(uint32_t &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

inline int16_t clip(int32_t v) { return (int16_t)(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }

// A sine-like wave of the 32-bit phase, -32768..32767: two parabolic half waves.
inline int32_t parabolicSine(uint32_t phase)
{
    int32_t x = (int32_t)((phase >> 16) & 0x7FFF); // position within the half wave, 0..32767
    int32_t y = (int32_t)(((int64_t)4 * x * (32768 - x)) >> 15);
    return (phase & 0x80000000u) ? -y : y;
}

// Phase increment of a tone of hz / 10 cycles per second at BENCH_RATE.
inline uint32_t phaseStep(uint32_t deciHz) { return (uint32_t)(((uint64_t)deciHz << 32) / (10u * BENCH_RATE)); }

} // namespace material

// Music-like material: five partials under a slow envelope, plus a little noise.
inline std::vector<int16_t> musicLike(uint32_t samples, uint32_t seed)
{
    static const uint32_t partials[] = {1100, 2205, 3297, 4413, 6599}; // tenths of a hertz
    static const int32_t levels[] = {3000, 2000, 1200, 700, 300};
    std::vector<int16_t> out(samples);
    uint32_t phase[5] = {0, 1u << 30, 2u << 30, 3u << 30, 5u << 28};
    uint32_t envelopePhase = seed * 0x10000000u;
    uint32_t state = seed;
    for (uint32_t i = 0; i < samples; i++) {
        int64_t v = 0;
        for (int k = 0; k < 5; k++) {
            v += (int64_t)levels[k] * material::parabolicSine(phase[k]);
            phase[k] += material::phaseStep(partials[k]);
        }
        // Envelope 0.6 .. 1.0 at a quarter of a hertz.
        int64_t envelope = 19661 + (material::parabolicSine(envelopePhase) * 13107 >> 15);
        envelopePhase += material::phaseStep(2);
        int32_t noise = (int32_t)(material::nextRandom(state) % 61) - 30;
        out[i] = material::clip((int32_t)(((v >> 15) * envelope) >> 15) + noise);
    }
    return out;
}

// White noise, uniform in -level..level.
inline std::vector<int16_t> whiteNoise(uint32_t samples, int32_t level, uint32_t seed)
{
    std::vector<int16_t> out(samples);
    uint32_t state = seed;
    for (uint32_t i = 0; i < samples; i++)
        out[i] = material::clip((int32_t)(material::nextRandom(state) % (uint32_t)(2 * level + 1)) - level);
    return out;
}

// Adds a click (a spike and half a spike back, alternating in sign) every `every` samples from `first`.
inline void addClicks(std::vector<int16_t> &samples, uint32_t first, uint32_t every, int32_t height)
{
    int32_t sign = 1;
    for (uint64_t p = first; p + 3 < samples.size(); p += every) {
        samples[p] = material::clip(samples[p] + sign * height);
        samples[p + 1] = material::clip(samples[p + 1] - sign * height / 2);
        sign = -sign;
    }
}
