// Painting the waveform view: every layer of the picture, bottom to top, through a device context of
// the view's window, with the drawing objects created and deleted within the one paint.
#include "repair/repair.h"
#include "review_view.h"

enum : COLORREF {
    START_MARKER_COLOUR = 0x00004080u, // RGB(128, 64, 0)
    END_MARKER_COLOUR = 0x002080FFu    // RGB(255, 128, 32)
};

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
    repairSpan(request.samples, request.sampleCount, params, &plot);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    ReleaseDC(view, dc);
}
