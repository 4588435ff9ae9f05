// Repair of a click span: a blend of a straight line and a cubic Bezier curve between the two anchors.
// The numeric half lives here and in repair/ and brings in no platform header; the view's preview
// (previewRepair, ui/view_paint.cpp) draws from the same bridges and the same curve points.
#pragma once
#include <cstdint>
#include "plugin/click_params.h"

enum { BRIDGE_ENTRIES = 322, MAX_SPAN_LENGTH = 320 };

// Scratch arrays of the two bridges; entry k belongs to sample spanStart + k. Module state, kept
// between calls, written by prepareRepair and read by the repair and its preview.
extern int16_t lineBridge[BRIDGE_ENTRIES];
extern int16_t curveBridge[BRIDGE_ENTRIES];

// The control points of the curve bridge, as (sample index, sample value) pairs in double precision.
struct CurvePoints {
    double p0x, p0y;  // start anchor (spanStart, its value)
    double p1x, p1y;  // left handle, right of the start anchor
    double p2x, p2y;  // right handle, left of the end anchor
    double p3x, p3y;  // end anchor (spanEnd, its value)
};

// Results of prepareRepair.
enum { REPAIR_REFUSED = 0, REPAIR_LINE = 1, REPAIR_CURVE = 2 };

// The common first half of a repair and of its preview: refuses buffers under 23 samples, adjusts
// spanStart (0 -> 1) and spanEnd (>= sampleCount - 1 -> sampleCount - 2) in params, then fills
// lineBridge and curveBridge. REPAIR_CURVE when the span qualifies for the curve (points then holds its
// control points), REPAIR_LINE when the curve bridge is the line (points untouched), REPAIR_REFUSED
// (0) for a short buffer or a span the line refuses. Writes no sample.
int32_t prepareRepair(const int16_t *samples, uint32_t sampleCount, ClickParams &params, CurvePoints &points);

// 1 = repaired, 0 = cannot repair (fewer than 23 samples or a span over 320). Adjusts the span in params
// as prepareRepair does, writes samples spanStart..spanEnd and nothing else, and keeps the run's range
// table in step. A start after the end is an empty span (1, nothing written); a one-sample span keeps
// its value.
int32_t repairSpan(int16_t *samples, uint32_t sampleCount, ClickParams &params);

// The blended value of one entry: (lineBezier x line + (12 - lineBezier) x curve) / 12, truncating
// toward zero with no rounding term. No module state.
inline int32_t blendBridges(int32_t lineBezier, int32_t line, int32_t curve)
{
    return (lineBezier * line + (12 - lineBezier) * curve) / 12;
}

// The straight line between the anchors into out[0..L], L = spanEnd - spanStart; 1 = built (also for
// an empty span, which writes nothing), 0 = refused (a start of 0, an end at or beyond sampleCount - 1,
// L over 320). Anchors are compared as unsigned. No module state.
int32_t buildLineBridge(const int16_t *samples, uint32_t sampleCount, const ClickParams &params, int16_t *out);

// The curve's control points for params' span: 1 when the span qualifies for the curve (start above 3,
// end before sampleCount - 4, L within 6..320), 0 when it does not (points untouched). No module state.
int32_t curvePointsFor(const int16_t *samples, uint32_t sampleCount, const ClickParams &params,
                       CurvePoints &points);

// The Bezier curve into out[0..L] (the line for spans that do not qualify); 1 = built, 0 = refused as
// the line refuses. No module state.
int32_t buildCurveBridge(const int16_t *samples, uint32_t sampleCount, const ClickParams &params, int16_t *out);
