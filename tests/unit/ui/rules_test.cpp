// The dialog's and the view's pure rules: scroll steps, read-back clamps, autozoom, the mappings,
// the stretch, the hit test and the drag rules, checked against worked examples and slow models.
#include <gtest/gtest.h>
#include <vector>
#include "ui/plot_context.h"
#include "ui/review_rules.h"

struct ScrollRow {
    int32_t bar, current, code, thumb;
    int32_t handled, expected;
};

TEST(ScrollSteps, EveryRowOfEachBar)
{
    const ScrollRow rows[] = {
        // zoom bar: runs upside down, shown as 13 - zoom
        {SCROLL_ZOOM, 5, 0, 0, 1, 6},   {SCROLL_ZOOM, 12, 0, 0, 1, 12}, {SCROLL_ZOOM, 5, 1, 0, 1, 4},
        {SCROLL_ZOOM, 1, 1, 0, 1, 1},   {SCROLL_ZOOM, 5, 2, 0, 1, 9},   {SCROLL_ZOOM, 10, 2, 0, 1, 12},
        {SCROLL_ZOOM, 5, 3, 0, 1, 1},   {SCROLL_ZOOM, 3, 3, 0, 1, 1},   {SCROLL_ZOOM, 5, 4, 1, 1, 12},
        {SCROLL_ZOOM, 5, 5, 12, 1, 1},  {SCROLL_ZOOM, 5, 5, 0, 1, 12},  {SCROLL_ZOOM, 5, 4, 40, 1, 1},
        {SCROLL_ZOOM, 5, 6, 0, 1, 12},  {SCROLL_ZOOM, 5, 7, 0, 1, 1},   {SCROLL_ZOOM, 5, 8, 0, 0, 0},
        // blend bar
        {SCROLL_BLEND, 5, 0, 0, 1, 4},  {SCROLL_BLEND, 0, 0, 0, 1, 0},  {SCROLL_BLEND, 5, 1, 0, 1, 6},
        {SCROLL_BLEND, 2, 2, 0, 1, 0},  {SCROLL_BLEND, 10, 3, 0, 1, 12}, {SCROLL_BLEND, 5, 4, 9, 1, 9},
        {SCROLL_BLEND, 5, 5, 300, 1, 12}, {SCROLL_BLEND, 5, 6, 0, 1, 0}, {SCROLL_BLEND, 5, 7, 0, 1, 12},
        // width bar
        {SCROLL_WIDTH, 95, 0, 0, 1, 94}, {SCROLL_WIDTH, 30, 0, 0, 1, 30}, {SCROLL_WIDTH, 160, 1, 0, 1, 160},
        {SCROLL_WIDTH, 40, 2, 0, 1, 30}, {SCROLL_WIDTH, 150, 3, 0, 1, 160}, {SCROLL_WIDTH, 95, 3, 0, 1, 115},
        {SCROLL_WIDTH, 95, 5, 12, 1, 30}, {SCROLL_WIDTH, 95, 4, 100, 1, 100}, {SCROLL_WIDTH, 95, 6, 0, 1, 30},
        {SCROLL_WIDTH, 95, 7, 0, 1, 160}, {SCROLL_WIDTH, 95, 9, 0, 0, 0},
    };
    for (const ScrollRow &r : rows) {
        int32_t value = -99;
        int32_t handled = scrollStep(r.bar, r.current, r.code, r.thumb, &value);
        EXPECT_EQ(handled, r.handled) << "bar " << r.bar << " code " << r.code;
        if (r.handled) {
            EXPECT_EQ(value, r.expected) << "bar " << r.bar << " at " << r.current << " code " << r.code
                                         << " thumb " << r.thumb;
        }
    }
}

struct ReadBackRow {
    int32_t c1, d1, c2, severity;
    int32_t wantC1, wantD1, wantC2, wantSeverity;
};

TEST(ReadBack, ClampsInOrder)
{
    const ReadBackRow rows[] = {
        {4, 600, 9, 5, 4, 600, 9, 5},
        {0, 600, 9, 5, 1, 600, 9, 5},      // letters read as 0
        {4, 600, 4, 5, 4, 600, 5, 5},      // c2 not above c1
        {0, 600, 0, 5, 1, 600, 2, 5},      // both 0: c2 compared with the clamped c1
        {4, -7, 9, 0, 4, 1, 9, 1},
        {-5, 0, -9, -3, 1, 1, 2, 1},
        {20, 1, 19, 1, 20, 1, 21, 1},
        {INT32_MAX, 1, 5, 1, INT32_MAX - 1, 1, INT32_MAX, 1}, // c2 above c1 without wrapping
        {INT32_MAX, 1, INT32_MAX, 1, INT32_MAX - 1, 1, INT32_MAX, 1},
    };
    for (const ReadBackRow &r : rows) {
        ClickParams params = initialClickParams();
        params.zoom = 7;
        params.spanStart = 11;
        ReviewFields fields = {r.c1, r.d1, r.c2, r.severity, 1, 7, 0, 1};
        storeReviewFields(fields, params);
        EXPECT_EQ(params.c1, r.wantC1) << "c1 from " << r.c1;
        EXPECT_EQ(params.d1, r.wantD1) << "d1 from " << r.d1;
        EXPECT_EQ(params.c2, r.wantC2) << "c2 from " << r.c2 << " with c1 " << r.c1;
        EXPECT_EQ(params.baseFreqVerS, r.wantSeverity) << "severity from " << r.severity;
        EXPECT_EQ(params.useBaseFreqVer, 1u);
        EXPECT_EQ(params.multipass, 1u) << "a switch read back is 0 or 1";
        EXPECT_EQ(params.autoZoom, 0u);
        EXPECT_EQ(params.rangeDialog, 1u);
        EXPECT_EQ(params.zoom, 7) << "the zoom is not read back";
        EXPECT_EQ(params.spanStart, 11) << "the span is not read back";
    }
}

// The window of the autozoom, written the slow way: every index tested for membership.
static int32_t slowAutoZoom(const std::vector<int16_t> &s, int32_t candidate, int32_t around, int32_t start,
                            int32_t end)
{
    int32_t peak = -1;
    for (int32_t i = 0; i < (int32_t)s.size(); i++) {
        bool inside = i >= candidate - around && i >= 2 * start - end && i <= candidate + around &&
                      i <= 2 * end - start;
        if (inside && std::abs((int32_t)s[(size_t)i]) > peak)
            peak = std::abs((int32_t)s[(size_t)i]);
    }
    if (peak <= 0)
        return 12;
    return std::max(1, std::min(12, 98301 / (4 * peak)));
}

TEST(AutoZoom, WorkedPeaks)
{
    const struct {
        int16_t peak;
        int32_t zoom;
    } rows[] = {{2047, 12}, {2048, 11}, {2730, 9}, {8192, 2}, {12288, 1}, {32767, 1}, {-32768, 1}, {0, 12},
                {1, 12}, {-2731, 8}};
    for (const auto &r : rows) {
        std::vector<int16_t> s(1000, 0);
        s[500] = r.peak;
        EXPECT_EQ(autoZoomFor(s.data(), 1000, 500, 95, 495, 505), r.zoom) << "peak " << r.peak;
    }
}

TEST(AutoZoom, WindowIsTheWidenedSpanCutToStretchAndBuffer)
{
    std::vector<int16_t> s(1000, 0);
    s[484] = 9000;  // inside the widened span 2 * 490 - 505 = 475 .. 2 * 505 - 490 = 520
    s[474] = 30000; // outside the widened span
    s[521] = 30000; // outside
    EXPECT_EQ(autoZoomFor(s.data(), 1000, 500, 95, 490, 505), 98301 / (4 * 9000));
    EXPECT_EQ(autoZoomFor(s.data(), 1000, 500, 95, 490, 505), slowAutoZoom(s, 500, 95, 490, 505));
    // Near the end: the window stops at the last sample, even with a span beyond the buffer.
    std::vector<int16_t> tail(100, 0);
    tail[99] = 4000;
    EXPECT_EQ(autoZoomFor(tail.data(), 100, 95, 30, 97, 140), 98301 / 16000);
    // A span lying wholly past the buffer reads only its last sample.
    EXPECT_EQ(autoZoomFor(tail.data(), 100, 99, 30, 300, 301), 98301 / 16000);
    // Against the slow model over assorted spans and signals.
    for (int32_t seed = 1; seed < 200; seed++) {
        std::vector<int16_t> r(400);
        uint32_t x = (uint32_t)seed * 2654435761u;
        for (int16_t &v : r) {
            x = x * 1103515245u + 12345u;
            v = (int16_t)((int32_t)(x >> 16) % 6000 - 3000);
        }
        int32_t candidate = (int32_t)(x % 400);
        int32_t start = candidate - (int32_t)(seed % 9), end = candidate + (int32_t)(seed % 13) + 1;
        int32_t around = 30 + seed % 131;
        EXPECT_EQ(autoZoomFor(r.data(), 400, candidate, around, start, end),
                  slowAutoZoom(r, candidate, around, start, end))
            << "seed " << seed;
    }
}

TEST(Mappings, WorkedExamples)
{
    ViewStretch stretch = viewStretch(10, 75, 1000);
    EXPECT_EQ(stretch.firstSample, 0);
    EXPECT_EQ(stretch.lastSample, 85);
    EXPECT_EQ(stretch.visibleCount, 86);
    PlotContext plot = {nullptr, stretch.firstSample, stretch.lastSample, stretch.visibleCount, 1, {0, 0, 400, 100}};
    EXPECT_EQ(sampleToX(plot, 10), 47);
    EXPECT_EQ(xToSample(plot, 47), 10);
    EXPECT_EQ(xToSample(plot, -30), 0) << "left of the view pins to the first sample";
    EXPECT_EQ(xToSample(plot, 900), 85) << "beyond the width pins to the last slot";

    ViewStretch end = viewStretch(990, 30, 1000);
    EXPECT_EQ(end.firstSample, 960);
    EXPECT_EQ(end.lastSample, 1000) << "one past the buffer";
    EXPECT_EQ(end.visibleCount, 41);
    EXPECT_EQ(viewStretch(160, 160, 100000).visibleCount, 321);

    const struct {
        int32_t value, zoom, row;
    } rows[] = {{0, 1, 50},      {16384, 1, 25}, {32767, 1, 0}, {-32768, 1, 100}, {16384, 2, 0},
                {3000, 12, 0},   {-3000, 12, 100}, {0, 12, 50},  {-16384, 2, 100}};
    RECT client = {0, 0, 400, 100};
    for (const auto &r : rows)
        EXPECT_EQ(valueToY(r.value, client, r.zoom), r.row) << "value " << r.value << " zoom " << r.zoom;
}

TEST(MarkerHit, DistancesAndTies)
{
    const struct {
        int32_t x, startX, endX, hit;
    } rows[] = {{100, 100, 200, 1}, {102, 100, 200, 1}, {103, 100, 200, 0}, {98, 100, 200, 1},
                {97, 100, 200, 0},  {198, 100, 200, 2}, {203, 100, 200, 0}, {101, 100, 102, 1},
                {102, 100, 102, 1}, {103, 100, 102, 2}, {2, 0, 200, 1},     {0, 0, 0, 1},
                {-2, 0, 50, 1}};
    for (const auto &r : rows)
        EXPECT_EQ(markerHit(r.x, r.startX, r.endX), r.hit) << "x " << r.x << " markers " << r.startX << ","
                                                            << r.endX;
}

TEST(DragRules, EndsKeepTheirOrder)
{
    const struct {
        int32_t marker, s, start, end, changed, moved;
    } rows[] = {
        {1, 480, 490, 510, 1, 480}, {1, 510, 490, 510, 1, 509}, {1, 600, 490, 510, 1, 509},
        {1, 490, 490, 510, 0, 0},   {1, 510, 509, 510, 0, 0},   {2, 520, 490, 510, 1, 520},
        {2, 490, 490, 510, 1, 491}, {2, 100, 490, 510, 1, 491}, {2, 510, 490, 510, 0, 0},
        {2, 490, 490, 491, 0, 0},   {0, 500, 490, 510, 0, 0},
    };
    for (const auto &r : rows) {
        int32_t moved = 0;
        EXPECT_EQ(dragMarkerTo(r.marker, r.s, r.start, r.end, &moved), r.changed)
            << "marker " << r.marker << " to " << r.s << " in " << r.start << ".." << r.end;
        if (r.changed) {
            EXPECT_EQ(moved, r.moved) << "marker " << r.marker << " to " << r.s;
        }
    }
}
