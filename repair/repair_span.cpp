// Repair of a click span: adjusts the anchors, builds the line and the curve bridge, and writes their
// blend into the samples. Owns the two scratch arrays of the bridges, which live as long as the module
// and are not cleared between calls; the view's preview reads them after prepareRepair.
#include <cstdint>
#include "repair.h"
#include "repair_parts.h"

int16_t lineBridge[BRIDGE_ENTRIES];
int16_t curveBridge[BRIDGE_ENTRIES];

// Buffers this short are never repaired, not even adjusted.
static const uint32_t MIN_REPAIR_SAMPLES = 23;

// Moves the anchors off the buffer's first and last sample, in place. This is the one place the span
// in ClickParams changes outside the dialog: the next repair, and in the review the markers dragged
// and painted after a preview, see the adjusted span. A start of exactly 0 moves, as stored spans expect.
static void adjustAnchors(uint32_t sampleCount, ClickParams &params)
{
    if (params.spanStart == 0)
        params.spanStart = 1;
    if ((uint32_t)params.spanEnd >= sampleCount - 1)
        params.spanEnd = (int32_t)(sampleCount - 2);
}

int32_t prepareRepair(const int16_t *samples, uint32_t sampleCount, ClickParams &params, CurvePoints &points)
{
    if (sampleCount < MIN_REPAIR_SAMPLES)
        return REPAIR_REFUSED;
    adjustAnchors(sampleCount, params);
    if (!buildLineBridge(samples, sampleCount, params, lineBridge))
        return REPAIR_REFUSED;
    if (!curvePointsFor(samples, sampleCount, params, points)) {
        // The line accepted this span, so the curve's fall-back to the line accepts it too.
        buildLineBridge(samples, sampleCount, params, curveBridge);
        return REPAIR_LINE;
    }
    uint32_t first = (uint32_t)params.spanStart;
    walkCurve(points, first, (int32_t)((uint32_t)params.spanEnd - first), curveBridge);
    return REPAIR_CURVE;
}

int32_t repairSpan(int16_t *samples, uint32_t sampleCount, ClickParams &params)
{
    CurvePoints points;
    if (prepareRepair(samples, sampleCount, params, points) == REPAIR_REFUSED)
        return 0;
    uint32_t first = (uint32_t)params.spanStart;
    uint32_t last = (uint32_t)params.spanEnd;
    // Both bridges accepted the span, so first..last lies inside the buffer and within 320 samples
    // whenever first <= last; otherwise the span is empty and nothing is written.
    if (first > last)
        return 1;
    for (uint32_t k = 0; k <= last - first; k++)
        samples[first + k] = (int16_t)blendBridges(params.lineBezier, lineBridge[k], curveBridge[k]);
    return 1;
}
