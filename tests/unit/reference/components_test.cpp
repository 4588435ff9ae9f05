// The model's span finder, verification, walkers and centre against the plug-in's, call by call, on
// random and worked inputs: a divergence here names the rule before a whole run hides it.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "analysis/base_freq.h"
#include "analysis/click_span.h"
#include "plugin/xfm_types.h"
#include "reference_model.h"
#include "support/test_random.h"

namespace {


TEST(ReferenceCentre, WorkedValues)
{
    struct Row { std::vector<int32_t> v; int32_t want; } rows[] = {
        {{1, 2, 3, 4}, 3}, {{0, 4, 10, 10}, 6}, {{1, 1, 1, 10}, 1}, {{0, 1, 2, 100}, 1},
        {{2, 4}, 3}, {{5}, 5}, {{10, 10, 10, 10, 0}, 10}, {{}, -1}, {{-5, -7}, -1}};
    for (const Row &r : rows) {
        int32_t n = (int32_t)r.v.size();
        EXPECT_EQ(refmodel::refRobustCentre(r.v.data(), n), r.want) << "model, " << n << " values";
        EXPECT_EQ(robustCentre(r.v.data(), n), r.want) << "plug-in, " << n << " values";
    }
}

TEST(ReferenceCentre, RandomListsAgree)
{
    uint32_t s = 99;
    for (int32_t t = 0; t < 5000; ++t) {
        int32_t n = (int32_t)(nextRandom(s) % 21), spread = 1 + (int32_t)(nextRandom(s) % 200);
        std::vector<int32_t> v((size_t)n);
        for (int32_t &x : v) x = (int32_t)(nextRandom(s) % (uint32_t)spread);
        ASSERT_EQ(robustCentre(v.data(), n), refmodel::refRobustCentre(v.data(), n)) << "trial " << t;
        ASSERT_EQ(integerMean(v.data(), n), refmodel::refIntegerMean(v.data(), n)) << "trial " << t;
    }
}

// Non-negative lists up to 24 long with values anywhere in 0..INT32_MAX, or bunched just under it:
// distances from the centre near 2^31 (the model's 32-bit arithmetic holds for such lists).
TEST(ReferenceCentre, WideNonNegativeListsAgree)
{
    uint32_t s = 4242;
    for (int32_t t = 0; t < 5000; ++t) {
        int32_t n = 1 + (int32_t)(nextRandom(s) % 24);
        bool bunched = (t & 1) != 0;
        std::vector<int32_t> v((size_t)n);
        for (int32_t &x : v) {
            uint32_t r = nextRandom(s) & 0x7FFFFFFFu;
            x = bunched ? INT32_MAX - (int32_t)(r % 8u) : (r % 3u == 0 ? (int32_t)(r % 4u) : (int32_t)r);
        }
        ASSERT_EQ(robustCentre(v.data(), n), refmodel::refRobustCentre(v.data(), n)) << "trial " << t;
    }
}

// Signals with few distinct levels so that walkers meet ties, plateaus and turns of exactly h.
std::vector<int16_t> steppy(uint32_t n, uint32_t &s)
{
    std::vector<int16_t> x(n);
    int32_t level = 0, scale = 1 + (int32_t)(nextRandom(s) % 3000);
    for (int16_t &v : x) {
        if (nextRandom(s) % 5 == 0) level = (int32_t)(nextRandom(s) % 7) - 3;
        v = (int16_t)(level * scale);
    }
    return x;
}

TEST(ReferenceAnalysis, SpanWalkersAndVerificationAgreeAtEveryPosition)
{
    uint32_t s = 7;
    static const int32_t severities[] = {-3, -1, 0, 1, 2, 3, 7};
    static const int32_t rates[] = {0, 8000, 44100};
    for (int32_t t = 0; t < 60; ++t) {
        uint32_t n = 22 + nextRandom(s) % 400;
        std::vector<int16_t> x = steppy(n, s);
        XfmWave wave = XfmWave();
        wave.sampleRate = rates[t % 3];
        for (uint32_t p = 0; p < n; ++p) {
            ClickParams a = initialClickParams(), b = initialClickParams();
            a.baseFreqVerS = b.baseFreqVerS = severities[(p + (uint32_t)t) % 7];
            a.wave = &wave;
            if (n >= 42) {
                locateClickSpan(x.data(), n, p, a);
                refmodel::refLocateSpan(x.data(), n, p, b);
                ASSERT_EQ(a.spanStart, b.spanStart) << "span start, trial " << t << " p " << p;
                ASSERT_EQ(a.spanEnd, b.spanEnd) << "span end, trial " << t << " p " << p;
            } else {
                a.spanStart = b.spanStart = (int32_t)p - 4;
                a.spanEnd = b.spanEnd = (int32_t)p + 8;
            }
            int32_t got = verifyBaseFrequency(SampleBuffer{x.data(), n, nullptr}, p, a);
            int32_t want = refmodel::refVerify(x.data(), p, n, b, wave.sampleRate);
            ASSERT_EQ(got, want) << "verification, trial " << t << " n " << n << " p " << p;
            ASSERT_EQ(a.spanStart, b.spanStart) << "clipped start, trial " << t << " p " << p;
            ASSERT_EQ(a.spanEnd, b.spanEnd) << "clipped end, trial " << t << " p " << p;
            int32_t h = (int32_t)(nextRandom(s) % 4000) - 1;
            int32_t q = (int32_t)p;
            ASSERT_EQ(findTroughLeft(x.data(), q, h), refmodel::refTroughLeft(x.data(), q, h)) << t << " " << p;
            ASSERT_EQ(findPeakLeft(x.data(), q, h), refmodel::refPeakLeft(x.data(), q, h)) << t << " " << p;
            ASSERT_EQ(findTroughRight(x.data(), q, n, h), refmodel::refTroughRight(x.data(), q, n, h)) << t << " " << p;
            ASSERT_EQ(findPeakRight(x.data(), q, n, h), refmodel::refPeakRight(x.data(), q, n, h)) << t << " " << p;
        }
    }
}

} // namespace
