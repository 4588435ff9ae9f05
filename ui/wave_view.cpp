// The waveform view's procedure and mouse handling: hit test, cursor, dragging the span markers and
// invalidating what a drag changes. Owns the module state dragMarker and sizingCursorShown.
#include "review_rules.h"
#include "review_view.h"

int32_t dragMarker = 0;
int32_t sizingCursorShown = 0;

void resetViewState()
{
    dragMarker = 0;
    sizingCursorShown = 0;
}

PlotContext viewContext(HWND view, HDC dc)
{
    PlotContext plot = {};
    plot.hdc = dc;
    RECT client = {0, 0, 0, 0};
    if (GetClientRect(view, &client))
        plot.client = client;
    ViewStretch stretch = viewStretch(activeRequest->candidate, activeRequest->params->ptsAround,
                                      activeRequest->sampleCount);
    plot.firstSample = stretch.firstSample;
    plot.lastSample = stretch.lastSample;
    plot.visibleCount = stretch.visibleCount;
    return plot;
}

LRESULT CALLBACK waveViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcA(viewOldProc, view, message, wParam, lParam);
    if (!activeRequest)
        return result;
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK)
        handleViewMouse(view, message, (int16_t)LOWORD(lParam)); // x is signed while captured
    else if (message == WM_PAINT)
        paintWaveView(view);
    return result;
}

int32_t hitTestMarker(int32_t x)
{
    const ClickParams &params = *activeRequest->params;
    return markerHit(x, params.startMarkerX, params.endMarkerX);
}

void setViewCursor(HWND view, HCURSOR cursor)
{
    SetClassLongPtrA(view, GCLP_HCURSOR, (LONG_PTR)cursor);
    SetCursor(cursor);
}

void invalidateMarkerStrip(HWND view, const PlotContext &plot, int32_t a, int32_t b)
{
    int32_t xa = sampleToX(plot, a);
    int32_t xb = sampleToX(plot, b);
    RECT strip;
    strip.left = (xa < xb ? xa : xb) - 2;
    strip.right = (xa > xb ? xa : xb) + 3;
    strip.top = 0;
    strip.bottom = plot.client.bottom;
    InvalidateRect(view, &strip, TRUE);
}

static void updateCursor(HWND view, int32_t hit)
{
    if (dragMarker != 0 || hit != 0) {
        if (sizingCursorShown == 0) {
            setViewCursor(view, LoadCursorA(nullptr, IDC_SIZEWE));
            sizingCursorShown = 1;
        }
    } else if (sizingCursorShown) {
        setViewCursor(view, LoadCursorA(nullptr, IDC_ARROW));
        sizingCursorShown = 0;
    }
}

static void dragTo(HWND view, int32_t x)
{
    PlotContext plot = viewContext(view, nullptr);
    if (plot.client.right <= 0) // no width to map the pointer on
        return;
    ClickParams &params = *activeRequest->params;
    int32_t s = xToSample(plot, x);
    int32_t moved = 0;
    if (!dragMarkerTo(dragMarker, s, params.spanStart, params.spanEnd, &moved))
        return;
    int32_t old = 0;
    if (dragMarker == 1) {
        old = params.spanStart;
        params.spanStart = moved;
    } else {
        old = params.spanEnd;
        params.spanEnd = moved;
    }
    invalidateMarkerStrip(view, plot, old, moved);
}

void handleViewMouse(HWND view, UINT message, int32_t x)
{
    int32_t hit = hitTestMarker(x);
    updateCursor(view, hit);
    switch (message) {
    case WM_MOUSEMOVE:
        if (dragMarker != 0)
            dragTo(view, x);
        break;
    case WM_LBUTTONDOWN:
        dragMarker = hit;
        SetCapture(view); // also off the markers, until the release
        break;
    case WM_LBUTTONUP:
        ReleaseCapture();
        setViewCursor(view, LoadCursorA(nullptr, IDC_ARROW));
        sizingCursorShown = 0;
        if (dragMarker != 0) {
            dragMarker = 0;
            InvalidateRect(view, nullptr, FALSE); // once more with the final span
        }
        break;
    default:
        break;
    }
}
