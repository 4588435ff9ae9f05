// The cubic Bezier bridge of a click span: inner control points that continue the signal's slope just
// outside each anchor, a fixed-step walk along the curve that fills one entry per column, and the
// straight line for spans too short or too near the buffer's ends. Pure double-precision arithmetic
// whose exact grouping is part of the result; keeps no state.
#include <cstdint>
#include "repair.h"
#include "repair_parts.h"

// 1/9 and 1/3210 as the doubles nearest to them; products with these, not quotients, keep the result.
static const double HANDLE_SCALE = 0.1111111111111111;
static const double WALK_STEP = 0.00031152647975077883;

// True when the span has three samples either side beyond its anchors and a length of 6..320.
static bool spanQualifiesForCurve(uint32_t first, uint32_t last, uint32_t sampleCount)
{
    if (first <= 3 || indexAtOrBeyond(last, sampleCount, 4) || first > last)
        return false;
    uint32_t length = last - first;
    return length >= 6 && length <= (uint32_t)MAX_SPAN_LENGTH;
}

// The anchors and the two handles, each handle the mean of the three samples beyond its anchor
// reflected through the anchor, then stretched by length / 9 when that exceeds 1.
static CurvePoints curveHandles(const int16_t *samples, uint32_t first, uint32_t last)
{
    CurvePoints p;
    p.p0x = (double)first;
    p.p0y = (double)samples[first];
    p.p3x = (double)last;
    p.p3y = (double)samples[last];
    int32_t leftSum = (int32_t)samples[first - 3] + samples[first - 2] + samples[first - 1];
    int32_t rightSum = (int32_t)samples[last + 1] + samples[last + 2] + samples[last + 3];
    double leftMean = leftSum / 3.0;
    double rightMean = rightSum / 3.0;
    // Reflected as P0 + (P0 - M), not 2 P0 - M: the two differ in the last bit.
    p.p1x = p.p0x + (p.p0x - (p.p0x - 2.0));
    p.p1y = p.p0y + (p.p0y - leftMean);
    p.p2x = p.p3x + (p.p3x - (p.p3x + 2.0));
    p.p2y = p.p3y + (p.p3y - rightMean);
    double scale = (double)(last - first) * HANDLE_SCALE;
    if (scale > 1.0) {
        p.p1x = p.p0x + scale * (p.p1x - p.p0x);
        p.p1y = p.p0y + scale * (p.p1y - p.p0y);
        p.p2x = p.p3x + scale * (p.p2x - p.p3x);
        p.p2y = p.p3y + scale * (p.p2y - p.p3y);
    }
    return p;
}

// Fills out[from+1 .. to-1] on the straight way from out[from] to value, truncating toward zero.
static void fillBetween(int16_t *out, int32_t from, int32_t to, int32_t value)
{
    int32_t base = out[from];
    for (int32_t j = from + 1; j < to; j++)
        out[j] = (int16_t)(base + (value - base) * (j - from) / (to - from));
}

// The walk: each column gets the curve's value at the first step that lands in it, columns jumped
// over are filled, and the end anchor closes the bridge at out[length].
void walkCurve(const CurvePoints &p, uint32_t first, int32_t length, int16_t *out)
{
    out[0] = (int16_t)p.p0y;
    int32_t last = 0;
    double t = 0.0;
    do {
        double u = 1 - t;
        // This grouping, left to right, is the one both builds must evaluate.
        double x = u * u * (3 * t * p.p1x + u * p.p0x) + t * t * (3 * u * p.p2x + t * p.p3x);
        double y = u * u * (3 * t * p.p1y + u * p.p0y) + t * t * (3 * u * p.p2y + t * p.p3y);
        int64_t column = (int64_t)x - (int64_t)first;
        if (column > last) {
            if (column >= length)
                break;
            int32_t k = (int32_t)column;
            if (y > 32767.0)
                y = 32767.0;
            if (y < -32767.0)
                y = -32767.0;
            int32_t value = (int32_t)y;
            out[k] = (int16_t)value;
            if (k > last + 1)
                fillBetween(out, last, k, value);
            last = k;
        }
        t = t + WALK_STEP;
    } while (t < 1.0);
    int32_t endValue = (int32_t)p.p3y;
    out[length] = (int16_t)endValue;
    if (length > last + 1)
        fillBetween(out, last, length, endValue);
}

int32_t curvePointsFor(const int16_t *samples, uint32_t sampleCount, const ClickParams &params,
                       CurvePoints &points)
{
    uint32_t first = (uint32_t)params.spanStart;
    uint32_t last = (uint32_t)params.spanEnd;
    if (!spanQualifiesForCurve(first, last, sampleCount))
        return 0;
    points = curveHandles(samples, first, last);
    return 1;
}

int32_t buildCurveBridge(const int16_t *samples, uint32_t sampleCount, const ClickParams &params, int16_t *out)
{
    CurvePoints points;
    if (!curvePointsFor(samples, sampleCount, params, points))
        return buildLineBridge(samples, sampleCount, params, out);
    uint32_t first = (uint32_t)params.spanStart;
    walkCurve(points, first, (int32_t)((uint32_t)params.spanEnd - first), out);
    return 1;
}
