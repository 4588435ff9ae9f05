// Painting the waveform view: the mappings between samples, values and pixels (integer arithmetic
// with truncating division throughout, so that both builds put every pixel in the same place), every
// layer of the picture bottom to top, and the repair's preview drawn from the same bridges and curve
// points the repair writes. Drawing objects are created and deleted within the one paint, and the
// device's pen and brush are selected back; no state of its own.
#include <cstdint>
#include "plot_context.h"
#include "repair/repair.h"
#include "review_rules.h"
#include "review_view.h"

// ---- Mappings

int32_t sampleToX(const PlotContext &plot, int32_t index)
{
    return ((index - plot.firstSample) * plot.client.right + plot.visibleCount / 2) / plot.visibleCount;
}

int32_t valueToY(int32_t value, const RECT &client, int32_t zoom)
{
    int32_t half = 32768 / zoom;
    int32_t full = 65536 / zoom;
    int32_t y = ((half - value) * client.bottom + half) / full;
    if (y < 0)
        return 0;
    if (y > client.bottom)
        return client.bottom;
    return y;
}

int32_t xToSample(const PlotContext &plot, int32_t x)
{
    int32_t width = plot.client.right;
    int32_t s = plot.firstSample + (x * plot.visibleCount + width / 2) / width;
    if (s < plot.firstSample)
        return plot.firstSample;
    if (s > plot.lastSample)
        return plot.lastSample;
    return s;
}

// ---- The repair's preview

static const COLORREF CONTROL_LINE_COLOUR = RGB(128, 128, 255);
static const COLORREF PREVIEW_COLOUR = RGB(255, 192, 64);

// Handles may lie far outside full scale; past +-65536 every zoom already puts a value on the top or
// bottom row, so the bound changes no row and keeps the row arithmetic within 32 bits.
static int32_t rowOfCurveValue(const PlotContext &plot, double value)
{
    if (value > 65536.0)
        value = 65536.0;
    if (value < -65536.0)
        value = -65536.0;
    return valueToY((int32_t)value, plot.client, plot.zoom);
}

// One control line from an anchor to its handle, each coordinate truncated before it is mapped.
static void drawHandleLine(const PlotContext &plot, double fromIndex, double fromValue, double toIndex,
                           double toValue)
{
    MoveToEx(plot.hdc, sampleToX(plot, (int32_t)fromIndex), rowOfCurveValue(plot, fromValue), nullptr);
    LineTo(plot.hdc, sampleToX(plot, (int32_t)toIndex), rowOfCurveValue(plot, toValue));
}

// The curve's two control lines, P0 to P1 and P3 to P2; none when the pen cannot be created.
static void drawControlLines(const PlotContext &plot, const CurvePoints &points)
{
    HPEN pen = CreatePen(PS_SOLID, 1, CONTROL_LINE_COLOUR);
    if (!pen)
        return;
    HGDIOBJ previousPen = SelectObject(plot.hdc, pen);
    drawHandleLine(plot, points.p0x, points.p0y, points.p1x, points.p1y);
    drawHandleLine(plot, points.p3x, points.p3y, points.p2x, points.p2y);
    SelectObject(plot.hdc, previousPen);
    DeleteObject(pen);
}

// The blended bridge of samples spanStart..spanEnd as 2 by 2 squares in the preview colour (the stock
// white pen when that pen cannot be created) with the white brush.
static void drawBridgeSquares(const PlotContext &plot, int32_t lineBezier, uint32_t spanStart, uint32_t spanEnd)
{
    HPEN created = CreatePen(PS_SOLID, 1, PREVIEW_COLOUR);
    HGDIOBJ pen = created ? (HGDIOBJ)created : GetStockObject(WHITE_PEN);
    HGDIOBJ previousPen = SelectObject(plot.hdc, pen);
    HGDIOBJ previousBrush = SelectObject(plot.hdc, GetStockObject(WHITE_BRUSH));
    if (spanStart <= spanEnd) {
        for (uint32_t k = 0; k <= spanEnd - spanStart; k++) {
            int32_t value = blendBridges(lineBezier, lineBridge[k], curveBridge[k]);
            int32_t x = sampleToX(plot, (int32_t)(spanStart + k));
            int32_t y = valueToY(value, plot.client, plot.zoom);
            Rectangle(plot.hdc, x - 1, y - 1, x + 1, y + 1);
        }
    }
    SelectObject(plot.hdc, previousPen);
    SelectObject(plot.hdc, previousBrush);
    if (created)
        DeleteObject(created);
}

int32_t previewRepair(const PlotContext &plot, const int16_t *samples, uint32_t sampleCount, ClickParams &params)
{
    // prepareRepair moves the anchors off the buffer's ends in params, as the repair itself would; the
    // markers are dragged and painted from that adjusted span afterwards, so the preview keeps it.
    CurvePoints points;
    int32_t shape = prepareRepair(samples, sampleCount, params, points);
    if (shape == REPAIR_REFUSED)
        return 0;
    // A context without a device has nothing to draw on; the anchors have still moved.
    if (!plot.hdc)
        return 1;
    if (shape == REPAIR_CURVE)
        drawControlLines(plot, points);
    drawBridgeSquares(plot, params.lineBezier, (uint32_t)params.spanStart, (uint32_t)params.spanEnd);
    return 1;
}

// ---- The whole view

static void drawBars(HDC dc, const PlotContext &plot, const ReviewRequest &request)
{
    int32_t w = plot.client.right, h = plot.client.bottom;
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(DKGRAY_BRUSH));
    int32_t d = sampleToX(plot, request.candidate);
    Rectangle(dc, d - 2, 0, d + 2, h);
    // candidate * w overflows 32 bits for selections beyond about five million samples.
    int64_t count = (int64_t)request.sampleCount;
    int32_t p = (int32_t)(((int64_t)request.candidate * w + count / 2) / count);
    Rectangle(dc, 1, h - 8, p, h - 3);
}

static void drawMarkers(HDC dc, const PlotContext &plot, ClickParams &params)
{
    int32_t h = plot.client.bottom;
    HGDIOBJ white = GetStockObject(WHITE_PEN);
    HPEN startPen = CreatePen(PS_DOT, 1, START_MARKER_COLOUR);
    HPEN endPen = CreatePen(PS_DOT, 1, END_MARKER_COLOUR);
    SelectObject(dc, startPen ? startPen : white);
    if (params.spanStart < plot.firstSample) {
        params.startMarkerX = 0;
    } else {
        int32_t x = sampleToX(plot, params.spanStart);
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, h);
        params.startMarkerX = x;
    }
    SelectObject(dc, endPen ? endPen : white);
    if (params.spanEnd > plot.lastSample) {
        params.endMarkerX = 0;
    } else {
        int32_t x = sampleToX(plot, params.spanEnd);
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, h);
        params.endMarkerX = x;
    }
    if (startPen || endPen) {
        SelectObject(dc, white);
        if (startPen)
            DeleteObject(startPen);
        if (endPen)
            DeleteObject(endPen);
    }
}

static void drawWaveform(HDC dc, const PlotContext &plot, const ReviewRequest &request)
{
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SelectObject(dc, GetStockObject(GRAY_BRUSH));
    const int16_t *samples = request.samples;
    MoveToEx(dc, sampleToX(plot, plot.firstSample), valueToY(samples[plot.firstSample], plot.client, plot.zoom),
             nullptr);
    // The slot of lastSample stays empty: it may lie one past the buffer.
    for (int32_t i = plot.firstSample + 1; i < plot.lastSample; i++) {
        int32_t x = sampleToX(plot, i);
        int32_t y = valueToY(samples[i], plot.client, plot.zoom);
        LineTo(dc, x, y);
        Rectangle(dc, x - 1, y - 1, x + 1, y + 1);
    }
}

void paintWaveView(HWND view)
{
    ReviewRequest &request = *activeRequest;
    ClickParams &params = *request.params;
    HDC dc = GetDC(view);
    if (!dc) {
        // Nothing was drawn, so no marker is where the last paint put it: the hit test must not
        // grab one the user cannot see.
        params.startMarkerX = 0;
        params.endMarkerX = 0;
        return;
    }
    PlotContext plot = viewContext(view, dc);
    plot.zoom = params.zoom;
    int32_t w = plot.client.right, h = plot.client.bottom;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    SetBkMode(dc, TRANSPARENT); // the gaps of the dotted markers stay unpainted
    Rectangle(dc, 0, 0, w, h);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, 0, h / 2, nullptr);
    LineTo(dc, w, h / 2);
    drawBars(dc, plot, request);
    drawMarkers(dc, plot, params);
    drawWaveform(dc, plot, request);
    previewRepair(plot, request.samples, request.sampleCount, params);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    ReleaseDC(view, dc);
}
