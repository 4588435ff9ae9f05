// The repair drawn as a preview in the waveform view: the curve's two control lines and the blended
// bridge as small squares, from the same bridges and curve points the repair writes. Every pen it
// creates is deleted before it returns, and the device's pen and brush are selected back; it keeps no
// state of its own.
#include <cstdint>
#include "plot_context.h"
#include "repair/repair.h"

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
