// The detector's two candidate tests: the level test at the default thresholds and with thresholds
// whose products would not fit 32 bits, and the size test.
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

} // namespace
