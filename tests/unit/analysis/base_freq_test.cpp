// The base-frequency verification: early results and the span clip, the hysteresis and its window,
// the extremum lists and verdicts of the worked sines and clicks, every kind of severity,
// candidates or spans that lie outside the buffer, and the interval extremes against a plain loop.
#include <algorithm>
#include <climits>
#include <string>
#include "analysis_signals.h"
#include "analysis/base_freq.h"
#include "analysis/click_span.h"
#include "analysis/verification_steps.h"

namespace {

// The samples as the verification sees them, without a range table.
SampleBuffer plain(const std::vector<int16_t> &x)
{
    return SampleBuffer{const_cast<int16_t *>(x.data()), (uint32_t)x.size(), nullptr};
}

class BaseFreqTest : public AnalysisTest {
protected:
    int32_t verify(const std::vector<int16_t> &x, uint32_t p, int32_t start, int32_t end, int32_t severity)
    {
        params.spanStart = start;
        params.spanEnd = end;
        params.baseFreqVerS = severity;
        return verifyBaseFrequency(plain(x), p, params);
    }
    ExtremumList extrema(const std::vector<int16_t> &x, int32_t p, int32_t h)
    {
        ExtremumList list;
        EXPECT_EQ(collectExtrema(plain(x), p, h, list), 1);
        return list;
    }
    static std::vector<int32_t> occupied(const ExtremumList &list)
    {
        return std::vector<int32_t>(list.slot + list.first, list.slot + list.last + 1);
    }
    static std::vector<int32_t> intervals(const ExtremumList &list)
    {
        std::vector<int32_t> d;
        for (int32_t k = list.first; k < list.last; ++k)
            d.push_back(list.slot[k + 1] - list.slot[k]);
        return d;
    }
    static std::vector<int32_t> stepping(int32_t from, int32_t by, int32_t count)
    {
        std::vector<int32_t> v;
        for (int32_t k = 0; k < count; ++k)
            v.push_back(from + k * by);
        return v;
    }
};

TEST_F(BaseFreqTest, ShortBuffersAndZeroSeverityLeaveTheSpanAlone)
{
    struct Row { uint32_t count; int32_t severity; int32_t expected; } rows[] = {
        {22, 3, 0}, {22, 0, 0}, {22, -2, 0}, {22, INT32_MIN, 0}, {0, 1, 0}, {23, 0, 1}, {2000, 0, 1}};
    for (const Row &r : rows) {
        std::vector<int16_t> x = roundedSine(r.count, 20, 1000);
        int32_t got = verify(x, r.count / 2, 0, (int32_t)r.count + 5, r.severity);
        std::string what = "count " + std::to_string(r.count) + ", S " + std::to_string(r.severity);
        EXPECT_EQ(got, r.expected) << what;
        EXPECT_EQ(params.spanStart, 0) << what;
        EXPECT_EQ(params.spanEnd, (int32_t)r.count + 5) << what;
    }
}

TEST_F(BaseFreqTest, ClipsTheSpanWhateverTheResult)
{
    struct Row { int32_t start; int32_t end; int32_t clippedStart; int32_t clippedEnd; } rows[] = {
        {0, 10, 1, 10}, {-40, 10, 1, 10}, {1, 10, 1, 10}, {90, 99, 90, 98}, {90, 98, 90, 98},
        {90, 5000, 90, 98}, {0, INT32_MAX, 1, 98}, {INT32_MIN, 99, 1, 98}};
    for (const Row &r : rows) {
        for (int32_t severity : {3, -2, 1}) {
            std::vector<int16_t> x = roundedSine(100, 20, 1000);
            verify(x, 50, r.start, r.end, severity);
            std::string what = "span " + std::to_string(r.start) + ".." + std::to_string(r.end) + ", S " +
                               std::to_string(severity);
            EXPECT_EQ(params.spanStart, r.clippedStart) << what;
            EXPECT_EQ(params.spanEnd, r.clippedEnd) << what;
        }
    }
}

TEST_F(BaseFreqTest, ConstantSignalHasNoExtrema)
{
    std::vector<int16_t> x(500, -1234);
    params.spanStart = 246;
    params.spanEnd = 256;
    EXPECT_EQ(verificationHysteresis(plain(x), params, 10), 0);
    ExtremumList list = extrema(x, 250, 0);
    EXPECT_EQ(list.first, 10) << "left side should stay empty";
    EXPECT_EQ(list.last, 9) << "right side should stay empty";
    EXPECT_EQ(verify(x, 250, 246, 256, 3), 1);
    EXPECT_EQ(verify(x, 250, 246, 256, -2), 1) << "too few extrema accepts even a negative severity";
}

TEST_F(BaseFreqTest, HysteresisWindowFollowsTheSampleRate)
{
    // A flat signal with one wide excursion 1000 samples before the span and a small span bump.
    std::vector<int16_t> x(6000, 0);
    x[2000] = 6000;
    x[3002] = 9;
    params.spanStart = 3000;
    params.spanEnd = 3010;
    struct Row { const char *what; bool noWave; int32_t rate; int32_t expected; } rows[] = {
        {"no host record: half-width 1470", true, 0, 5},         // the excursion is in; capped by (9+1)/2
        {"44100: half-width 1470", false, 44100, 5},
        {"8000: half-width 266", false, 8000, 1},                // window 2468..3542, R1 = 9, 9 / 6
        {"15030: half-width 501, window from 1998", false, 15030, 5},
        {"14970: half-width 499, window from 2002", false, 14970, 1},
        {"rate 0: half-width raised to w", false, 0, 1},
        {"negative rate: half-width raised to w", false, -44100, 1},
        {"huge rate", false, INT32_MAX, 5},
    };
    for (const Row &r : rows) {
        wave.sampleRate = r.rate;
        params.wave = r.noWave ? nullptr : &wave;
        EXPECT_EQ(verificationHysteresis(plain(x), params, 10), r.expected) << r.what;
    }
    // The cap is half the span's height rounded up, so a height of 10 caps at 5 and 11 at 6.
    params.wave = &wave;
    wave.sampleRate = 44100;
    x[3002] = 10;
    EXPECT_EQ(verificationHysteresis(plain(x), params, 10), 5);
    x[3002] = 11;
    EXPECT_EQ(verificationHysteresis(plain(x), params, 10), 6);
    // Neither the first nor the last sample belongs to the window.
    std::vector<int16_t> y(100, 0);
    y[0] = 30000;
    y[99] = -30000;
    y[50] = 600;
    params.spanStart = 48;
    params.spanEnd = 52;
    EXPECT_EQ(verificationHysteresis(plain(y), params, 4), 100);
}

TEST_F(BaseFreqTest, SineOfPeriodTwentyAtARisingZeroCrossing)
{
    std::vector<int16_t> x = roundedSine(2000, 20, 1000);
    params.spanStart = 495;
    params.spanEnd = 507;
    EXPECT_EQ(verificationHysteresis(plain(x), params, 12), 333);
    ExtremumList list = extrema(x, 500, 333);
    std::vector<int32_t> expected = stepping(415, 10, 9);
    expected.push_back(500);
    expected.push_back(500);
    for (int32_t v : stepping(505, 10, 10))
        expected.push_back(v);
    EXPECT_EQ(list.first, 0);
    EXPECT_EQ(list.last, 20);
    EXPECT_EQ(occupied(list), expected);
    std::vector<int32_t> d = intervals(list);
    EXPECT_EQ(robustCentre(d.data(), (int32_t)d.size()), 10);
    EXPECT_EQ(verify(x, 500, 495, 507, 3), 0) << "limit 5 < 12";
    EXPECT_EQ(verify(x, 500, 495, 507, 1), 1) << "limit 15";
}

TEST_F(BaseFreqTest, SineOfPeriodEighty)
{
    std::vector<int16_t> x = roundedSine(2000, 80, 1000);
    params.spanStart = 495;
    params.spanEnd = 507;
    int32_t h = verificationHysteresis(plain(x), params, 12);
    std::vector<int32_t> d = intervals(extrema(x, 500, h));
    ASSERT_EQ(d.size(), 20u);
    int32_t zeros = 0;
    for (int32_t v : d) {
        EXPECT_TRUE(v == 40 || v == 0) << "interval " << v;
        zeros += v == 0;
    }
    EXPECT_EQ(zeros, 1);
    struct Row { int32_t severity; int32_t expected; } rows[] = {{3, 1}, {5, 1}, {6, 0}, {1, 1}};
    for (const Row &r : rows)
        EXPECT_EQ(verify(x, 500, 495, 507, r.severity), r.expected) << "S " << r.severity;
}

TEST_F(BaseFreqTest, ClickOnASlowSine)
{
    std::vector<int16_t> x = roundedSine(2000, 200, 1000);
    x[500] = (int16_t)(x[500] + 8000);
    params.baseFreqVerS = 1;
    locateClickSpan(x.data(), 2000, 500, params);
    ASSERT_EQ(params.spanStart, 496);
    ASSERT_EQ(params.spanEnd, 506);
    EXPECT_EQ(verificationHysteresis(plain(x), params, 10), 1500);
    ExtremumList list = extrema(x, 500, 1500);
    std::vector<int32_t> expected = {0, 51, 151, 251, 351, 500, 500};
    for (int32_t v : stepping(549, 100, 10))
        expected.push_back(v);
    EXPECT_EQ(list.first, 4);
    EXPECT_EQ(list.last, 20);
    EXPECT_EQ(occupied(list), expected);
    std::vector<int32_t> d = intervals(list);
    EXPECT_EQ(robustCentre(d.data(), (int32_t)d.size()), 100);
    EXPECT_EQ(verifyBaseFrequency(plain(x), 500, params), 1) << "limit 150";
}

TEST_F(BaseFreqTest, ClickOnASineOfPeriodTwelve)
{
    std::vector<int16_t> x = roundedSine(2000, 12, 1000);
    x[500] = (int16_t)(x[500] + 8000);
    params.baseFreqVerS = 1;
    locateClickSpan(x.data(), 2000, 500, params);
    ASSERT_EQ(params.spanEnd - params.spanStart, 10);
    int32_t h = verificationHysteresis(plain(x), params, 10);
    std::vector<int32_t> d = intervals(extrema(x, 500, h));
    EXPECT_EQ(robustCentre(d.data(), (int32_t)d.size()), 6);
    EXPECT_EQ(verifyBaseFrequency(plain(x), 500, params), 0) << "limit 9 < 10";
}

TEST_F(BaseFreqTest, EverySeverityGivesASoundLimit)
{
    // B = 10 and w = 12 on the period-20 sine; the limit is (3 * 10) / (2 * S) without overflow.
    std::vector<int16_t> x = roundedSine(2000, 20, 1000);
    struct Row { int32_t severity; int32_t expected; } rows[] = {
        {1, 1}, {2, 0}, {3, 0}, {-1, 0}, {-2, 0}, {INT32_MIN, 0}, {INT32_MIN + 1, 0},
        {1 << 30, 0}, {-(1 << 30), 0}, {INT32_MAX, 0}};
    for (const Row &r : rows)
        EXPECT_EQ(verify(x, 500, 495, 507, r.severity), r.expected) << "S " << r.severity;
    // With w = 0 the limit 0 of a huge severity is not exceeded, but a negative limit still is.
    EXPECT_EQ(verify(x, 500, 500, 500, INT32_MAX), 1);
    EXPECT_EQ(verify(x, 500, 500, 500, -1), 0) << "limit (3 * 10) / -2 = -15";
}

TEST_F(BaseFreqTest, CandidateAtTheLastSampleUsesTheLeftSideOnly)
{
    std::vector<int16_t> x = roundedSine(2000, 20, 1000);
    locateClickSpan(x.data(), 2000, 1999, params);
    params.baseFreqVerS = 1;
    EXPECT_EQ(findTroughRight(x.data(), 1999, 2000, 333), 1999);
    EXPECT_EQ(findPeakRight(x.data(), 1999, 2000, 333), 1999);
    ExtremumList list = extrema(x, 1999, 333);
    EXPECT_EQ(list.last, 9) << "right side should stay empty";
    EXPECT_EQ(list.first, 0);
    EXPECT_EQ(verifyBaseFrequency(plain(x), 1999, params), 1) << "w = 3, limit 15";
}

TEST_F(BaseFreqTest, CandidatesAndSpansOutsideTheBufferAreNotRead)
{
    std::vector<int16_t> x = roundedSine(100, 20, 1000);
    // The right-hand walkers refuse such a candidate, which accepts; the clip still happens.
    for (uint32_t p : {100u, 101u, 1u << 30, 0xFFFFFFFFu}) {
        EXPECT_EQ(verify(x, p, 0, 200, 3), 1) << "candidate " << p;
        EXPECT_EQ(params.spanStart, 1);
        EXPECT_EQ(params.spanEnd, 98);
    }
    // A span that starts far beyond the end gives an empty window and an empty span height.
    EXPECT_EQ(verify(x, 50, 1 << 30, (1 << 30) + 10, 3), 1);
    EXPECT_EQ(params.spanEnd, 98);
    EXPECT_EQ(verify(x, 50, 60, 40, 3), 1) << "a reversed span is never wider than its limit";
}

// Lists of 4 to 20 intervals: short ones, equal positions, and lists whose stretch lies just under,
// at or past 2^24, where intervals one apart (2^24 and 2^24 + 1) must still be told apart.
TEST_F(BaseFreqTest, IntervalRangeMatchesAPlainLoop)
{
    TestRandom rnd = {99};
    for (int32_t round = 0; round < 4000; ++round) {
        int32_t n = rnd.between(4, 20);
        int32_t kind = rnd.between(0, 3);
        std::vector<int32_t> at(21);
        at[0] = rnd.between(0, 1000000);
        for (int32_t k = 1; k <= n; ++k) {
            int32_t step = kind == 0   ? rnd.between(0, 9)
                           : kind == 1 ? rnd.between(0, 3000)
                           : kind == 2 ? (1 << 24) - 2 + rnd.between(0, 3)
                                       : rnd.between(0, (1 << 24) / n + 2);
            at[k] = kind == 2 && k != n / 2 ? at[k - 1] + rnd.between(0, 2) : at[k - 1] + step;
        }
        int32_t smallest = at[1] - at[0], largest = smallest;
        for (int32_t k = 1; k < n; ++k) {
            smallest = std::min(smallest, at[k + 1] - at[k]);
            largest = std::max(largest, at[k + 1] - at[k]);
        }
        int32_t gotSmallest = -1, gotLargest = -1;
        intervalRange(at.data(), n, gotSmallest, gotLargest);
        ASSERT_EQ(gotSmallest, smallest) << "round " << round << ", n " << n << ", stretch " << at[n] - at[0];
        ASSERT_EQ(gotLargest, largest) << "round " << round << ", n " << n << ", stretch " << at[n] - at[0];
    }
}

// The verdict from counting short intervals against the centre's own limit, over lists with many ties
// (where the centre settles between two middle values) and spans around the decisive width.
TEST_F(BaseFreqTest, IntervalVerdictMatchesTheCentresLimit)
{
    TestRandom rnd = {7};
    for (int32_t round = 0; round < 20000; ++round) {
        int32_t n = rnd.between(4, 20);
        int32_t spread = rnd.between(0, 2) == 0 ? 3 : rnd.between(1, 400);
        std::vector<int32_t> at(21), d(n);
        at[0] = rnd.between(0, 5000);
        for (int32_t k = 0; k < n; ++k) {
            d[k] = rnd.between(0, spread);
            at[k + 1] = at[k] + d[k];
        }
        int32_t severity = rnd.between(0, 5) == 0 ? rnd.between(-3, -1) : rnd.between(1, 40);
        int32_t centre = robustCentre(d.data(), n);
        int32_t around = severity > 0 ? (int32_t)(3 * (int64_t)centre / (2 * severity)) : 0;
        int64_t w = rnd.between(0, 9) == 0 ? (int64_t)INT32_MAX + rnd.between(0, 3) : around + rnd.between(-2, 2);
        int32_t expected = w > (3 * (int64_t)centre) / (2 * (int64_t)severity) ? 0 : 1;
        ASSERT_EQ(intervalVerdict(at.data(), n, w, severity), expected)
            << "round " << round << ", n " << n << ", w " << w << ", severity " << severity << ", centre " << centre;
    }
}

} // namespace
