// The repair's worked examples, value for value: the 60-sample span with its line, curve and blends,
// and the span whose handles overshoot full scale.
#include <gtest/gtest.h>
#include <vector>
#include "plugin/click_params.h"
#include "repair/repair.h"
#include "repair_helpers.h"
#include "support/fake_host.h"

namespace {

class WorkedExampleTest : public PluginTest {
protected:
    // A 60-sample buffer with the given neighbourhood of the span 20..31; the rest is noise of seed.
    std::vector<int16_t> buffer(const int32_t (&before)[4], const int32_t (&after)[4], uint32_t seed)
    {
        std::vector<int16_t> samples = noiseSignal(60, seed, 20000);
        for (int32_t i = 0; i < 4; i++) {
            samples[17 + i] = (int16_t)before[i];
            samples[31 + i] = (int16_t)after[i];
        }
        return samples;
    }
    void setSpan(int32_t lineBezier)
    {
        clickParams.spanStart = 20;
        clickParams.spanEnd = 31;
        clickParams.lineBezier = lineBezier;
    }
};

const int32_t FALLING_BEFORE[4] = {970, 980, 990, 1000};
const int32_t FALLING_AFTER[4] = {-600, -615, -630, -645};
const std::vector<int16_t> FALLING_CURVE = {1000, 947, 825, 670, 498, 315, 129, -55, -232, -394, -528, -600};
const std::vector<int16_t> FALLING_LINE = {1000, 855, 710, 565, 419, 274, 128, -17, -163, -308, -454, -599};
const std::vector<int16_t> FALLING_HALF = {1000, 901, 767, 617, 458, 294, 128, -36, -197, -351, -491, -599};

TEST_F(WorkedExampleTest, FallingSpanGivesTheListedBridgesAndBlends)
{
    struct Row {
        int32_t lineBezier;
        const std::vector<int16_t> *expected;
    } rows[] = {{0, &FALLING_CURVE}, {6, &FALLING_HALF}, {12, &FALLING_LINE}};
    // Whatever lies outside the anchors and their three neighbours must not matter.
    for (uint32_t seed : {1u, 2u, 3u}) {
        for (const Row &r : rows) {
            std::vector<int16_t> samples = buffer(FALLING_BEFORE, FALLING_AFTER, seed);
            std::vector<int16_t> before = samples;
            setSpan(r.lineBezier);
            ASSERT_EQ(repairSpan(samples.data(), 60, clickParams), 1);
            std::vector<int16_t> curve(curveBridge, curveBridge + 12), line(lineBridge, lineBridge + 12);
            EXPECT_EQ(dumpEntries(curve), dumpEntries(FALLING_CURVE)) << "curve, seed " << seed;
            EXPECT_EQ(dumpEntries(line), dumpEntries(FALLING_LINE)) << "line, seed " << seed;
            std::vector<int16_t> span(samples.begin() + 20, samples.begin() + 32);
            EXPECT_EQ(dumpEntries(span), dumpEntries(*r.expected))
                << "samples 20..31 at lineBezier " << r.lineBezier << ", seed " << seed;
            for (uint32_t i = 0; i < 60; i++) {
                if (i < 20 || i > 31) {
                    EXPECT_EQ(samples[i], before[i]) << "sample " << i << " is outside the span";
                }
            }
            EXPECT_EQ(clickParams.spanStart, 20);
            EXPECT_EQ(clickParams.spanEnd, 31);
        }
    }
}

TEST_F(WorkedExampleTest, OvershootingHandlesAreClampedToFullScale)
{
    // Above full scale the clamp is 32767; the mirror image below stops at -32767, not -32768.
    for (int32_t sign : {1, -1}) {
        const int32_t before[4] = {29000 * sign, 30000 * sign, 31000 * sign, 32000 * sign};
        const int32_t after[4] = {32000 * sign, 31000 * sign, 30000 * sign, 29000 * sign};
        std::vector<int16_t> samples = buffer(before, after, 7);
        setSpan(0);
        ASSERT_EQ(repairSpan(samples.data(), 60, clickParams), 1);
        std::vector<int16_t> expected = {32000, 32760, 32767, 32767, 32767, 32767, 32767,
                                         32767, 32767, 32767, 32758, 32000};
        for (int16_t &e : expected)
            e = (int16_t)(e * sign);
        std::vector<int16_t> span(samples.begin() + 20, samples.begin() + 32);
        EXPECT_EQ(dumpEntries(span), dumpEntries(expected)) << "sign " << sign;
    }
}

} // namespace
