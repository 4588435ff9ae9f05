// The summary's view of what changed: regions of changed samples in one channel of interleaved
// frames, found from the blocks saved before the writes, merged across short unchanged gaps, and
// their description in the plug-in's numbering.
#include <gtest/gtest.h>
#include "app/change_report.h"

// Stereo 16-bit frames; changes are given as (frame, channel) pairs.
static std::vector<ChangedRegion> regionsOf(const std::vector<std::pair<uint32_t, uint32_t>> &changes,
                                            uint32_t channel, uint32_t first, uint32_t last, uint32_t gap)
{
    std::vector<uint8_t> before(3000 * 4, 0), after(3000 * 4, 0);
    for (const auto &c : changes)
        after[c.first * 4 + c.second * 2 + 1] = 0x80;
    ChangeLog log;
    changeLogStart(&log, 3000, 2);
    for (uint32_t block = 0; block * CHANGE_BLOCK_FRAMES < 3000; block++)
        changeLogSaveBlock(&log, block, before.data() + channel * 2, 4);
    return changeLogRegions(log, after.data() + channel * 2, 4, first, last, gap);
}

static std::string text(const std::vector<ChangedRegion> &regions)
{
    std::string out;
    for (const ChangedRegion &r : regions)
        out += std::to_string(r.first) + "-" + std::to_string(r.last) + " ";
    return out;
}

TEST(ChangedRegions, MergesShortGapsOnlyAndLooksAtOneChannel)
{
    struct Row {
        const char *what;
        std::vector<std::pair<uint32_t, uint32_t>> changes;
        uint32_t channel, first, last, gap;
        const char *want;
    };
    const Row rows[] = {
        {"nothing", {}, 0, 0, 99, 4, ""},
        {"one sample", {{10, 0}}, 0, 0, 99, 4, "10-10 "},
        {"gap of 4 merges", {{10, 0}, {15, 0}}, 0, 0, 99, 4, "10-15 "},
        {"gap of 5 splits", {{10, 0}, {16, 0}}, 0, 0, 99, 4, "10-10 16-16 "},
        {"no merging", {{10, 0}, {11, 0}, {13, 0}}, 0, 0, 99, 0, "10-11 13-13 "},
        {"other channel ignored", {{10, 1}, {20, 0}}, 0, 0, 99, 4, "20-20 "},
        {"second channel", {{10, 1}, {20, 0}}, 1, 0, 99, 4, "10-10 "},
        {"outside the range", {{5, 0}, {50, 0}, {95, 0}}, 0, 10, 90, 4, "50-50 "},
        {"range ends", {{10, 0}, {90, 0}}, 0, 10, 90, 4, "10-10 90-90 "},
        {"first and last frame", {{0, 0}, {99, 0}}, 0, 0, 99, 4, "0-0 99-99 "},
        {"across blocks", {{1022, 0}, {1024, 0}, {2999, 0}}, 0, 0, 2999, 4, "1022-1024 2999-2999 "},
    };
    for (const Row &row : rows)
        EXPECT_EQ(text(regionsOf(row.changes, row.channel, row.first, row.last, row.gap)), row.want) << row.what;
}

TEST(ChangedRegions, DescribedInThePluginsNumbering)
{
    EXPECT_EQ(describeRegions({}, 5), "no clicks repaired");
    EXPECT_EQ(describeRegions({{0, 0}}, 5), "1 click repaired at 1");
    EXPECT_EQ(describeRegions({{147, 155}, {7997, 7997}}, 5), "2 clicks repaired at 148-156, 7998");
    EXPECT_EQ(describeRegions({{1, 1}, {3, 3}, {5, 5}}, 2), "3 clicks repaired at 2, 4, ...");
    EXPECT_EQ(describeRegions({{4294967295u, 4294967295u}}, 5), "1 click repaired at 4294967296");
}
