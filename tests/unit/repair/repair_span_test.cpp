// repairSpan at its edges: short buffers, the anchor adjustment, the 320-sample
// limit, spans that fall back to the line, the end sample of a falling line, empty and one-sample
// spans, and anchors that must never reach outside the buffer.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "plugin/click_params.h"
#include "repair/repair.h"
#include "repair_helpers.h"
#include "support/fake_host.h"

namespace {

class RepairSpanTest : public PluginTest {
protected:
    int32_t repair(std::vector<int16_t> &samples, int32_t start, int32_t end, int32_t lineBezier = 0)
    {
        clickParams.spanStart = start;
        clickParams.spanEnd = end;
        clickParams.lineBezier = lineBezier;
        return repairSpan(samples.data(), (uint32_t)samples.size(), clickParams);
    }
    // Every sample outside first..last is as it was.
    void expectOnlyChanged(const std::vector<int16_t> &before, const std::vector<int16_t> &after, int64_t first,
                           int64_t last, const char *what)
    {
        for (size_t i = 0; i < before.size(); i++) {
            if ((int64_t)i < first || (int64_t)i > last) {
                EXPECT_EQ(after[i], before[i]) << what << ": sample " << i << " changed";
            }
        }
    }
};

TEST_F(RepairSpanTest, BufferBelow23SamplesIsRefusedUntouched)
{
    std::vector<int16_t> samples = noiseSignal(22, 1, 30000);
    std::vector<int16_t> before = samples;
    EXPECT_EQ(repair(samples, 0, 21), 0);
    EXPECT_EQ(clickParams.spanStart, 0) << "no adjustment below 23 samples";
    EXPECT_EQ(clickParams.spanEnd, 21);
    EXPECT_EQ(samples, before);

    std::vector<int16_t> enough = noiseSignal(23, 1, 30000);
    EXPECT_EQ(repair(enough, 0, 22), 1) << "23 samples are enough";
    EXPECT_EQ(clickParams.spanStart, 1);
    EXPECT_EQ(clickParams.spanEnd, 21);
}

TEST_F(RepairSpanTest, AnchorsAreMovedOffTheBufferEnds)
{
    // Only a start of exactly 0 moves; anchors count as unsigned, so -1 is a huge index: a start of
    // -1 leaves an empty span, an end of -1 lies beyond the buffer.
    struct Row {
        int32_t start, end;
        int32_t wantStart, wantEnd;
    } rows[] = {
        {0, 40, 1, 40},  {1, 40, 1, 40},  {0, 99, 1, 98},  {5, 98, 5, 98},   {5, 99, 5, 98},
        {5, 500, 5, 98}, {5, 97, 5, 97},  {0, 0, 1, 0},    {-1, 40, -1, 40}, {5, -1, 5, 98},
    };
    for (const Row &r : rows) {
        std::vector<int16_t> samples = noiseSignal(100, 2, 20000);
        std::vector<int16_t> before = samples;
        EXPECT_EQ(repair(samples, r.start, r.end, 12), 1) << r.start << ".." << r.end;
        EXPECT_EQ(clickParams.spanStart, r.wantStart) << "start of " << r.start << ".." << r.end;
        EXPECT_EQ(clickParams.spanEnd, r.wantEnd) << "end of " << r.start << ".." << r.end;
        expectOnlyChanged(before, samples, (uint32_t)r.wantStart, (uint32_t)r.wantEnd, "adjusted span");
        if (r.wantStart >= 0) {
            EXPECT_EQ(samples[r.wantStart], before[r.wantStart]) << "the start anchor keeps its value";
        }
    }
}

TEST_F(RepairSpanTest, SpansUpTo320AreRepairedLongerOnesRefusedUntouched)
{
    std::vector<int16_t> samples = noiseSignal(400, 4, 20000);
    std::vector<int16_t> before = samples;
    EXPECT_EQ(repair(samples, 10, 331), 0) << "L = 321";
    EXPECT_EQ(samples, before);
    EXPECT_EQ(repair(samples, 0, 399), 0) << "adjusted to 1..398";
    EXPECT_EQ(samples, before);
    EXPECT_EQ(repair(samples, 10, 330, 12), 1) << "L = 320";
    expectOnlyChanged(before, samples, 10, 330, "L = 320");
    EXPECT_EQ(samples[10], before[10]);
    EXPECT_NE(samples, before);
}

TEST_F(RepairSpanTest, ShortOrEdgeSpansAreTheLineAtEveryBlend)
{
    // Rows either side of each qualification boundary; a curve that differs from the line must come
    // out for the qualifying ones, so steep shoulders are put beside every anchor.
    const uint32_t count = 60;
    struct Row {
        int32_t start, end;
        bool curve;
    } rows[] = {
        {3, 20, false},  {4, 20, true},  {20, 21, false}, {20, 25, false}, {20, 26, true},
        {20, 55, true},  {20, 56, false}, {20, 58, false}, {10, 15, false}, {10, 16, true},
    };
    for (const Row &r : rows) {
        for (int32_t lineBezier = 0; lineBezier <= 12; lineBezier++) {
            std::vector<int16_t> samples(count);
            for (uint32_t i = 0; i < count; i++)
                samples[i] = (int16_t)((i % 2) ? 9000 - 150 * (int32_t)i : -8000 + 170 * (int32_t)i);
            std::vector<int16_t> before = samples;
            ASSERT_EQ(repair(samples, r.start, r.end, lineBezier), 1);
            int32_t length = r.end - r.start;
            std::vector<int16_t> line(lineBridge, lineBridge + length + 1);
            std::vector<int16_t> curve(curveBridge, curveBridge + length + 1);
            std::vector<int16_t> span(samples.begin() + r.start, samples.begin() + r.end + 1);
            if (r.curve) {
                EXPECT_NE(curve, line) << r.start << ".." << r.end << " qualifies for the curve";
            } else {
                EXPECT_EQ(dumpEntries(curve), dumpEntries(line)) << r.start << ".." << r.end << " is the line";
                EXPECT_EQ(dumpEntries(span), dumpEntries(line))
                    << r.start << ".." << r.end << " at lineBezier " << lineBezier;
            }
            expectOnlyChanged(before, samples, r.start, r.end, "span");
        }
    }
}

TEST_F(RepairSpanTest, EndSampleOfAFallingLine)
{
    // Qualifying spans blend vE + 1 with the curve's vE; spans that fall back to the line end on vE + 1.
    struct Row {
        int32_t vS, vE;
        int32_t start, end;
        bool line;
    } rows[] = {
        {1000, -600, 20, 31, false}, {300, 250, 20, 40, false}, {-100, -7000, 20, 27, false},
        {1000, -600, 20, 22, true},  {5, -5, 2, 30, true},      {-100, -7000, 20, 57, true},
        {40, 39, 20, 21, true},
    };
    for (const Row &r : rows) {
        for (int32_t lineBezier = 0; lineBezier <= 12; lineBezier++) {
            std::vector<int16_t> samples = noiseSignal(60, 5, 3000);
            samples[r.start] = (int16_t)r.vS;
            samples[r.end] = (int16_t)r.vE;
            ASSERT_EQ(repair(samples, r.start, r.end, lineBezier), 1);
            int32_t want = r.line ? r.vE + 1 : (lineBezier * (r.vE + 1) + (12 - lineBezier) * r.vE) / 12;
            if (r.end - r.start == 1)
                want = r.vE; // a one-step line reaches its end exactly
            EXPECT_EQ(samples[r.end], want) << r.vS << " -> " << r.vE << " over " << r.start << ".." << r.end
                                            << " at lineBezier " << lineBezier;
            EXPECT_EQ(samples[r.start], r.vS);
        }
    }
}

TEST_F(RepairSpanTest, EmptyAndOneSampleSpans)
{
    std::vector<int16_t> samples = noiseSignal(60, 7, 20000);
    std::vector<int16_t> before = samples;
    for (int32_t lineBezier : {0, 7, 12}) {
        EXPECT_EQ(repair(samples, 30, 20, lineBezier), 1) << "start after end";
        EXPECT_EQ(samples, before) << "start after end writes nothing";
        EXPECT_EQ(repair(samples, 30, 30, lineBezier), 1) << "one sample";
        EXPECT_EQ(samples, before) << "a one-sample span keeps its value";
        EXPECT_EQ(lineBridge[0], before[30]);
        EXPECT_EQ(curveBridge[0], before[30]);
    }
    EXPECT_EQ(repair(samples, 0, 0), 1) << "0..0 becomes the empty span 1..0";
    EXPECT_EQ(clickParams.spanStart, 1);
    EXPECT_EQ(samples, before);
}

TEST_F(RepairSpanTest, NoAnchorReachesOutsideTheBuffer)
{
    // The buffer handed over is the middle of a larger one; the guards on both sides must stay as they
    // are whatever the anchors say (a negative anchor counts as a huge index).
    const uint32_t guard = 400, count = 64;
    const int32_t anchors[] = {-2147483647 - 1, -400, -5, -1, 0, 1, 2, 3, 4, 30, 58, 59, 60, 61, 62, 63,
                               64, 65, 200, 330, 2147483647};
    for (int32_t start : anchors) {
        for (int32_t end : anchors) {
            std::vector<int16_t> whole = noiseSignal(guard + count + guard, 8, 30000);
            std::vector<int16_t> before = whole;
            clickParams.spanStart = start;
            clickParams.spanEnd = end;
            clickParams.lineBezier = 6;
            int32_t result = repairSpan(whole.data() + guard, count, clickParams);
            uint32_t first = (uint32_t)clickParams.spanStart, last = (uint32_t)clickParams.spanEnd;
            int64_t lo = guard + (int64_t)first, hi = guard + (int64_t)last;
            if (!result || first > last)
                lo = 1, hi = 0;
            expectOnlyChanged(before, whole, lo, hi, "anchors");
            if (result && first <= last) {
                EXPECT_GE(first, 1u) << start << ".." << end;
                EXPECT_LE(last, count - 2) << start << ".." << end;
                EXPECT_LE(last - first, 320u) << start << ".." << end;
            }
            if (testing::Test::HasFailure())
                FAIL() << "anchors " << start << ".." << end;
        }
    }
}

} // namespace
