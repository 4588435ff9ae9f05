// The click span finder: the worked spans around silent buffers, the boundaries where refinement is
// left out, the outcome rule as a model on random signals, and that nothing but the span is written.
#include <cstring>
#include <string>
#include "analysis_signals.h"
#include "analysis/click_span.h"

namespace {

struct SpanCase {
    const char *what;
    std::vector<int16_t> samples;
    uint32_t position;
    int32_t start;
    int32_t end;
};

class ClickSpanTest : public AnalysisTest {};

TEST_F(ClickSpanTest, WorkedSpansOnSilentBuffers)
{
    const SpanCase cases[] = {
        {"lone spike", sparse(100, {{50, 1000}}), 50, 46, 56},
        {"ringing tail", sparse(100, {{50, 1000}, {51, -800}, {52, 300}, {56, 200}}), 50, 46, 56},
        {"disturbance before", sparse(100, {{47, 400}, {50, 1000}}), 50, 45, 56},
        {"late disturbance", sparse(100, {{50, 1000}, {57, 300}}), 50, 46, 59},
        {"all zero", sparse(100, {}), 50, 46, 56},
        {"candidate 90 refined", sparse(100, {{90, 1000}}), 90, 86, 96},
        {"candidate 91 unrefined", sparse(100, {{91, 1000}}), 91, 87, 98},
        {"last sample", sparse(100, {{99, 1000}}), 99, 95, 98},
        {"candidate 4", sparse(100, {{4, 1000}}), 4, 1, 12},
        {"candidate 5", sparse(100, {{4, 1000}}), 5, 1, 11},
        {"candidate 0", sparse(100, {{0, 1000}}), 0, 1, 8},
        // step(p + 6) large with p = sampleCount - 10: the end lands on the last sample, unclipped.
        {"end on last sample", sparse(100, {{90, 1000}, {97, 500}}), 90, 86, 99},
        // A step exactly at the threshold counts as small: sum 1000 + 1005 + 5 gives threshold 167.
        {"step equal to threshold", sparse(100, {{50, 1000}, {51, -5}, {57, 167}}), 50, 46, 56},
        {"step one above threshold", sparse(100, {{50, 1000}, {51, -5}, {57, 168}}), 50, 46, 59},
    };
    for (const SpanCase &c : cases) {
        params.spanStart = -777;
        params.spanEnd = -777;
        locateClickSpan(c.samples.data(), (uint32_t)c.samples.size(), c.position, params);
        EXPECT_EQ(params.spanStart, c.start) << c.what << ": spanStart";
        EXPECT_EQ(params.spanEnd, c.end) << c.what << ": spanEnd";
    }
}

// The finder's outcome written out as a rule, without the walks.
static void modelSpan(const std::vector<int16_t> &x, int32_t p, int32_t &start, int32_t &end)
{
    int32_t count = (int32_t)x.size();
    auto step = [&](int32_t k) { return std::abs((int32_t)x[k + 1] - (int32_t)x[k]); };
    start = p <= 4 ? 1 : p - 4;
    end = p + 8;
    if (p + 8 >= count - 1) {
        end = count - 2;
        return;
    }
    if (p <= 4)
        return;
    int32_t sum = 0;
    for (int32_t k = p - 2; k <= p + 3; ++k)
        sum += step(k);
    int32_t threshold = ((sum + 3) / 6) / 2;
    start = step(p - 3) > threshold ? p - 5 : p - 4;
    if (start < 1)
        start = 1;
    if (step(p + 6) > threshold)
        end = p + 9;
    else if (step(p + 5) > threshold)
        end = p + 8;
    else if (step(p + 4) > threshold)
        end = p + 7;
    else
        end = p + 6;
}

TEST_F(ClickSpanTest, AgreesWithTheOutcomeRuleOnRandomSignals)
{
    TestRandom rnd = {12345};
    for (int32_t round = 0; round < 200; ++round) {
        uint32_t count = (uint32_t)rnd.between(42, 80);
        std::vector<int16_t> x = randomWalk(rnd, count, rnd.between(1, 20000));
        for (uint32_t p = 0; p < count; ++p) {
            int32_t start = 0;
            int32_t end = 0;
            modelSpan(x, (int32_t)p, start, end);
            locateClickSpan(x.data(), count, p, params);
            ASSERT_EQ(params.spanStart, start) << "round " << round << " p " << p << " count " << count;
            ASSERT_EQ(params.spanEnd, end) << "round " << round << " p " << p << " count " << count;
        }
    }
}

TEST_F(ClickSpanTest, WritesOnlyTheSpan)
{
    std::vector<int16_t> x = sparse(100, {{50, 1000}, {47, 400}});
    ClickParams before;
    std::memset(&before, 0xA5, sizeof before);
    ClickParams after = before;
    locateClickSpan(x.data(), 100, 50, after);
    EXPECT_EQ(after.spanStart, 45);
    EXPECT_EQ(after.spanEnd, 56);
    after.spanStart = before.spanStart;
    after.spanEnd = before.spanEnd;
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0) << "a field other than the span changed";
}

} // namespace
