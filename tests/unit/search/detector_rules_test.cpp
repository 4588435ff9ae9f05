// The detector's per-sample rules: the level test at the default thresholds and with thresholds whose
// products would not fit 32 bits, the size test, the score and the running-mean update.
#include <gtest/gtest.h>
#include <climits>
#include "plugin/click_params.h"
#include "search/detector.h"
#include "support/fake_host.h"

namespace {

class DetectorRulesTest : public PluginTest {};

TEST_F(DetectorRulesTest, LevelTestAtTheDefaultThresholds)
{
    struct Row { int32_t jump, mean; bool passes; };
    const Row rows[] = {
        {700, 100, true},  // above 4 x 100 and above 600
        {500, 100, false}, // not above 600, not above 900
        {600, 100, false}, // equal to d1 is not above it
        {601, 100, true},
        {900, 100, true},  // c1 and d1 already carry it
        {500, 50, true},   // through c2 alone: above 450
        {450, 50, false},  // equal to c2 x mean
        {1, 0, true},      // a running mean of 0 lets any jump through c2
        {0, 0, false},
    };
    for (const Row &row : rows)
        EXPECT_EQ(levelTestPasses(row.jump, row.mean), row.passes) << "jump " << row.jump << ", mean " << row.mean;
}

TEST_F(DetectorRulesTest, LevelTestComparesHugeThresholdsExactly)
{
    // 65537 x 65535 wraps to 65499 in 32 bits, which a full-scale jump would exceed.
    clickParams.c1 = 65537;
    clickParams.d1 = 1;
    clickParams.c2 = 65537;
    EXPECT_FALSE(levelTestPasses(65535, 65535));
    clickParams.c1 = clickParams.c2 = INT32_MAX;
    EXPECT_FALSE(levelTestPasses(65535, 2));
    EXPECT_TRUE(levelTestPasses(65535, 0));
    // Thresholds below 1 never come from the file or the dialog, but still compare as numbers.
    clickParams.c1 = clickParams.c2 = -3;
    clickParams.d1 = 1;
    EXPECT_TRUE(levelTestPasses(2, 65535));
}

TEST_F(DetectorRulesTest, SizeTestKeepsTinyJumpsInNearSilenceOut)
{
    struct Row { int32_t jump, mean; bool passes; };
    const Row rows[] = {{21, 0, true}, {20, 0, false}, {20, 10, false}, {20, 11, true}, {0, 11, true}};
    for (const Row &row : rows)
        EXPECT_EQ(sizeTestPasses(row.jump, row.mean), row.passes) << "jump " << row.jump << ", mean " << row.mean;
}

TEST_F(DetectorRulesTest, ScoreDividesByTheMeanButNeverByLessThanOne)
{
    EXPECT_EQ(candidateScore(21, 0), 21 + 21000);
    EXPECT_EQ(candidateScore(21, 1), 21 + 21000);
    EXPECT_EQ(candidateScore(700, 100), 700 + 7000);
    EXPECT_EQ(candidateScore(65535, 0), 65535 + 65535000);
    EXPECT_EQ(candidateScore(999, 1000), 999 + 999);
}

TEST_F(DetectorRulesTest, RunningMeanIgnoresSmallJumps)
{
    struct Row { int32_t jump, mean, expected; };
    const Row rows[] = {
        {3, 0, 0},        // (3 + 0 + 8) / 16
        {2, 0, 0},        // a jump of 2 never updates
        {2, 1, 1},
        {10, 320, 320},   // not above 320 / 32
        {11, 320, 301},   // (11 + 4800 + 8) / 16
        {1000, 0, 63},
        {100, 100, 100},  // (100 + 1500 + 8) / 16: a steady mean stays put
        {65535, 65535, 65535},
    };
    for (const Row &row : rows)
        EXPECT_EQ(updatedRunningMean(row.jump, row.mean), row.expected)
            << "jump " << row.jump << ", mean " << row.mean;
}

TEST_F(DetectorRulesTest, MeansTakeTwentyJumps)
{
    std::vector<int16_t> x(100, 0);
    for (int i = 0; i < 100; i++)
        x[i] = (int16_t)((i % 2) ? -32768 : 32767); // full-scale jumps of 65535
    EXPECT_EQ(startingMean(x.data()), 65535);
    std::vector<int16_t> ramp(100);
    for (int i = 0; i < 100; i++)
        ramp[i] = (int16_t)(i * i); // jump at k is 2k - 1
    EXPECT_EQ(startingMean(ramp.data()), (1 + 39) * 20 / 2 / 20); // jumps 1..20: sum 400
    // Look-ahead at 10: jumps at 30..39, sum of 2k - 1 for k = 30..49
    int32_t sum = 0;
    for (int k = 30; k < 50; k++)
        sum += 2 * k - 1;
    EXPECT_EQ(lookAheadMean(ramp.data(), 10), sum / 20);
}

} // namespace
