// The detector's quiet loop against a slow model written from the per-sample rules (score, level and
// size tests, running-mean update): both walks, over material that stops them often, rarely or never,
// at every stretch of the buffer, with several thresholds, best scores, starting means and stops.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "plugin/click_params.h"
#include "search/detector.h"
#include "search/quiet_stretch.h"
#include "support/fake_host.h"

namespace {

struct Outcome {
    uint32_t position; // where the walk stopped, or its limit
    int32_t mean;      // the running mean it left
};

Outcome modelWalk(const std::vector<int16_t> &x, uint32_t p, uint32_t limit, const RunState &start)
{
    int32_t mean = start.runningMean;
    for (; p < limit; p++) {
        int32_t jump = jumpAt(x.data(), p);
        if (candidateScore(jump, mean) > start.bestScore)
            break;
        if (p > start.lastStop + QUIET_AFTER_STOP) {
            if (levelTestPasses(jump, mean) && sizeTestPasses(jump, mean))
                break;
            mean = updatedRunningMean(jump, mean);
        }
    }
    return {p, mean};
}

typedef uint32_t (*Walk)(const int16_t *, uint32_t, uint32_t, RunState &);

Outcome walkWith(Walk walk, const std::vector<int16_t> &x, uint32_t p, uint32_t limit, const RunState &start)
{
    RunState run = start;
    uint32_t at = walk(x.data(), p, limit, run);
    return {at, run.runningMean};
}

uint32_t lcg(uint32_t &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// Material: noise of a level, with now and then a spike; level 0 gives jumps of 0..2 only.
std::vector<int16_t> noisy(uint32_t n, int32_t level, uint32_t spikeEvery, uint32_t seed)
{
    std::vector<int16_t> x(n);
    uint32_t state = seed;
    for (uint32_t i = 0; i < n; i++) {
        int32_t v = level ? (int32_t)(lcg(state) % (uint32_t)(2 * level + 1)) - level : (int32_t)(lcg(state) % 3) - 1;
        if (spikeEvery && i % spikeEvery == spikeEvery / 2)
            v += (i / spikeEvery) % 2 ? 9000 : -9000;
        x[i] = (int16_t)(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
    }
    return x;
}

// Full-scale steps: jumps of 65535, which do not fit 16 bits signed.
std::vector<int16_t> fullScale(uint32_t n)
{
    std::vector<int16_t> x(n);
    for (uint32_t i = 0; i < n; i++)
        x[i] = (i / 3) % 2 ? 32767 : -32768;
    return x;
}

class QuietStretchTest : public PluginTest {};

TEST_F(QuietStretchTest, BothWalksMatchTheModelAtEveryStretch)
{
    struct Material { const char *name; std::vector<int16_t> samples; };
    const Material materials[] = {
        {"near silence", noisy(3000, 0, 0, 1)},
        {"quiet noise", noisy(3000, 40, 0, 2)},
        {"loud noise", noisy(3000, 1500, 0, 3)},
        {"noise with spikes", noisy(3000, 300, 700, 4)},
        {"full scale", fullScale(3000)},
    };
    struct Thresholds { int32_t c1, d1, c2; };
    const Thresholds thresholds[] = {{4, 600, 9}, {1, 1, 1}, {100, 30000, 200}, {-3, 5, 9}, {4, 600, -2}};
    const int32_t bests[] = {0, 500, 6000, 70000000};
    const int32_t means[] = {0, 3, 40, 900, 65535};
    const uint32_t stops[] = {0, 1200};
    int32_t compared = 0;
    for (const Material &m : materials) {
        uint32_t count = (uint32_t)m.samples.size();
        for (const Thresholds &t : thresholds) {
            clickParams.c1 = t.c1;
            clickParams.d1 = t.d1;
            clickParams.c2 = t.c2;
            for (int32_t best : bests)
                for (int32_t mean : means)
                    for (uint32_t stop : stops)
                        for (uint32_t p = 1; p < count; p += PROGRESS_INTERVAL) {
                            uint32_t next = (p | (PROGRESS_INTERVAL - 1)) + 1;
                            uint32_t limit = next < count ? next : count;
                            RunState start = {};
                            start.runningMean = mean;
                            start.bestScore = best;
                            start.lastStop = stop;
                            // From the stretch's start and from inside it, as after a stop there.
                            for (uint32_t from : {p, p + 37}) {
                                if (from >= limit)
                                    continue;
                                Outcome want = modelWalk(m.samples, from, limit, start);
                                Outcome fast = walkWith(quietStretch, m.samples, from, limit, start);
                                Outcome slow = walkWith(quietStretchBySample, m.samples, from, limit, start);
                                ASSERT_TRUE(fast.position == want.position && fast.mean == want.mean &&
                                            slow.position == want.position && slow.mean == want.mean)
                                    << m.name << ", c1 " << t.c1 << " d1 " << t.d1 << " c2 " << t.c2 << ", best "
                                    << best << ", mean " << mean << ", stop " << stop << ", from " << from
                                    << ": model " << want.position << "/" << want.mean << ", fast "
                                    << fast.position << "/" << fast.mean << ", by sample " << slow.position
                                    << "/" << slow.mean;
                                compared++;
                            }
                        }
        }
    }
    EXPECT_GT(compared, 10000);
}

TEST_F(QuietStretchTest, ALongQuietStretchRunsToItsLimitWithTheModelsMean)
{
    // Quiet noise under a high best score: nothing stops the walk, so the whole stretch goes through
    // the chain alone and the mean it leaves must be the one the rules give sample by sample.
    std::vector<int16_t> x = noisy(600, 200, 0, 9);
    RunState start = {};
    start.runningMean = 5000; // far above the jumps: the chain pulls it down over the stretch
    start.bestScore = 1000000;
    Outcome want = modelWalk(x, 129, 256, start);
    Outcome fast = walkWith(quietStretch, x, 129, 256, start);
    EXPECT_EQ(want.position, 256u);
    EXPECT_EQ(fast.position, want.position);
    EXPECT_EQ(fast.mean, want.mean);
    EXPECT_LT(want.mean, 5000);
}

} // namespace
