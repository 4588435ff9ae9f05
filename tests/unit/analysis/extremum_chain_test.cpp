// The extremum lists of neighbouring verifications, which take over the chain of extrema the last
// collection found where the new chain meets it: against the lists of the same samples at another
// buffer without a table (so every walk is made), at consecutive and scattered positions, with one
// hysteresis and with changing ones, across patches of the buffer, and over ties and flat ends.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "analysis/range_table.h"
#include "analysis/verification_steps.h"
#include "bench/bench_material.h"
#include "support/fake_host.h"

namespace {

class ExtremumChainTest : public PluginTest {};

void expectSameList(const SampleBuffer &buffer, std::vector<int16_t> &copy, int32_t p, int32_t h)
{
    ExtremumList fast = {}, plain = {};
    SampleBuffer bare = {copy.data(), (uint32_t)copy.size(), nullptr};
    ASSERT_EQ(collectExtrema(buffer, p, h, fast), collectExtrema(bare, p, h, plain));
    ASSERT_EQ(fast.first, plain.first) << "at " << p << ", h " << h;
    ASSERT_EQ(fast.last, plain.last) << "at " << p << ", h " << h;
    for (int32_t k = fast.first; k <= fast.last; k++)
        ASSERT_EQ(fast.slot[k], plain.slot[k]) << "slot " << k << " at " << p << ", h " << h;
}

TEST_F(ExtremumChainTest, NeighbouringListsMatchFreshWalks)
{
    std::vector<int16_t> x = musicLike(40000, 3);
    std::vector<int16_t> noise = whiteNoise(40000, 1500, 7);
    for (uint32_t i = 20000; i < 40000; i++)
        x[i] = noise[i]; // music, then noise: long chains and short ones
    std::vector<uint16_t> storage(rangeTableBytes((uint32_t)x.size()) / 2 + 1);
    RangeTable table;
    buildRangeTable(table, x.data(), (uint32_t)x.size(), storage.data());
    SampleBuffer buffer = {x.data(), (uint32_t)x.size(), &table};
    std::vector<int16_t> copy = x;
    uint32_t state = 5;
    for (int32_t p = 1; p < 39990; p += 1 + (int32_t)(material::nextRandom(state) % 3)) {
        // Runs of one hysteresis, a changed one now and then, and the same position twice.
        int32_t h = (p / 500) % 3 == 0 ? 0 : (p / 500) % 3 == 1 ? 300 : 300 + (int32_t)(material::nextRandom(state) % 4);
        expectSameList(buffer, copy, p, h);
        if (p % 97 == 0)
            expectSameList(buffer, copy, p, h);
        if (p % 1009 == 0) {
            // A repair-sized patch near the position: the chains kept from before must not be used.
            for (int32_t i = p - 40; i < p + 40; i++)
                x[(uint32_t)i] = copy[(uint32_t)i] = (int16_t)(i % 7 * 100);
            samplesChanged(buffer, (uint32_t)(p - 40), (uint32_t)(p + 39));
            expectSameList(buffer, copy, p, h);
        }
    }
}

// Few distinct values, long equal runs and flat stretches to both ends of the buffer: where a sample
// can end a trough walk and a peak walk alike (only its own value beyond it), and the walks that end
// on equal samples take the nearest. Lists at scattered positions with small hysteresis values, and
// candidates the walkers refuse (nothing is read, both answer 0).
TEST_F(ExtremumChainTest, TiesAndFlatEndsMatchFreshWalks)
{
    uint32_t state = 17;
    for (uint32_t n : {60u, 129u, 700u}) {
        std::vector<int16_t> x(n);
        int16_t v = 0;
        for (uint32_t i = 0; i < n; i++) {
            if (material::nextRandom(state) % 4 == 0)
                v = (int16_t)(material::nextRandom(state) % 3) - 1;
            x[i] = i < n / 5 || i >= n - n / 5 ? 1 : v;
        }
        std::vector<uint16_t> storage(rangeTableBytes(n) / 2 + 1);
        RangeTable table;
        buildRangeTable(table, x.data(), n, storage.data());
        SampleBuffer buffer = {x.data(), n, &table};
        std::vector<int16_t> copy = x;
        for (int k = 0; k < 3000; k++) {
            int32_t p = (int32_t)(material::nextRandom(state) % n);
            int32_t h = (int32_t)(material::nextRandom(state) % 4) - (k % 50 == 0 ? 2 : 0);
            expectSameList(buffer, copy, p, h);
        }
        ExtremumList list = {};
        EXPECT_EQ(collectExtrema(buffer, (int32_t)n, 0, list), 0);
        EXPECT_EQ(collectExtrema(buffer, -1, 0, list), 0);
    }
}

} // namespace
