// Deterministic test material for the benchmarks and the golden-run tests: music-like tones, white
// and Gaussian noise, silence, square waves and clicks, built with integer arithmetic only (a linear
// congruential generator and a parabolic sine), so the same call gives the same samples on every
// build; and the named kinds the timing programs share. Header only; no state.
#pragma once
#include <cstdint>
#include <cstring>
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

// Gaussian-like noise of standard deviation sigma: the sum of twelve uniform draws in -a..a has the
// variance 12 x a^2 / 3 = (2a)^2, so a = sigma / 2.
inline std::vector<int16_t> gaussianNoise(uint32_t samples, int32_t sigma, uint32_t seed)
{
    std::vector<int16_t> out(samples);
    uint32_t state = seed;
    int32_t a = sigma / 2;
    for (uint32_t i = 0; i < samples; i++) {
        int32_t v = 0;
        for (int k = 0; k < 12; k++)
            v += (int32_t)(material::nextRandom(state) % (uint32_t)(2 * a + 1)) - a;
        out[i] = material::clip(v);
    }
    return out;
}

// A square wave of the given period in samples (>= 2) between -level and level.
inline std::vector<int16_t> squareWave(uint32_t samples, uint32_t period, int32_t level)
{
    std::vector<int16_t> out(samples);
    for (uint32_t i = 0; i < samples; i++)
        out[i] = material::clip(i % period < period / 2 ? level : -level);
    return out;
}

// A parabolic sine of hz / 10 cycles per second at the given level (at most 32767).
inline std::vector<int16_t> sineTone(uint32_t samples, uint32_t deciHz, int32_t level)
{
    std::vector<int16_t> out(samples);
    uint32_t phase = 0;
    for (uint32_t i = 0; i < samples; i++) {
        out[i] = material::clip((int32_t)(((int64_t)level * material::parabolicSine(phase)) >> 15));
        phase += material::phaseStep(deciHz);
    }
    return out;
}

// Full-scale single-sample clicks, alternating in sign, every 10 to 30 samples at random.
inline void addFullScaleClicks(std::vector<int16_t> &samples, uint32_t seed)
{
    uint32_t state = seed;
    int32_t sign = 1;
    for (uint64_t p = 10 + material::nextRandom(state) % 21; p < samples.size(); p += 10 + material::nextRandom(state) % 21) {
        samples[p] = sign > 0 ? 32767 : -32768;
        sign = -sign;
    }
}

// The material the timing programs know by name: music (music-like, a click every half second, the
// default), noise (white noise of level 1500), silence, and the inputs that make the verification
// work hardest: noise100, noise8000 and noisefull (white noise of other levels), noiseclicks (white
// noise with a full-scale click every 10 to 30 samples), denseclicks (a sine with a +-25000 click
// every 30 samples), square (a 441 Hz square wave at 20000), alternating (full-scale samples of
// alternating sign) and gauss (Gaussian noise of standard deviation 5000). Empty for an unknown name.
inline std::vector<int16_t> namedMaterial(const char *kind, uint32_t samples)
{
    if (strcmp(kind, "music") == 0) {
        std::vector<int16_t> x = musicLike(samples, 1);
        addClicks(x, BENCH_RATE / 4, BENCH_RATE / 2, 9000);
        return x;
    }
    if (strcmp(kind, "noise") == 0)
        return whiteNoise(samples, 1500, 2);
    if (strcmp(kind, "silence") == 0)
        return std::vector<int16_t>(samples, 0);
    if (strcmp(kind, "noise100") == 0)
        return whiteNoise(samples, 100, 11);
    if (strcmp(kind, "noise8000") == 0)
        return whiteNoise(samples, 8000, 12);
    if (strcmp(kind, "noisefull") == 0)
        return whiteNoise(samples, 32767, 13);
    if (strcmp(kind, "noiseclicks") == 0) {
        std::vector<int16_t> x = whiteNoise(samples, 1500, 14);
        addFullScaleClicks(x, 15);
        return x;
    }
    if (strcmp(kind, "denseclicks") == 0) {
        std::vector<int16_t> x = sineTone(samples, 4400, 10000);
        addClicks(x, 15, 30, 25000);
        return x;
    }
    if (strcmp(kind, "square") == 0)
        return squareWave(samples, 100, 20000);
    if (strcmp(kind, "alternating") == 0) {
        std::vector<int16_t> x(samples);
        for (uint32_t i = 0; i < samples; i++)
            x[i] = (i & 1) ? -32768 : 32767;
        return x;
    }
    if (strcmp(kind, "gauss") == 0)
        return gaussianNoise(samples, 5000, 16);
    return std::vector<int16_t>();
}

// The names namedMaterial knows, for usage messages.
inline const char *materialNames()
{
    return "music|noise|silence|noise100|noise8000|noisefull|noiseclicks|denseclicks|square|alternating|gauss";
}
