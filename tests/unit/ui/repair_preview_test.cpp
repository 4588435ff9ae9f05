// The repair's preview on the stand-in's canvas: the squares of the blend in their colour,
// the control lines beneath them only for spans that qualify for the curve, the fall-backs when a pen
// cannot be created, and the device left with the pen and brush it had, no pen left alive.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "compat_host.h"
#include "plugin/click_params.h"
#include "repair/repair.h"
#include "support/test_random.h"
#include "support/fake_host.h"
#include "ui/plot_context.h"

namespace {

const uint32_t PREVIEW = 0x0040C0FF;
const uint32_t CONTROL = 0x00FF8080;
const uint32_t WHITE = 0x00FFFFFF;
const uint32_t FACE = 0x00C0C0C0;

bool within(int32_t v, int32_t a, int32_t b)
{
    return a < b ? (v >= a && v <= b) : (v >= b && v <= a);
}

class PreviewTest : public PluginTest {
protected:
    HWND window = nullptr;
    HDC dc = nullptr;
    PlotContext plot = {};
    std::vector<int16_t> samples;

    void SetUp() override
    {
        PluginTest::SetUp();
        window = compatCreateWindow("PreviewCanvas", nullptr, nullptr, 400, 200);
        dc = GetDC(window);
        plot.hdc = dc;
        plot.firstSample = 10;
        plot.lastSample = 50;
        plot.visibleCount = 41;
        plot.zoom = 1;
        plot.client.right = 400;
        plot.client.bottom = 200;
        // The falling worked example around the span 20..31.
        samples = noiseSignal(60, 11, 20000);
        const int16_t around[8] = {970, 980, 990, 1000, -600, -615, -630, -645};
        for (int32_t i = 0; i < 4; i++) {
            samples[17 + i] = around[i];
            samples[31 + i] = around[4 + i];
        }
    }
    void TearDown() override
    {
        ReleaseDC(window, dc);
        PluginTest::TearDown();
    }
    void freshCanvas()
    {
        ReleaseDC(window, dc);
        window = compatCreateWindow("PreviewCanvas", nullptr, nullptr, 400, 200);
        dc = GetDC(window);
        plot.hdc = dc;
    }
    int32_t preview(int32_t start, int32_t end, int32_t lineBezier)
    {
        clickParams.spanStart = start;
        clickParams.spanEnd = end;
        clickParams.lineBezier = lineBezier;
        return previewRepair(plot, samples.data(), (uint32_t)samples.size(), clickParams);
    }
    std::vector<uint32_t> canvas()
    {
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        compatCanvasPixels(window, pixels, width, height);
        return pixels;
    }
    int32_t count(uint32_t colour)
    {
        int32_t n = 0;
        for (uint32_t p : canvas())
            n += p == colour;
        return n;
    }
    // The 2 by 2 square of sample i with blended value b has its lower right pixel at the mapped point.
    void expectSquare(int32_t i, int32_t b, uint32_t colour)
    {
        int32_t x = sampleToX(plot, i), y = valueToY(b, plot.client, plot.zoom);
        for (int32_t dy = -1; dy <= 0; dy++) {
            for (int32_t dx = -1; dx <= 0; dx++) {
                EXPECT_EQ(compatCanvasPixel(window, x + dx, y + dy), colour)
                    << "square of sample " << i << " at (" << x + dx << ", " << y + dy << ")";
            }
        }
    }
};

TEST_F(PreviewTest, AdjustsTheAnchorsEvenWithoutADevice)
{
    // The mouse handling's context has no device: the anchors still move, nothing is written.
    std::vector<int16_t> before = samples;
    plot.hdc = nullptr;
    EXPECT_EQ(preview(0, 59, 6), 1);
    EXPECT_EQ(clickParams.spanStart, 1);
    EXPECT_EQ(clickParams.spanEnd, 58);
    EXPECT_EQ(samples, before);
}

TEST_F(PreviewTest, DrawsTheBlendOverTheControlLinesAndWritesNoSample)
{
    std::vector<int16_t> before = samples;
    plot.zoom = 4; // steeper lines
    ASSERT_EQ(preview(20, 31, 6), 1);
    EXPECT_EQ(samples, before);
    const int32_t half[12] = {1000, 901, 767, 617, 458, 294, 128, -36, -197, -351, -491, -599};
    for (int32_t k = 0; k < 12; k++)
        expectSquare(20 + k, half[k], PREVIEW);
    EXPECT_EQ(count(PREVIEW), 12 * 4) << "twelve squares of four pixels, none overlapping here";
    // P0 -> P1 = (22.4.., 1024.4..) and P3 -> P2 = (28.5.., -563.3..), truncated and mapped.
    int32_t x0 = sampleToX(plot, 20), y0 = valueToY(1000, plot.client, plot.zoom);
    int32_t x1 = sampleToX(plot, 22), y1 = valueToY(1024, plot.client, plot.zoom);
    int32_t x3 = sampleToX(plot, 31), y3 = valueToY(-600, plot.client, plot.zoom);
    int32_t x2 = sampleToX(plot, 28), y2 = valueToY(-563, plot.client, plot.zoom);
    EXPECT_GT(count(CONTROL), 0) << "the span qualifies, so its control lines are drawn";
    std::vector<uint32_t> pixels = canvas();
    for (int32_t y = 0; y < 200; y++) {
        for (int32_t x = 0; x < 400; x++) {
            if (pixels[(size_t)y * 400 + (size_t)x] != CONTROL)
                continue;
            bool onLeft = within(x, x0, x1) && within(y, y0, y1);
            bool onRight = within(x, x2, x3) && within(y, y2, y3);
            EXPECT_TRUE(onLeft || onRight) << "control pixel (" << x << ", " << y << ") lies off both lines";
        }
    }
    // Both lines start under an anchor's square: the squares come after the lines.
    EXPECT_EQ(compatCanvasPixel(window, x0, y0), PREVIEW);
    EXPECT_EQ(compatCanvasPixel(window, x3, y3), PREVIEW);
}

TEST_F(PreviewTest, SpansThatFallBackToTheLineDrawNoControlLines)
{
    struct Row {
        int32_t start, end;
    } rows[] = {{20, 25}, {3, 20}, {20, 56}};
    for (const Row &r : rows) {
        plot.firstSample = 0;
        plot.lastSample = 60;
        plot.visibleCount = 61;
        freshCanvas();
        ASSERT_EQ(preview(r.start, r.end, 0), 1);
        EXPECT_EQ(count(CONTROL), 0) << r.start << ".." << r.end;
        EXPECT_GT(count(PREVIEW), 0) << r.start << ".." << r.end;
        for (int32_t k = 0; k <= r.end - r.start; k++)
            expectSquare(r.start + k, lineBridge[k], PREVIEW);
    }
}

TEST_F(PreviewTest, PenFailuresSkipTheControlLinesOrFallBackToWhite)
{
    // The first pen of a qualifying span is the control lines': without it they are left out.
    compatFailNextCreatePen();
    ASSERT_EQ(preview(20, 31, 12), 1);
    EXPECT_EQ(count(CONTROL), 0);
    expectSquare(20, 1000, PREVIEW);
    expectSquare(31, -599, PREVIEW);
    // A line-only span creates just the squares' pen: without it the squares are white.
    compatFailNextCreatePen();
    ASSERT_EQ(preview(40, 44, 12), 1);
    for (int32_t k = 0; k <= 4; k++)
        expectSquare(40 + k, lineBridge[k], WHITE);
}

TEST_F(PreviewTest, LeavesTheDeviceWithItsOwnPenAndBrush)
{
    HPEN mine = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ oldPen = SelectObject(dc, mine);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(GRAY_BRUSH));
    ASSERT_EQ(preview(20, 31, 0), 1);
    Rectangle(dc, 300, 10, 305, 15);
    EXPECT_EQ(compatCanvasPixel(window, 300, 10), RGB(1, 2, 3)) << "the outline is drawn with my pen";
    EXPECT_EQ(compatCanvasPixel(window, 302, 12), 0x00808080u) << "the inside is my brush";
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(mine);
}

TEST_F(PreviewTest, EmptyOrRefusedSpansDrawNothing)
{
    std::vector<uint32_t> blank = canvas();
    EXPECT_EQ(preview(31, 20, 6), 1) << "start after end";
    EXPECT_EQ(canvas(), blank);
    EXPECT_EQ(preview(2, 40, 6), 1);
    EXPECT_NE(canvas(), blank);
    std::vector<uint32_t> drawn = canvas();
    std::vector<int16_t> longer = noiseSignal(400, 3, 20000);
    clickParams.spanStart = 10;
    clickParams.spanEnd = 331;
    EXPECT_EQ(previewRepair(plot, longer.data(), 400, clickParams), 0) << "L = 321";
    EXPECT_EQ(canvas(), drawn);
    EXPECT_EQ(count(FACE) + count(PREVIEW) + count(CONTROL), 400 * 200);
}

} // namespace
