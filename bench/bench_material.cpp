// Deterministic benchmark material built from a linear congruential generator and a sine table.
#include "bench_material.h"
#include <cmath>

static uint32_t nextRandom(uint32_t &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

static int16_t clip(int32_t v) { return (int16_t)(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }

std::vector<int16_t> musicLike(uint32_t samples, uint32_t seed)
{
    std::vector<int16_t> out(samples);
    const double partials[] = {110.0, 220.5, 329.7, 441.3, 659.9};
    const double levels[] = {3000, 2000, 1200, 700, 300};
    uint32_t state = seed;
    for (uint32_t i = 0; i < samples; i++) {
        double t = (double)i / BENCH_RATE;
        double envelope = 0.6 + 0.4 * std::sin(2 * M_PI * 0.25 * t);
        double v = 0;
        for (int k = 0; k < 5; k++)
            v += levels[k] * std::sin(2 * M_PI * partials[k] * t + k);
        int32_t noise = (int32_t)(nextRandom(state) % 61) - 30;
        out[i] = clip((int32_t)(v * envelope) + noise);
    }
    return out;
}

std::vector<int16_t> whiteNoise(uint32_t samples, int32_t level, uint32_t seed)
{
    std::vector<int16_t> out(samples);
    uint32_t state = seed;
    for (uint32_t i = 0; i < samples; i++)
        out[i] = clip((int32_t)(nextRandom(state) % (uint32_t)(2 * level + 1)) - level);
    return out;
}

void addClicks(std::vector<int16_t> &samples, uint32_t first, uint32_t every, int32_t height)
{
    int32_t sign = 1;
    for (uint64_t p = first; p + 3 < samples.size(); p += every) {
        samples[p] = clip(samples[p] + sign * height);
        samples[p + 1] = clip(samples[p + 1] - sign * height / 2);
        sign = -sign;
    }
}
