// The SkipList: the distance that counts as near, duplicates and neighbours, the oldest entry dropped
// from a full list, and positions far apart that must not overflow the distance.
#include <gtest/gtest.h>
#include <climits>
#include "search/skip_list.h"
#include "support/fake_host.h"

namespace {

class SkipListTest : public PluginTest {};

TEST_F(SkipListTest, NearMeansWithinFourEitherSide)
{
    addSkipped(100);
    struct Row { int32_t position; bool skipped; };
    const Row rows[] = {{94, false}, {95, false}, {96, true}, {100, true}, {104, true}, {105, false}};
    for (const Row &row : rows)
        EXPECT_EQ(isSkipped(row.position), row.skipped) << "position " << row.position;
}

TEST_F(SkipListTest, SamePositionTwiceKeepsOneEntryANeighbourAddsOne)
{
    addSkipped(100);
    addSkipped(100);
    EXPECT_EQ(skippedCount(), 1);
    addSkipped(101);
    ASSERT_EQ(skippedCount(), 2);
    EXPECT_EQ(skippedEntry(0), 100);
    EXPECT_EQ(skippedEntry(1), 101);
}

TEST_F(SkipListTest, TheSixtyFirstDropsTheOldest)
{
    for (int32_t i = 0; i < 61; i++)
        addSkipped(1000 + 10 * i);
    ASSERT_EQ(skippedCount(), 60);
    for (int32_t i = 0; i < 60; i++)
        EXPECT_EQ(skippedEntry(i), 1010 + 10 * i) << "entry " << i;
    EXPECT_FALSE(isSkipped(1000));
    EXPECT_TRUE(isSkipped(1600));
    // A repeat of an entry in a full list changes nothing; a new one drops the next oldest.
    addSkipped(1300);
    EXPECT_EQ(skippedEntry(0), 1010);
    addSkipped(5);
    EXPECT_EQ(skippedEntry(0), 1020);
    EXPECT_EQ(skippedEntry(59), 5);
}

TEST_F(SkipListTest, FarApartPositionsAreNotNear)
{
    addSkipped(INT32_MIN + 2);
    EXPECT_FALSE(isSkipped(INT32_MAX - 1)) << "the distance must not wrap";
    EXPECT_TRUE(isSkipped(INT32_MIN));
}

} // namespace
