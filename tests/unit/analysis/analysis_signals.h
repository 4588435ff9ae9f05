// Test signals for the click analysis: rounded sines, sparse silent buffers, a random walk,
// and a fixture with a clean ClickParams and a host record at a chosen sample rate.
#pragma once
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>
#include "support/fake_host.h"
#include "plugin/click_params.h"
#include "plugin/xfm_types.h"
#include "support/test_random.h"

// x[k] = amplitude * sin(2 pi k / period), rounded to the nearest integer.
inline std::vector<int16_t> roundedSine(uint32_t count, int32_t period, int32_t amplitude)
{
    std::vector<int16_t> x(count);
    const double pi = 3.14159265358979323846;
    for (uint32_t k = 0; k < count; ++k)
        x[k] = (int16_t)std::lround(amplitude * std::sin(2.0 * pi * k / period));
    return x;
}

// A silent buffer with the named samples set.
inline std::vector<int16_t> sparse(uint32_t count, std::initializer_list<std::pair<int32_t, int16_t>> named)
{
    std::vector<int16_t> x(count, 0);
    for (const auto &n : named)
        x[n.first] = n.second;
    return x;
}


// A wandering signal: steps drawn from -spread..spread, held within 16 bits, with occasional plateaus
// so that equal neighbours (and ties between extremes) are common.
inline std::vector<int16_t> randomWalk(TestRandom &rnd, uint32_t count, int32_t spread)
{
    std::vector<int16_t> x(count);
    int32_t v = rnd.between(-1000, 1000);
    for (uint32_t k = 0; k < count; ++k) {
        if (rnd.next() % 4 != 0)
            v += rnd.between(-spread, spread);
        if (v > 32767)
            v = 32767;
        if (v < -32768)
            v = -32768;
        x[k] = (int16_t)v;
    }
    return x;
}

class AnalysisTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        params = initialClickParams();
        wave = XfmWave();
        wave.channels = 1;
        wave.bitsPerSample = 16;
        wave.bytesPerFrame = 2;
        wave.sampleRate = 44100;
        params.wave = &wave;
    }
    ClickParams params;
    XfmWave wave;
};
