// The waveform view through the stand-in: the layers of a paint on the canvas, the markers' columns,
// dragging them with the mouse, the cursors, and what each mouse action invalidates.
#include "review_harness.h"
#include "repair/repair.h"
#include "ui/plot_context.h"
#include "ui/review_rules.h"
#include "ui/review_view.h"

enum : uint32_t {
    BLACK = 0x000000, WHITE = 0xFFFFFF, DKGRAY = 0x404040, START_COLOUR = 0x004080, END_COLOUR = 0x2080FF,
    PREVIEW_COLOUR = 0x40C0FF, CONTROL_LINE_COLOUR = 0xFF8080
};

// The view as the dialog builds it: 268 x 113 dialog units.
static const int W = 268 * 6 / 4, H = 113 * 13 / 8;

static PlotContext contextFor(int32_t candidate, int32_t ptsAround, uint32_t count)
{
    ViewStretch s = viewStretch(candidate, ptsAround, count);
    return {nullptr, s.firstSample, s.lastSample, s.visibleCount, 1, {0, 0, W, H}};
}

static int countColour(HWND view, uint32_t colour, int left = 0, int right = W)
{
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    compatCanvasPixels(view, pixels, w, h);
    int n = 0;
    for (int y = 0; y < h; y++)
        for (int x = left; x < right && x < w; x++)
            n += pixels[(size_t)y * (size_t)w + (size_t)x] == colour ? 1 : 0;
    return n;
}

static HWND viewOf(HWND dialog) { return GetDlgItem(dialog, IDC_WAVE_VIEW); }

TEST_F(ReviewTest, PaintLayersOnTheCanvas)
{
    params.zoom = 1;
    samples[450] = 16384;
    review([&](HWND dialog) {
        HWND view = viewOf(dialog);
        PlotContext plot = contextFor(500, params.ptsAround, 1000);
        ASSERT_EQ(plot.firstSample, 405);
        int32_t d = sampleToX(plot, 500);
        int32_t startX = sampleToX(plot, 490), endX = sampleToX(plot, 510);
        EXPECT_EQ(params.startMarkerX, startX);
        EXPECT_EQ(params.endMarkerX, endX);
        EXPECT_EQ(compatCanvasPixel(view, W - 3, 5), BLACK) << "background";
        EXPECT_EQ(compatCanvasPixel(view, 10, H / 2), WHITE) << "centre line";
        EXPECT_EQ(compatCanvasPixel(view, W - 1, H / 2), WHITE) << "centre line to the right edge";
        // Candidate bar d-2..d+2 with the null pen: filled one short to the right and the bottom.
        EXPECT_EQ(compatCanvasPixel(view, d - 2, 10), DKGRAY) << "candidate bar";
        EXPECT_EQ(compatCanvasPixel(view, d, 10), DKGRAY);
        EXPECT_EQ(compatCanvasPixel(view, d + 1, 10), BLACK);
        EXPECT_EQ(compatCanvasPixel(view, d - 3, 10), BLACK);
        // Position bar: candidate 500 of 1000 reaches the middle of the width.
        int32_t p = (500 * W + 500) / 1000;
        EXPECT_EQ(compatCanvasPixel(view, 1, H - 8), DKGRAY) << "position bar";
        EXPECT_EQ(compatCanvasPixel(view, p - 2, H - 5), DKGRAY);
        EXPECT_EQ(compatCanvasPixel(view, p + 3, H - 5), BLACK);
        EXPECT_EQ(compatCanvasPixel(view, 0, H - 5), BLACK);
        EXPECT_EQ(compatCanvasPixel(view, 10, H - 3), BLACK);
        // Dotted markers: three on, three off, the gaps left as they were.
        EXPECT_EQ(compatCanvasPixel(view, startX, 12), START_COLOUR) << "start marker";
        EXPECT_EQ(compatCanvasPixel(view, startX, 15), BLACK) << "gap of the start marker";
        EXPECT_EQ(compatCanvasPixel(view, endX, 12), END_COLOUR) << "end marker";
        EXPECT_EQ(compatCanvasPixel(view, endX, 16), BLACK);
        // Waveform: the sample at 450 as a white 2 x 2 square, the line down from it.
        int32_t x = sampleToX(plot, 450), y = valueToY(16384, plot.client, 1);
        for (int dy = -1; dy <= 0; dy++)
            for (int dx = -1; dx <= 0; dx++)
                EXPECT_EQ(compatCanvasPixel(view, x + dx, y + dy), WHITE) << "square at " << dx << "," << dy;
        EXPECT_EQ(compatCanvasPixel(view, x + 1, y - 2), BLACK);
        // The preview: squares only over the span's columns, over everything else.
        EXPECT_GT(countColour(view, PREVIEW_COLOUR, startX - 1, endX + 1), 20);
        EXPECT_EQ(countColour(view, PREVIEW_COLOUR, 0, startX - 1) + countColour(view, PREVIEW_COLOUR, endX + 1, W),
                  0);
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, PreviewControlLinesOverASlope)
{
    for (size_t i = 0; i < samples.size(); i++)
        samples[i] = (int16_t)((int32_t)(i % 200) * 100 - 10000);
    params.lineBezier = 0;
    review([&](HWND dialog) {
        EXPECT_GT(countColour(viewOf(dialog), CONTROL_LINE_COLOUR), 0) << "the curve's control lines";
        EXPECT_GT(countColour(viewOf(dialog), PREVIEW_COLOUR), 0);
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, MarkersOutsideTheStretch)
{
    params.spanStart = 300; // before firstSample 405
    params.spanEnd = 700;   // after lastSample 595
    review([&](HWND dialog) {
        EXPECT_EQ(params.startMarkerX, 0);
        EXPECT_EQ(params.endMarkerX, 0);
        EXPECT_EQ(countColour(viewOf(dialog), START_COLOUR) + countColour(viewOf(dialog), END_COLOUR), 0);
        click(dialog, ID_CLOSE);
    });
    params.spanStart = 650; // after the stretch: drawn at its column outside the view, and stored
    params.spanEnd = 100;
    review([&](HWND dialog) {
        PlotContext plot = contextFor(500, params.ptsAround, 1000);
        EXPECT_EQ(params.startMarkerX, sampleToX(plot, 650));
        EXPECT_GT(params.startMarkerX, W);
        EXPECT_EQ(params.endMarkerX, sampleToX(plot, 100));
        EXPECT_LT(params.endMarkerX, 0);
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, MarkersFallBackToTheWhitePen)
{
    compatFailNextCreatePen();
    review([&](HWND dialog) {
        HWND view = viewOf(dialog);
        EXPECT_EQ(compatCanvasPixel(view, params.startMarkerX, 12), WHITE) << "start pen could not be created";
        EXPECT_EQ(compatCanvasPixel(view, params.endMarkerX, 12), END_COLOUR);
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, NoDeviceContextNoPaint)
{
    review([&](HWND dialog) {
        HWND view = viewOf(dialog);
        const int32_t startX = params.startMarkerX, endX = params.endMarkerX;
        compatFailNextGetDC();
        InvalidateRect(view, nullptr, TRUE);
        compatPumpPaints();
        EXPECT_EQ(params.startMarkerX, 0) << "no marker was drawn";
        EXPECT_EQ(params.endMarkerX, 0);
        SendMessageA(view, WM_LBUTTONDOWN, 0, mouseAt(endX, 5));
        EXPECT_EQ(dragMarker, 0) << "a marker the view could not draw is not grabbed where it was";
        SendMessageA(view, WM_LBUTTONUP, 0, mouseAt(endX, 5));
        InvalidateRect(view, nullptr, TRUE);
        compatPumpPaints();
        EXPECT_EQ(params.startMarkerX, startX) << "the next paint draws and stores them again";
        EXPECT_EQ(params.endMarkerX, endX);
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, DraggingTheStartMarker)
{
    review([&](HWND dialog) {
        HWND view = viewOf(dialog);
        PlotContext plot = contextFor(500, params.ptsAround, 1000);
        int32_t x = params.startMarkerX;
        compatClearInvalidations();
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(x + 2, 50));
        EXPECT_EQ(compatCursorId(compatCurrentCursor()), 32644) << "sizing cursor over the marker";
        SendMessageA(view, WM_LBUTTONDOWN, 0, mouseAt(x + 1, 50));
        EXPECT_EQ(dragMarker, 1);
        EXPECT_EQ(GetCapture(), view);
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(sampleToX(plot, 480), 50));
        EXPECT_EQ(params.spanStart, 480);
        ASSERT_EQ(compatInvalidations().size(), 1u);
        RECT strip = compatInvalidations()[0].rect;
        EXPECT_EQ(strip.left, sampleToX(plot, 480) - 2);
        EXPECT_EQ(strip.right, sampleToX(plot, 490) + 3);
        EXPECT_EQ(strip.bottom, H);
        EXPECT_TRUE(compatInvalidations()[0].erase);
        // Onto and past the end marker: it stops one before the end.
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(sampleToX(plot, 530), 50));
        EXPECT_EQ(params.spanStart, 509);
        // A move to the same sample changes nothing and invalidates nothing.
        compatClearInvalidations();
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(sampleToX(plot, 530) + 1, 50));
        EXPECT_EQ(params.spanStart, 509);
        EXPECT_TRUE(compatInvalidations().empty());
        // Far left of the view while captured: pinned at the first sample.
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(-40, 50));
        EXPECT_EQ(params.spanStart, plot.firstSample);
        compatClearInvalidations();
        SendMessageA(view, WM_LBUTTONUP, 0, mouseAt(-40, 50));
        EXPECT_EQ(dragMarker, 0);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(compatCursorId(compatCurrentCursor()), 32512);
        ASSERT_EQ(compatInvalidations().size(), 1u);
        EXPECT_TRUE(compatInvalidations()[0].whole);
        EXPECT_FALSE(compatInvalidations()[0].erase);
        compatPumpPaints();
        EXPECT_EQ(params.startMarkerX, sampleToX(plot, plot.firstSample));
        click(dialog, ID_REPAIR);
    });
    EXPECT_EQ(params.spanStart, 405) << "the dragged span stays in the settings";
}

TEST_F(ReviewTest, DraggingTheEndMarkerBeyondTheBuffer)
{
    params.spanStart = 985;
    params.spanEnd = 990;
    review(
        [&](HWND dialog) {
            HWND view = viewOf(dialog);
            PlotContext plot = contextFor(990, params.ptsAround, 1000);
            EXPECT_EQ(plot.lastSample, 1000);
            SendMessageA(view, WM_LBUTTONDOWN, 0, mouseAt(params.endMarkerX, 5));
            EXPECT_EQ(dragMarker, 2);
            SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(W + 50, 5));
            EXPECT_EQ(params.spanEnd, 1000) << "pinned at the last slot, one past the buffer";
            compatPumpPaints();
            EXPECT_EQ(params.spanEnd, 998) << "the preview pulls the end back inside the buffer";
            // Back onto the start: the end stays one after it.
            SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(0, 5));
            EXPECT_EQ(params.spanEnd, 986);
            SendMessageA(view, WM_LBUTTONUP, 0, mouseAt(0, 5));
            click(dialog, ID_CLOSE);
        },
        990);
}

TEST_F(ReviewTest, PressesOffAndOnMarkers)
{
    review([&](HWND dialog) {
        HWND view = viewOf(dialog);
        int32_t startX = params.startMarkerX, endX = params.endMarkerX;
        compatClearInvalidations();
        // Elsewhere: captured until the release, nothing invalidated, no drag.
        SendMessageA(view, WM_LBUTTONDOWN, 0, mouseAt(startX + 20, 5));
        EXPECT_EQ(dragMarker, 0);
        EXPECT_EQ(GetCapture(), view);
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(startX + 25, 5));
        SendMessageA(view, WM_LBUTTONUP, 0, mouseAt(startX + 25, 5));
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_TRUE(compatInvalidations().empty());
        EXPECT_EQ(params.spanStart, 490);
        // On the end marker without moving: the whole view once.
        SendMessageA(view, WM_LBUTTONDOWN, 0, mouseAt(endX - 2, 5));
        EXPECT_EQ(dragMarker, 2);
        SendMessageA(view, WM_LBUTTONUP, 0, mouseAt(endX - 2, 5));
        ASSERT_EQ(compatInvalidations().size(), 1u);
        EXPECT_TRUE(compatInvalidations()[0].whole);
        // Still over a marker after the release: the next move shows the sizing cursor again.
        EXPECT_EQ(compatCursorId(compatCurrentCursor()), 32512);
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(endX, 5));
        EXPECT_EQ(compatCursorId(compatCurrentCursor()), 32644);
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(endX + 40, 5));
        EXPECT_EQ(compatCursorId(compatCurrentCursor()), 32512);
        EXPECT_EQ(sizingCursorShown, 0);
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, StartMarkerNotDrawnIsGrabbedAtColumnZero)
{
    params.spanStart = 300;
    review([&](HWND dialog) {
        HWND view = viewOf(dialog);
        PlotContext plot = contextFor(500, params.ptsAround, 1000);
        EXPECT_EQ(params.startMarkerX, 0);
        SendMessageA(view, WM_LBUTTONDOWN, 0, mouseAt(2, 5));
        EXPECT_EQ(dragMarker, 1);
        SendMessageA(view, WM_MOUSEMOVE, 0, mouseAt(sampleToX(plot, 420), 5));
        EXPECT_EQ(params.spanStart, 420) << "the first move brings the start to the pointer";
        SendMessageA(view, WM_LBUTTONUP, 0, mouseAt(2, 5));
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, BothMarkersCloseTheStartWins)
{
    params.spanStart = 499;
    params.spanEnd = 500;
    review([&](HWND dialog) {
        ASSERT_LT(params.endMarkerX - params.startMarkerX, 3);
        SendMessageA(viewOf(dialog), WM_LBUTTONDOWN, 0, mouseAt(params.endMarkerX, 5));
        EXPECT_EQ(dragMarker, 1);
        SendMessageA(viewOf(dialog), WM_LBUTTONUP, 0, mouseAt(params.endMarkerX, 5));
        click(dialog, ID_CLOSE);
    });
}
