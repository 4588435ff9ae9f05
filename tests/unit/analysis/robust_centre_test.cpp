// integerMean and robustCentre: the worked lists, truncation and refusal, sums and differences that
// would overflow 32 bits, and robustCentre against "a median" on random lists.
#include <algorithm>
#include <climits>
#include <string>
#include "analysis_signals.h"
#include "analysis/base_freq.h"

namespace {

class RobustCentreTest : public AnalysisTest {};

static std::string listText(const std::vector<int32_t> &v)
{
    std::string s = "{";
    for (size_t k = 0; k < v.size(); ++k)
        s += (k ? ", " : "") + std::to_string(v[k]);
    return s + "}";
}

struct ListCase {
    std::vector<int32_t> values;
    int32_t expected;
};

TEST_F(RobustCentreTest, IntegerMean)
{
    const ListCase cases[] = {
        {{3, 5, 10, 2}, 5},
        {{}, -1},
        {{7}, 7},
        {{-7, 0}, -3},  // truncated toward zero, not down to -4
        {{-1, -1, 1}, 0},
        {{INT32_MAX, INT32_MAX}, INT32_MAX},
        {std::vector<int32_t>(21, INT32_MAX), INT32_MAX},
        {{INT32_MIN, INT32_MIN, INT32_MIN}, INT32_MIN},
        {{INT32_MAX, 1}, 1073741824},
    };
    for (const ListCase &c : cases)
        EXPECT_EQ(integerMean(c.values.data(), (int32_t)c.values.size()), c.expected) << listText(c.values);
    int32_t one = 1;
    EXPECT_EQ(integerMean(&one, -3), -1) << "a negative count";
}

// The plain worked lists ({1, 2, 3, 4} -> 3 and six more) are checked against both the plug-in and
// the reference model in ReferenceCentre.WorkedValues; here, the lists that pin a rounding or a tie.
TEST_F(RobustCentreTest, WorkedLists)
{
    const ListCase cases[] = {
        // The interval list of a sine of period 20 around a rising zero crossing.
        {{10, 10, 10, 10, 10, 10, 10, 10, 5, 0, 5, 10, 10, 10, 10, 10, 10, 10, 10, 10}, 10},
        // A tie after a step of 3 downward: the midpoint, truncated toward the last centre.
        {{0, 0, 3, 30}, 1},
        // A tie after a step of 3 upward.
        {{0, 7, 10, 10}, 9},
    };
    for (const ListCase &c : cases)
        EXPECT_EQ(robustCentre(c.values.data(), (int32_t)c.values.size()), c.expected) << listText(c.values);
}

TEST_F(RobustCentreTest, RefusalsAndExtremeValues)
{
    const ListCase cases[] = {
        {{}, -1},
        {{-5, 1}, -1},
        // A mean of -1 / 2 truncates to 0, which is not negative.
        {{INT32_MIN, INT32_MAX}, 0},
        // A non-negative mean can still step to a negative median; the caller treats that as refused.
        {{-10, -10, -10, 100}, -10},
        // Differences from the centre that do not fit 32 bits.
        {{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX}, INT32_MAX},
        {{INT32_MIN + 1, 0, INT32_MAX, INT32_MAX, INT32_MAX}, INT32_MAX},
        {{0, 0, 0, INT32_MAX, INT32_MAX}, 0},
        {{INT32_MAX, 0}, 1073741823},
        {std::vector<int32_t>(21, INT32_MAX), INT32_MAX},
    };
    for (const ListCase &c : cases)
        EXPECT_EQ(robustCentre(c.values.data(), (int32_t)c.values.size()), c.expected) << listText(c.values);
    int32_t one = 1;
    EXPECT_EQ(robustCentre(&one, 0), -1);
    EXPECT_EQ(robustCentre(&one, -1), -1);
}

TEST_F(RobustCentreTest, IsAMedianOfNonNegativeLists)
{
    // An odd count gives the middle value; an even count a value between the two middle ones.
    TestRandom rnd = {77};
    for (int32_t round = 0; round < 20000; ++round) {
        int32_t n = rnd.between(1, 21);
        int32_t top = rnd.between(0, 3) == 0 ? 3 : rnd.between(1, 5000);
        std::vector<int32_t> v(n);
        for (int32_t &x : v)
            x = rnd.between(0, top);
        std::vector<int32_t> sorted = v;
        std::sort(sorted.begin(), sorted.end());
        int32_t got = robustCentre(v.data(), n);
        if (n % 2 == 1) {
            ASSERT_EQ(got, sorted[n / 2]) << listText(v);
        } else {
            ASSERT_GE(got, sorted[n / 2 - 1]) << listText(v);
            ASSERT_LE(got, sorted[n / 2]) << listText(v);
        }
    }
}

} // namespace
