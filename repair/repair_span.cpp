// Repair of a click span: adjusts the anchors, builds the line and the curve bridge, and writes their
// blend into the samples, or hands it to the preview drawing when a PlotContext is given. Owns the two
// scratch arrays of the bridges, which live as long as the module and are not cleared between calls.
#include <cstdint>
#include "repair.h"
#include "repair_parts.h"

int16_t lineBridge[BRIDGE_ENTRIES];
int16_t curveBridge[BRIDGE_ENTRIES];

// Buffers this short are never repaired, not even adjusted.
static const uint32_t MIN_REPAIR_SAMPLES = 23;

// Moves the anchors off the buffer's first and last sample, in place; the view and the next repair
// see the adjusted span. A start of exactly 0 moves, as stored spans expect.
static void adjustAnchors(uint32_t sampleCount, ClickParams &params)
{
    if (params.spanStart == 0)
        params.spanStart = 1;
    if ((uint32_t)params.spanEnd >= sampleCount - 1)
        params.spanEnd = (int32_t)(sampleCount - 2);
}

int32_t repairSpan(int16_t *samples, uint32_t sampleCount, ClickParams &params, const PlotContext *plot)
{
    if (sampleCount < MIN_REPAIR_SAMPLES)
        return 0;
    adjustAnchors(sampleCount, params);
    if (!buildLineBridge(samples, sampleCount, params, lineBridge))
        return 0;
    if (!buildCurveBridge(samples, sampleCount, params, curveBridge, plot))
        return 0;
    uint32_t first = (uint32_t)params.spanStart;
    uint32_t last = (uint32_t)params.spanEnd;
    if (plot) {
        drawRepairPreview(*plot, params.lineBezier, first, last);
        return 1;
    }
    // Both bridges accepted the span, so first..last lies inside the buffer and within 320 samples
    // whenever first <= last; otherwise the span is empty and nothing is written.
    if (first > last)
        return 1;
    for (uint32_t k = 0; k <= last - first; k++)
        samples[first + k] = (int16_t)blendBridges(params.lineBezier, lineBridge[k], curveBridge[k]);
    return 1;
}
