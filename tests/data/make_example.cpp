// Writes the bundled example recording: 4 s of 44.1 kHz mono 16-bit tones and noise with a dozen
// clicks of different shapes (single spikes, short bursts, step-like clicks, both signs, one near
// the start and one near the end). Integer-only code, so every build writes the same bytes.
#include <cstdint>
#include <cstdio>
#include <string>
#include "app/wav_file.h"

enum : int32_t { RATE = 44100, SECONDS = 4, FRAMES = RATE * SECONDS };

// A parabolic sine of a 32-bit phase, amplitude 32768.
static int32_t parabolicSine(uint32_t phase)
{
    int32_t x = (int32_t)(phase >> 16) - 32768; // -32768 .. 32767, a half turn each side
    int32_t magnitude = x < 0 ? -x : x;
    return -(int32_t)(((int64_t)4 * x * (32768 - magnitude)) >> 15);
}

// Phase step per sample for a frequency in hundredths of a hertz.
static uint32_t phaseStep(uint32_t centiHertz) { return (uint32_t)(((uint64_t)centiHertz << 32) / ((uint64_t)RATE * 100u)); }

static uint32_t noiseState = 12345u;

static int32_t noise(int32_t amplitude)
{
    noiseState = noiseState * 1664525u + 1013904223u;
    return (int32_t)(noiseState >> 16) % (2 * amplitude + 1) - amplitude;
}

struct Click {
    int32_t at;          // first frame of the click
    int32_t length;      // samples it covers
    int32_t values[6];   // added to the signal; for steps, the first value decays linearly over length
    bool step;           // a step that decays instead of a fixed shape
};

static const Click clicks[] = {
    {150, 1, {14000}, false},                            // near the start
    {8000, 1, {-12000}, false},
    {20000, 4, {9000, -7000, 8000, -5000}, false},       // short burst
    {35000, 30, {7000}, true},                           // step up, decaying
    {50000, 2, {10000, 9000}, false},
    {64000, 3, {-11000, -9000, -4000}, false},
    {80000, 1, {16000}, false},
    {95000, 6, {8000, -6000, 7000, -8000, 5000, -3000}, false},
    {110000, 20, {-6000}, true},                         // step down, decaying
    {125000, 1, {-15000}, false},
    {150000, 2, {12000, -12000}, false},
    {FRAMES - 200, 1, {13000}, false},                   // near the end
};

static int16_t clamp16(int32_t v) { return (int16_t)(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }

static void addClicks(std::vector<int32_t> *signal)
{
    for (const Click &c : clicks)
        for (int32_t i = 0; i < c.length; i++) {
            int32_t add = c.step ? c.values[0] * (c.length - i) / c.length : c.values[i];
            (*signal)[(size_t)(c.at + i)] += add;
        }
}

int main(int argc, char **argv)
{
    std::string path = argc > 1 ? argv[1] : "example.wav";
    std::vector<int32_t> signal((size_t)FRAMES);
    uint32_t low = 0, high = 0, lowStep = phaseStep(22000), highStep = phaseStep(66000);
    for (int32_t i = 0; i < FRAMES; i++) {
        // A slow, continuous swell on the low tone (up and down once a second), so the level that
        // the detector follows changes without adding a click of its own.
        int32_t within = i % RATE;
        int32_t swell = 3000 + 4000 * (within < RATE / 2 ? within : RATE - within) / RATE;
        signal[(size_t)i] = parabolicSine(low) * swell / 32768 + parabolicSine(high) * 1200 / 32768 + noise(100);
        low += lowStep;
        high += highStep;
    }
    addClicks(&signal);
    HostAudio audio = {};
    audio.channels = 1;
    audio.sampleRate = RATE;
    audio.bitsPerSample = 16;
    audio.isFloat = false;
    audio.frames = FRAMES;
    audio.fileFormat = WAV_FORMAT_PCM;
    for (int32_t v : signal) {
        uint16_t s = (uint16_t)clamp16(v);
        audio.bytes.push_back((uint8_t)(s & 0xFF));
        audio.bytes.push_back((uint8_t)(s >> 8));
    }
    std::string error;
    if (!writeWavFile(path, audio, &error)) {
        fprintf(stderr, "make_example: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
