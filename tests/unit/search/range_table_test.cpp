// The range tables beside slow models: window ranges (also of windows that move a little at a time)
// and the walkers over a buffer with a table attached against plain scans of the same buffer, also
// after repairs patch it; and a run whose larger block cannot be had goes on without the tables and
// gives the same audio.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "analysis/base_freq.h"
#include "analysis/range_table.h"
#include "analysis/walker_core.h"
#include "bench/bench_material.h"
#include "compat_host.h"
#include "search_fixture.h"
#include "ui/dialog_ids.h"

namespace {

// Signals with long flat stretches and steps (where the walkers skip whole blocks), noise, and a
// length that leaves a partial last block.
std::vector<int16_t> mixedSignal(uint32_t n, uint32_t seed)
{
    std::vector<int16_t> x = whiteNoise(n, 2000, seed);
    for (uint32_t i = 0; i < n; i++) {
        uint32_t zone = (i / 700) % 4;
        if (zone == 1)
            x[i] = 0;
        else if (zone == 2)
            x[i] = (int16_t)(i % 5000 < 2500 ? 1200 : -900);
        else if (zone == 3)
            x[i] = (int16_t)(x[i] / 200);
    }
    return x;
}

// The samples with their range table, as a run holds them.
struct Attached {
    std::vector<uint16_t> storage;
    RangeTable table;
    SampleBuffer buffer;
    explicit Attached(std::vector<int16_t> &x) : storage(rangeTableBytes((uint32_t)x.size()) / 2 + 1)
    {
        buildRangeTable(table, x.data(), (uint32_t)x.size(), storage.data());
        buffer = SampleBuffer{x.data(), (uint32_t)x.size(), &table};
    }
};

void expectRangesMatch(const std::vector<int16_t> &x, const RangeTable &table, uint32_t seed)
{
    const RangeTable *t = &table;
    ASSERT_EQ(t->samples, x.data());
    uint32_t state = seed;
    for (int k = 0; k < 3000; k++) {
        uint32_t lo = material::nextRandom(state) % (uint32_t)x.size();
        uint32_t len = material::nextRandom(state) % (k % 3 == 0 ? 20000u : 400u);
        uint32_t hi = lo + len < x.size() ? lo + len : (uint32_t)x.size() - 1;
        int32_t low = 0, high = 0;
        rangeMinMax(*t, lo, hi, low, high);
        int32_t slowLow = x[lo], slowHigh = x[lo];
        for (uint32_t i = lo; i <= hi; i++) {
            slowLow = x[i] < slowLow ? x[i] : slowLow;
            slowHigh = x[i] > slowHigh ? x[i] : slowHigh;
        }
        ASSERT_EQ(low, slowLow) << "range " << lo << ".." << hi;
        ASSERT_EQ(high, slowHigh) << "range " << lo << ".." << hi;
    }
}

// The four walkers from many starts and hysteresis values, stepping over blocks by the table against
// the plain walkers.
void expectWalksMatch(const std::vector<int16_t> &x, const RangeTable &table, uint32_t seed)
{
    const int16_t *copy = x.data();
    const RangeTable *t = &table;
    uint32_t n = (uint32_t)x.size();
    uint32_t state = seed;
    for (int k = 0; k < 600; k++) {
        int32_t start = (int32_t)(material::nextRandom(state) % n);
        int32_t h = (int32_t)(material::nextRandom(state) % 3000);
        if (k % 7 == 0)
            h = 0;
        int32_t end = (int32_t)n;
        ASSERT_EQ(walkTroughLeft(copy, t, start, h), findTroughLeft(copy, start, h)) << start << " h " << h;
        ASSERT_EQ(walkPeakLeft(copy, t, start, h), findPeakLeft(copy, start, h)) << start << " h " << h;
        ASSERT_EQ(walkTroughRight(copy, t, start, end, h), findTroughRight(copy, start, n, h)) << start;
        ASSERT_EQ(walkPeakRight(copy, t, start, end, h), findPeakRight(copy, start, n, h)) << start;
    }
}

class RangeTableTest : public SearchTest {};

TEST_F(RangeTableTest, RangesAndWalksAgreeWithPlainScans)
{
    for (uint32_t n : {42u, 64u, 129u, 100003u}) {
        std::vector<int16_t> x = mixedSignal(n, n);
        Attached a(x);
        expectRangesMatch(x, a.table, n + 1);
        expectWalksMatch(x, a.table, n + 2);
    }
}

// Flat stretches with one sample that just stops a walk, or just does not, at places all around the
// block boundaries: the skips must stop exactly where a plain walk would.
TEST_F(RangeTableTest, SkipsStopAtTheFirstSampleThatTurnsByMoreThanTheHysteresis)
{
    const int32_t h = 500;
    for (int32_t bump : {h, h + 1, -h, -h - 1, 1, -1}) {
        for (uint32_t at : {1u, 63u, 64u, 65u, 127u, 128u, 4095u, 4096u, 8191u, 9000u}) {
            std::vector<int16_t> x(10000, 100);
            // Beyond the bump on either side a deeper trough and a higher peak, which a walk that
            // wrongly went past the bump would take.
            x[4] = x[9995] = 400;
            x[5] = x[9994] = -200;
            x[at] = (int16_t)(100 + bump);
            Attached a(x);
            const RangeTable *t = &a.table;
            for (int32_t start : {0, (int32_t)at - 1, (int32_t)at - 300, (int32_t)at + 300, 9999}) {
                if (start < 0 || start > 9999)
                    continue;
                SCOPED_TRACE("bump " + std::to_string(bump) + " at " + std::to_string(at) + " from " +
                             std::to_string(start));
                EXPECT_EQ(walkTroughLeft(x.data(), t, start, h), findTroughLeft(x.data(), start, h));
                EXPECT_EQ(walkPeakLeft(x.data(), t, start, h), findPeakLeft(x.data(), start, h));
                EXPECT_EQ(walkTroughRight(x.data(), t, start, 10000, h), findTroughRight(x.data(), start, 10000, h));
                EXPECT_EQ(walkPeakRight(x.data(), t, start, 10000, h), findPeakRight(x.data(), start, 10000, h));
            }
        }
    }
}

TEST_F(RangeTableTest, RepairsKeepTheTablesInStep)
{
    std::vector<int16_t> x = mixedSignal(70001, 5);
    Attached a(x);
    uint32_t state = 9;
    for (int k = 0; k < 200; k++) {
        // A repair-sized patch anywhere, the extremes of a block often among the changed samples.
        uint32_t first = material::nextRandom(state) % 69000u;
        uint32_t last = first + material::nextRandom(state) % 321u;
        int16_t value = (int16_t)((int32_t)(material::nextRandom(state) % 8001u) - 4000);
        for (uint32_t i = first; i <= last; i++)
            x[i] = value;
        samplesChanged(a.buffer, first, last);
    }
    expectRangesMatch(x, a.table, 11);
    expectWalksMatch(x, a.table, 12);
}

TEST_F(RangeTableTest, VerificationGivesTheSameVerdictWithAndWithoutTheTables)
{
    std::vector<int16_t> x = whiteNoise(30000, 1500, 4);
    addClicks(x, 500, 997, 9000);
    std::vector<int16_t> copy = x;
    XfmWave wave = {};
    wave.sampleRate = 44100;
    ClickParams fast = initialClickParams();
    fast.wave = &wave;
    ClickParams plain = fast;
    Attached a(x);
    SampleBuffer bare = {copy.data(), 30000, nullptr};
    for (int32_t severity : {1, 3, -2}) {
        fast.baseFreqVerS = plain.baseFreqVerS = severity;
        for (uint32_t p = 20; p < 30000; p += 37) {
            fast.spanStart = plain.spanStart = (int32_t)p - 5;
            fast.spanEnd = plain.spanEnd = (int32_t)p + 7;
            ASSERT_EQ(verifyBaseFrequency(a.buffer, p, fast), verifyBaseFrequency(bare, p, plain))
                << "at " << p << ", severity " << severity;
        }
    }
}

TEST_F(RangeTableTest, WithoutTheLargerBlockTheRunGoesOnAndGivesTheSameAudio)
{
    std::vector<int16_t> recording = musicLike(3u * BENCH_RATE, 3);
    addClicks(recording, 2000, 9001, 9000);
    std::vector<std::vector<int16_t>> outputs;
    std::vector<size_t> reviews;
    for (int failures : {0, 1}) {
        setUpFakeHost(recording, 0, (uint32_t)recording.size() - 1);
        useScriptedReview({}, ID_REPAIR);
        reviewScript().calls.clear();
        compatFailNextGlobalAllocs(failures);
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(messageBoxesWith("No memory."), 0);
        outputs.push_back(selectionAfterRun());
        reviews.push_back(reviewScript().calls.size());
    }
    EXPECT_GT(reviews[0], 3u);
    EXPECT_EQ(reviews[1], reviews[0]);
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_NE(outputs[0], recording) << "the repairs changed the audio";
}

// Windows that move a few samples at either end from one call to the next, as the verification's do
// from candidate to candidate, now and then a long way, and a patch of the buffer under them now and
// then: windowMinMax against a plain scan. With few distinct values the samples a window drops often
// hold its extremes.
TEST_F(RangeTableTest, MovingWindowsAgreeWithPlainScans)
{
    for (int32_t level : {2, 1500}) {
        std::vector<int16_t> x = whiteNoise(50000, level, (uint32_t)level);
        Attached a(x);
        const int64_t n = (int64_t)x.size();
        uint32_t state = 8;
        int64_t lo = 100, hi = 3000;
        for (int k = 0; k < 20000; k++) {
            uint32_t r = material::nextRandom(state);
            if (k % 400 == 0) {
                lo = r % 45000;
                hi = lo + (k % 800 == 0 ? r % 40 : 130 + r % 4000);
            } else {
                lo += (int64_t)(r % 41) / 4 - 4;                  // mostly -2..2, at most -4..6
                hi += (int64_t)((r >> 8) % 21) - (k % 3 == 0 ? 15 : 3); // now and then by more than 8
            }
            lo = std::min(std::max<int64_t>(lo, 0), n - 1);
            hi = std::min(std::max(hi, lo), n - 1);
            if (k % 1700 == 0) {
                // A patch at the window's left end, often of its extreme values.
                for (int64_t i = lo; i < std::min(lo + 30, n); i++)
                    x[(size_t)i] = (int16_t)((r >> 4) % 2 == 0 ? level : -level);
                samplesChanged(a.buffer, (uint32_t)lo, (uint32_t)std::min(lo + 29, n - 1));
            }
            int32_t low = 0, high = 0;
            windowMinMax(a.table, (uint32_t)lo, (uint32_t)hi, low, high);
            int32_t slowLow = x[(size_t)lo], slowHigh = slowLow;
            for (int64_t i = lo; i <= hi; i++) {
                slowLow = std::min<int32_t>(slowLow, x[(size_t)i]);
                slowHigh = std::max<int32_t>(slowHigh, x[(size_t)i]);
            }
            ASSERT_EQ(low, slowLow) << "window " << lo << ".." << hi << ", call " << k;
            ASSERT_EQ(high, slowHigh) << "window " << lo << ".." << hi << ", call " << k;
        }
    }
}

} // namespace
