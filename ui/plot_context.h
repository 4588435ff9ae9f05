// PlotContext: the waveform view's device and scale; the view's mappings between samples, values and
// pixels; and the repair's preview drawn through them.
#pragma once
#include <cstdint>
#include "plugin/click_params.h"
#include "plugin/platform.h"

struct PlotContext {
    HDC hdc;                // where to draw; null in the context the mouse handling builds
    int32_t firstSample;    // first buffer index of the shown stretch
    int32_t lastSample;     // end of the shown stretch (may be sampleCount, one past the buffer)
    int32_t visibleCount;   // lastSample - firstSample + 1, 1..321
    int32_t zoom;           // copy of ClickParams zoom, 1..12
    RECT client;            // the view's client rectangle; right = width, bottom = height in pixels
};

// Column of sample index i: ((i - firstSample) * width + visibleCount / 2) / visibleCount; not clamped.
int32_t sampleToX(const PlotContext &plot, int32_t index);
// Row of value v at zoom z: ((H - v) * h + H) / (65536 / z), H = 32768 / z, clamped to 0..h.
int32_t valueToY(int32_t value, const RECT &client, int32_t zoom);
// Sample under column x: firstSample + (x * visibleCount + width / 2) / width, clamped to the stretch.
int32_t xToSample(const PlotContext &plot, int32_t x);

// Draws the repair of params' span as the view previews it, writing no sample: the curve's control lines
// (spans that qualify for the curve) and the blended bridge as squares, nothing when plot has no device.
// Adjusts the span in params and fills lineBridge and curveBridge exactly as repairSpan does, so the
// markers painted afterwards show the span a repair would write. 1 = drawn (or nothing to draw on, or an
// empty span), 0 = refused as repairSpan refuses. Leaves the device's pen and brush as it found them.
int32_t previewRepair(const PlotContext &plot, const int16_t *samples, uint32_t sampleCount, ClickParams &params);
