// Deterministic test material for the benchmarks: music-like tones, noise, silence and clicks.
#pragma once
#include <cstdint>
#include <vector>

enum { BENCH_RATE = 44100 };

// Music-like material: a few slowly beating partials with an envelope, at a moderate level.
std::vector<int16_t> musicLike(uint32_t samples, uint32_t seed);
// White noise of the given peak level.
std::vector<int16_t> whiteNoise(uint32_t samples, int32_t level, uint32_t seed);
// Adds a click (a short spike of alternating sign) every `every` samples, starting at `first`.
void addClicks(std::vector<int16_t> &samples, uint32_t first, uint32_t every, int32_t height);
