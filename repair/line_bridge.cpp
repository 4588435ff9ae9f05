// The straight-line bridge between the two anchors of a click span. Pure arithmetic over the
// caller's buffer; writes only the output array it is given and keeps no state.
#include <cstdint>
#include "repair.h"
#include "repair_parts.h"

int32_t buildLineBridge(const int16_t *samples, uint32_t sampleCount, const ClickParams &params, int16_t *out)
{
    // Anchors are buffer indices compared as unsigned: a (never expected) negative anchor reads as a
    // huge index and is refused or gives an empty span, never a read before the buffer.
    uint32_t first = (uint32_t)params.spanStart;
    uint32_t last = (uint32_t)params.spanEnd;
    if (first == 0 || indexAtOrBeyond(last, sampleCount, 1))
        return 0;
    if (first > last)
        return 1;
    int32_t length = (int32_t)(last - first);
    if (length > MAX_SPAN_LENGTH)
        return 0;
    int32_t startValue = samples[first];
    out[0] = (int16_t)startValue;
    if (length == 0)
        return 1; // a one-sample span keeps its value; there is no slope to divide
    int32_t delta = (int32_t)samples[last] - startValue;
    int32_t half = length / 2;
    // Truncating, not flooring: a falling line ends one above its end anchor, and stored spans rely on it.
    for (int32_t k = 1; k <= length; k++)
        out[k] = (int16_t)(startValue + (delta * k + half) / length);
    return 1;
}
