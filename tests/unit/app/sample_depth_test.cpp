// High-resolution audio presented to the plug-in as 16-bit samples: the rounding and full scale of
// each depth, the round trip of a written-back value, and, over generated 24-bit, 32-bit and float
// recordings with clicks, a whole automatic run: every sample the run leaves alone keeps its own bits,
// and the audio as shown at 16 bits is exactly what the same run makes of the 16-bit recording.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include "app/host_session.h"
#include "app/review_driver.h"
#include "app/sample_depth.h"
#include "compat_host.h"
#include "plugin/module_reset.h"
#include "plugin/xfm.h"
#include "support/fake_host.h"

static std::vector<uint8_t> integerBytes(int64_t value, int32_t bits)
{
    std::vector<uint8_t> bytes;
    for (int32_t i = 0; i < bits / 8; i++)
        bytes.push_back((uint8_t)((uint64_t)value >> (8 * i)));
    return bytes;
}

static std::vector<uint8_t> floatBytes(double value, int32_t bits)
{
    std::vector<uint8_t> bytes(bits / 8);
    if (bits == 32) {
        float single = (float)value;
        memcpy(bytes.data(), &single, 4);
    } else {
        memcpy(bytes.data(), &value, 8);
    }
    return bytes;
}

TEST(SampleDepth, RoundingAndFullScaleOfEachDepth)
{
    struct Row {
        int32_t bits;
        bool isFloat;
        double value; // the integer sample, or the float one
        int16_t shown;
    };
    const Row rows[] = {
        {24, false, 0, 0},          {24, false, 127, 0},          {24, false, 128, 1},  // a half rounds away from zero
        {24, false, -128, -1},      {24, false, -129, -1},        {24, false, 256 * 1000 + 3, 1000},
        {24, false, 8388607, 32767}, {24, false, 8388479, 32767}, {24, false, -8388608, -32768}, // full scale
        {32, false, 32768, 1},      {32, false, -32769, -1},      {32, false, 2147483647, 32767},
        {32, false, -2147483647.0 - 1, -32768},
        {32, true, 0.5, 16384},     {32, true, -1.0, -32768},     {32, true, 1.0, 32767},
        {32, true, 1.5, 32767},     {32, true, -7.0, -32768},     {32, true, NAN, 0},
        {32, true, 0.5 / 32768, 1}, {32, true, -0.5 / 32768, -1}, {64, true, 0.25 + 0.4 / 32768, 8192},
        {64, true, INFINITY, 32767}, {64, true, -INFINITY, -32768},
    };
    for (const Row &row : rows) {
        std::vector<uint8_t> bytes = row.isFloat ? floatBytes(row.value, row.bits) : integerBytes((int64_t)row.value, row.bits);
        EXPECT_EQ(presentSample(bytes.data(), row.bits, row.isFloat), row.shown)
            << row.bits << (row.isFloat ? "-bit float " : "-bit ") << row.value;
    }
    // Every 16-bit value written back at each depth is shown as itself again, so a later pass sees
    // exactly what the plug-in wrote.
    for (int32_t depth = 0; depth < 4; depth++) {
        int32_t bits = depth == 0 ? 24 : depth == 2 ? 64 : 32;
        bool isFloat = depth >= 2;
        for (int32_t v = -32768; v <= 32767; v++) {
            uint8_t bytes[8];
            storePresented(bytes, bits, isFloat, (int16_t)v);
            ASSERT_EQ(presentSample(bytes, bits, isFloat), v) << bits << (isFloat ? "-bit float" : "-bit");
        }
    }
    EXPECT_DOUBLE_EQ(sampleShare(integerBytes(-8388608, 24).data(), 24, false), -1.0);
    EXPECT_DOUBLE_EQ(sampleShare(floatBytes(0.75, 32).data(), 32, true), 0.75);
}

class HighResolutionRun : public PluginTest {
protected:
    void TearDown() override
    {
        compatClearClipboard(); // Stop Here at a best guess leaves the position on the clipboard
        PluginTest::TearDown();
    }
    // One automatic run over every channel in turn, in the review dialog as the host presents it;
    // with multipass, passes follow one another while they change something.
    void runAutomatically(HostAudio *audio, bool multipass)
    {
        for (int32_t channel = 1; channel <= audio->channels; channel++) {
            resetModuleState();
            writeIni(multipass ? "[Coeffs]\r\nStartOver=1\r\n" : "");
            reviewDriverConfigure({}, BoxScript{REVIEW_AUTO, {}, 0, false});
            PluginTable table = {QueryXfm, XfmInit, XfmSetup, XfmDo, XfmDestroy, nullptr};
            HINSTANCE instance = reviewDriverInstall(table);
            HWND frame = compatCreateWindow("VantropeHostFrame", nullptr, nullptr, 800, 600);
            HWND child = compatCreateWindow("VantropeHostView", frame, nullptr, 780, 560);
            XfmWave wave;
            sessionPrepare(audio, {channel, 0, audio->frames - 1}, &wave, false);
            reviewDriverSelection(0, audio->frames);
            ASSERT_EQ(wave.bitsPerSample, 16);
            ASSERT_EQ(XfmSetup(child, instance, &wave), 1);
            ASSERT_EQ(XfmDo(&wave), 1);
            DestroyWindow(frame);
        }
    }
};

// A recording at a depth: slow tones with fine detail below the 16-bit step, clicks, and stretches
// at and (for float) beyond full scale.
static HostAudio generated(int32_t bits, bool isFloat, int32_t channels, uint32_t seed)
{
    HostAudio audio = {};
    audio.channels = channels;
    audio.sampleRate = 44100;
    audio.bitsPerSample = bits;
    audio.isFloat = isFloat;
    audio.frames = 12000;
    uint32_t state = seed;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (uint32_t f = 0; f < audio.frames; f++)
        for (int32_t c = 0; c < channels; c++) {
            double share = 0.3 * std::sin(f * (0.011 + 0.004 * c)) + 0.1 * std::sin(f * 0.0931) + (next() % 1000) * 1e-7;
            if ((f + 977u * (uint32_t)c) % 2500 == 1200)
                share += 0.45; // a click
            if (f >= 6000 && f < 6030)
                share = isFloat ? 1.25 : 1.0; // a clipped stretch, past full scale in a float file
            std::vector<uint8_t> bytes;
            if (isFloat) {
                bytes = floatBytes(share, bits);
            } else {
                int64_t top = ((int64_t)1 << (bits - 1)) - 1;
                int64_t value = (int64_t)std::llround(share * (double)top);
                bytes = integerBytes(value > top ? top : value < -top - 1 ? -top - 1 : value, bits);
            }
            audio.bytes.insert(audio.bytes.end(), bytes.begin(), bytes.end());
        }
    return audio;
}

// The recording as the plug-in is shown it: 16-bit samples.
static HostAudio shownAtSixteen(const HostAudio &audio)
{
    HostAudio shown = audio;
    shown.bitsPerSample = 16;
    shown.isFloat = false;
    shown.bytes.clear();
    uint32_t size = sampleBytes(audio);
    for (size_t at = 0; at < audio.bytes.size(); at += size) {
        int16_t v = presentSample(audio.bytes.data() + at, audio.bitsPerSample, audio.isFloat);
        shown.bytes.push_back((uint8_t)(v & 0xFF));
        shown.bytes.push_back((uint8_t)((uint16_t)v >> 8));
    }
    return shown;
}

TEST_F(HighResolutionRun, UntouchedSamplesKeepTheirBitsAndTheRestMatchesTheSixteenBitRun)
{
    struct Row {
        int32_t bits;
        bool isFloat;
        int32_t channels;
        bool multipass;
    };
    const Row rows[] = {{24, false, 1, false}, {24, false, 2, true}, {32, false, 1, false}, {32, true, 2, false},
                        {64, true, 1, true}};
    uint32_t seed = 11;
    for (const Row &row : rows) {
        const HostAudio original = generated(row.bits, row.isFloat, row.channels, seed++);
        HostAudio reference = shownAtSixteen(original);
        const HostAudio referenceBefore = reference;
        runAutomatically(&reference, row.multipass);
        HostAudio audio = original;
        runAutomatically(&audio, row.multipass);
        uint32_t size = sampleBytes(original);
        size_t samples = original.bytes.size() / size, kept = 0, repaired = 0;
        for (size_t i = 0; i < samples; i++) {
            const uint8_t *was = original.bytes.data() + i * size, *now = audio.bytes.data() + i * size;
            int16_t want = (int16_t)(reference.bytes[i * 2] | reference.bytes[i * 2 + 1] << 8);
            bool touched = memcmp(referenceBefore.bytes.data() + i * 2, reference.bytes.data() + i * 2, 2) != 0;
            if (!touched) {
                ASSERT_EQ(memcmp(was, now, size), 0)
                    << row.bits << "-bit sample " << i << ": the 16-bit run left it alone, so must this one";
                kept++;
            } else {
                ASSERT_EQ(presentSample(now, row.bits, row.isFloat), want) << row.bits << "-bit sample " << i;
                repaired++;
            }
        }
        EXPECT_GT(repaired, 10u * (size_t)row.channels) << row.bits << "-bit: the clicks were repaired";
        EXPECT_GT(kept, samples * 9 / 10);
    }
}
