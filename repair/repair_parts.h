// Pieces the repair's own files share: the four points of the Bezier bridge, the blend of the two
// bridges, the bound checks on anchors, and the two drawing steps of a preview. Only repair/ includes
// this header; it brings in no platform header, so the numeric files stay free of Win32.
#pragma once
#include <cstdint>

struct PlotContext;

// The control points of the curve bridge, as (sample index, sample value) pairs in double precision.
struct CurvePoints {
    double p0x, p0y;  // start anchor (spanStart, its value)
    double p1x, p1y;  // left handle, right of the start anchor
    double p2x, p2y;  // right handle, left of the end anchor
    double p3x, p3y;  // end anchor (spanEnd, its value)
};

// True when index lies at or beyond sampleCount - back, reckoned without unsigned wrap-around: when
// the buffer is shorter than back, every index counts as beyond. No module state.
inline bool indexAtOrBeyond(uint32_t index, uint32_t sampleCount, uint32_t back)
{
    return sampleCount < back || index >= sampleCount - back;
}

// The blended value of one entry: (lineBezier x line + (12 - lineBezier) x curve) / 12, truncating
// toward zero with no rounding term. No module state.
inline int32_t blendBridges(int32_t lineBezier, int32_t line, int32_t curve)
{
    return (lineBezier * line + (12 - lineBezier) * curve) / 12;
}

// Draws the curve's two control lines, P0 to P1 and P3 to P2, in the control-line colour; draws
// nothing when the device is null or the pen cannot be created. Leaves the device's pen as it found it.
void drawControlLines(const PlotContext &plot, const CurvePoints &points);

// Draws the blended bridge of samples spanStart..spanEnd as 2 by 2 squares in the preview colour (the
// stock white pen when that pen cannot be created) with the white brush, from lineBridge and
// curveBridge (read). Restores the device's pen and brush and deletes the pen it created.
void drawRepairPreview(const PlotContext &plot, int32_t lineBezier, uint32_t spanStart, uint32_t spanEnd);
