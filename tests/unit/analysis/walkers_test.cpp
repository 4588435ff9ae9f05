// The extremum walkers: refused arguments, the tie and turn rules on small hand-made signals, the
// clamp of huge hysteresis, all four against one slow model on random signals, and the walk from the
// nearer first extremum, which the extremum list takes to end at the farther one.
#include <climits>
#include "analysis_signals.h"
#include "analysis/base_freq.h"

namespace {

class WalkersTest : public AnalysisTest {};

TEST_F(WalkersTest, RefuseOutOfRangeArguments)
{
    std::vector<int16_t> x(30, 7);
    const int16_t *s = x.data();
    struct Row { const char *what; int32_t got; } rows[] = {
        {"trough left, start -1", findTroughLeft(s, -1, 0)},
        {"peak left, start -1", findPeakLeft(s, -1, 0)},
        {"trough left, h -1", findTroughLeft(s, 5, -1)},
        {"peak left, h INT32_MIN", findPeakLeft(s, 5, INT32_MIN)},
        {"trough right, start -1", findTroughRight(s, -1, 30, 0)},
        {"peak right, start -1", findPeakRight(s, -1, 30, 0)},
        {"trough right, start = count", findTroughRight(s, 30, 30, 0)},
        {"peak right, start = count", findPeakRight(s, 30, 30, 0)},
        {"trough right, h -1", findTroughRight(s, 5, 30, -1)},
        {"peak right, h -1", findPeakRight(s, 5, 30, -1)},
        {"trough right, empty buffer", findTroughRight(s, 0, 0, 0)},
    };
    for (const Row &r : rows)
        EXPECT_EQ(r.got, -1) << r.what;
    EXPECT_EQ(findTroughRight(s, 29, 30, 0), 29) << "the last sample is a valid start";
    EXPECT_EQ(findPeakLeft(s, 0, 0), 0) << "the first sample is a valid start";
}

TEST_F(WalkersTest, TurnsAndTies)
{
    //                          0  1  2  3  4  5  6  7  8  9 10 11
    std::vector<int16_t> x = {9, 5, 2, 2, 4, 2, 8, 8, 3, 8, 0, 0};
    const int16_t *s = x.data();
    uint32_t n = (uint32_t)x.size();
    struct Row { const char *what; int32_t got; int32_t expected; } rows[] = {
        // From 0 down to the equal pair 2, 3: the nearer one stays; 4 rises by 2, more than h = 1.
        {"trough right h 1", findTroughRight(s, 0, n, 1), 2},
        // With h = 2 the rise to 4 is not a turn, and 5 equals the trough without moving it; 6 turns.
        {"trough right h 2", findTroughRight(s, 0, n, 2), 2},
        // With h = 8 the whole buffer is one descent to the first 0.
        {"trough right h 8", findTroughRight(s, 0, n, 8), 10},
        {"peak right from 5", findPeakRight(s, 5, n, 4), 6},
        // From 6 the peak of 8 is equalled at 7 without moving; 8 falls by 5 > h = 4. With h = 5 the
        // walk passes the dip, meets another equal 8 at 9 and turns at 10.
        {"peak right from 6, h 4", findPeakRight(s, 6, n, 4), 6},
        {"peak right from 6, h 5", findPeakRight(s, 6, n, 5), 6},
        // A turn before anything more extreme returns the start itself.
        {"peak right from 1, h 0", findPeakRight(s, 1, n, 0), 1},
        {"trough left from 9", findTroughLeft(s, 9, 4), 8},
        {"trough left from 9, h 5", findTroughLeft(s, 9, 5), 5},
        {"peak left from 5", findPeakLeft(s, 5, 1), 4},
        {"peak left from 5, h 2", findPeakLeft(s, 5, 2), 0},
        // Running out of samples returns the extreme so far, here the first sample.
        {"peak left from 11", findPeakLeft(s, 11, 100), 0},
        // The equal sample at 2 does not move m, and 5 at 1 then turns.
        {"trough left from 3, h 0", findTroughLeft(s, 3, 0), 3},
        {"trough right from 10", findTroughRight(s, 10, n, 0), 10},
    };
    for (const Row &r : rows)
        EXPECT_EQ(r.got, r.expected) << r.what;
}

TEST_F(WalkersTest, HugeHysteresisNeverTurns)
{
    std::vector<int16_t> x = {0, -32768, 32767, -32768, 32767, 0};
    const int16_t *s = x.data();
    EXPECT_EQ(findTroughRight(s, 0, 6, INT32_MAX), 1);
    EXPECT_EQ(findPeakRight(s, 0, 6, INT32_MAX), 2);
    EXPECT_EQ(findTroughLeft(s, 5, INT32_MAX), 3);
    EXPECT_EQ(findPeakLeft(s, 5, INT32_MAX), 4);
    // Starting from the extreme values, x[m] + h and x[m] - h must not wrap around.
    EXPECT_EQ(findPeakRight(s, 1, 6, INT32_MAX), 2);
    EXPECT_EQ(findTroughRight(s, 2, 6, INT32_MAX), 3);
    EXPECT_EQ(findPeakLeft(s, 3, INT32_MAX), 2);
    EXPECT_EQ(findTroughLeft(s, 4, INT32_MAX), 3);
    // A rise of 65534 is a turn for h = 65533 and not for h = 65534.
    std::vector<int16_t> y = {0, -32767, 32767, -32768};
    EXPECT_EQ(findTroughRight(y.data(), 1, 4, 65534), 3);
    EXPECT_EQ(findTroughRight(y.data(), 1, 4, 65533), 1);
}

// The slow model: a trough walk to the right over values widened to 32 bits. Every step recomputes
// the lowest value so far from scratch, and the answer is the first index holding it.
static int32_t modelTroughRight(const std::vector<int32_t> &v, int32_t start, int32_t h)
{
    int32_t stop = (int32_t)v.size();
    for (int32_t i = start + 1; i < (int32_t)v.size() && stop == (int32_t)v.size(); ++i) {
        int32_t low = v[start];
        for (int32_t k = start; k < i; ++k)
            low = std::min(low, v[k]);
        if ((int64_t)v[i] > (int64_t)low + h)
            stop = i;
    }
    int32_t best = start;
    for (int32_t k = start; k < stop; ++k)
        if (v[k] < v[best])
            best = k;
    return best;
}

// The other three walkers by mirroring: a peak is a trough of the negated signal, and a walk to
// the left is a walk to the right over the reversed signal.
static int32_t model(const std::vector<int16_t> &x, bool peak, bool left, int32_t start, int32_t h)
{
    int32_t n = (int32_t)x.size();
    std::vector<int32_t> v(x.size());
    for (int32_t k = 0; k < n; ++k) {
        int32_t value = left ? x[n - 1 - k] : x[k];
        v[k] = peak ? -value : value;
    }
    int32_t found = modelTroughRight(v, left ? n - 1 - start : start, h);
    return left ? n - 1 - found : found;
}

TEST_F(WalkersTest, AgreeWithTheSlowModelOnRandomSignals)
{
    TestRandom rnd = {2024};
    for (int32_t round = 0; round < 300; ++round) {
        uint32_t n = (uint32_t)rnd.between(1, 120);
        std::vector<int16_t> x = randomWalk(rnd, n, rnd.between(1, 40000));
        const int16_t *s = x.data();
        int32_t start = rnd.between(0, (int32_t)n - 1);
        int32_t spread = rnd.between(0, 3) == 0 ? 70000 : 400;
        int32_t h = rnd.between(0, spread);
        struct Row { const char *what; int32_t got; int32_t expected; } rows[] = {
            {"trough left", findTroughLeft(s, start, h), model(x, false, true, start, h)},
            {"peak left", findPeakLeft(s, start, h), model(x, true, true, start, h)},
            {"trough right", findTroughRight(s, start, n, h), model(x, false, false, start, h)},
            {"peak right", findPeakRight(s, start, n, h), model(x, true, false, start, h)},
        };
        for (const Row &r : rows)
            ASSERT_EQ(r.got, r.expected) << r.what << ", round " << round << ", start " << start << ", h " << h;
    }
}

// From the nearer of the first trough and the first peak of a start, the walk of the other kind ends
// at the farther one, on both sides: the extremum list sets its second slot without that walk.
TEST_F(WalkersTest, NearerFirstExtremumWalksToTheFarther)
{
    TestRandom rnd = {77};
    for (int32_t round = 0; round < 3000; ++round) {
        uint32_t n = (uint32_t)rnd.between(1, 200);
        std::vector<int16_t> x = randomWalk(rnd, n, rnd.between(0, 3) == 0 ? 40000 : rnd.between(1, 300));
        const int16_t *s = x.data();
        int32_t p = rnd.between(0, (int32_t)n - 1);
        int32_t h = rnd.between(0, 3) == 0 ? rnd.between(0, 3) : rnd.between(0, 5000);
        int32_t trough = findTroughLeft(s, p, h), peak = findPeakLeft(s, p, h);
        if (peak > trough) {
            ASSERT_EQ(findTroughLeft(s, peak, h), trough) << "left, round " << round << ", p " << p << ", h " << h;
        } else if (trough > peak) {
            ASSERT_EQ(findPeakLeft(s, trough, h), peak) << "left, round " << round << ", p " << p << ", h " << h;
        }
        trough = findTroughRight(s, p, n, h);
        peak = findPeakRight(s, p, n, h);
        if (peak < trough) {
            ASSERT_EQ(findTroughRight(s, peak, n, h), trough) << "right, round " << round << ", p " << p << ", h " << h;
        } else if (trough < peak) {
            ASSERT_EQ(findPeakRight(s, trough, n, h), peak) << "right, round " << round << ", p " << p << ", h " << h;
        }
    }
}

} // namespace
