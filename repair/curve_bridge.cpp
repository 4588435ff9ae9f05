// The cubic Bezier bridge of a click span: inner control points that continue the signal's slope just
// outside each anchor, a fixed-step walk along the curve that fills one entry per column, and the
// straight line for spans too short or too near the buffer's ends. Pure double-precision arithmetic
// whose exact grouping is part of the result; keeps no state beyond the walk's table of parameter
// values, made at the first walk and never changed.
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

// The largest magnitude among four coordinates, and the largest of three rises or 0; bounds for the
// walk's skip, so they need only be no smaller than the values they stand for.
static double largestMagnitude(double a, double b, double c, double d)
{
    double m = a < 0 ? -a : a;
    double values[3] = {b, c, d};
    for (double v : values) {
        double size = v < 0 ? -v : v;
        if (size > m)
            m = size;
    }
    return m;
}

static double largestRise(double a, double b, double c)
{
    double m = 0.0;
    if (a > m)
        m = a;
    if (b > m)
        m = b;
    if (c > m)
        m = c;
    return m;
}

// The walk: each column gets the curve's value at the first step that lands in it, columns jumped
// over are filled, and the end anchor closes the bridge at out[length].
// Most steps land in a column already written and change nothing, so a step first works out only x
// and compares it with the next column's left edge: truncated x minus first exceeds last exactly when
// x >= first + last + 1, a whole number below 2^53 that the double holds exactly (and x below it,
// negative or not, truncates to no more than first + last). y, the same expression over the same t and
// u, is evaluated only for a step that writes. Once last is length - 1 no column is left between last
// and length: every later step either writes nothing or leaves the walk, so the walk ends there.
//
// Steps that cannot reach the edge are not evaluated at all. The parameter values come from
// walkTimes, made by the walk's own chain of additions, so every evaluated step sees the very t (and u)
// of the step-by-step walk, and a skip moves an index instead of repeating the additions.
// The bound: the exact curve's slope is 3 ((1-t)^2 d1 + 2t(1-t) d2 + t^2 d3) with d1..d3 the rises
// P1x-P0x, P2x-P1x, P3x-P2x, at most 3 max(d1, d2, d3, 0) on 0 <= t < 1, and one addition moves t by at
// most WALK_STEP + 2^-53; so the exact x rises per step by at most risePerStep. An evaluated x lies
// within 2^-49 |P| of the exact curve at its t (eight roundings of size 2^-53 at most along any product
// of the grouping, over terms whose magnitudes sum to at most |P| = max |Pix|), so two evaluations
// differ from the exact rise by at most 2^-48 |P|; rounding allows 2^-39 (|P| + 1). After an evaluated
// step m below the edge, step m + j stays below it while j risePerStep < edge - x_m - rounding, and
// one step less is skipped than that quotient allows, which more than covers the rounding of the
// quotient itself.
static const int32_t WALK_STEPS_MAX = 3211;

// t_0 = 0 and t_n+1 = t_n + WALK_STEP while below 1.0; filled at the first walk and never changed.
// The chain ends within 3212 values: 3211 additions of WALK_STEP reach past 1.0 even if every one
// rounds down.
static double walkTimes[WALK_STEPS_MAX + 1];
static int32_t walkTimeCount = 0;

static void fillWalkTimes()
{
    double t = 0.0;
    int32_t n = 0;
    do {
        walkTimes[n++] = t;
        t = t + WALK_STEP;
    } while (t < 1.0 && n < WALK_STEPS_MAX + 1);
    walkTimeCount = n;
}

void walkCurve(const CurvePoints &p, uint32_t first, int32_t length, int16_t *out)
{
    out[0] = (int16_t)p.p0y;
    int32_t last = 0;
    double reach = largestMagnitude(p.p0x, p.p1x, p.p2x, p.p3x) + 1.0;
    double rounding = reach * 0x1p-39;
    double rise = largestRise(p.p1x - p.p0x, p.p2x - p.p1x, p.p3x - p.p2x) + 1e-3 + reach * 0x1p-39;
    double risePerStep = 3.0 * rise * (WALK_STEP * 1.001);
    double nextEdge = (double)((int64_t)first + 1);
    if (walkTimeCount == 0)
        fillWalkTimes();
    int32_t step = 0;
    for (;;) {
        double t = walkTimes[step];
        double u = 1 - t;
        // This grouping, left to right, is the one both builds must evaluate.
        double x = u * u * (3 * t * p.p1x + u * p.p0x) + t * t * (3 * u * p.p2x + t * p.p3x);
        if (x >= nextEdge) {
            int64_t column = (int64_t)x - (int64_t)first;
            if (column >= length)
                break;
            int32_t k = (int32_t)column;
            double y = u * u * (3 * t * p.p1y + u * p.p0y) + t * t * (3 * u * p.p2y + t * p.p3y);
            if (y > 32767.0)
                y = 32767.0;
            if (y < -32767.0)
                y = -32767.0;
            int32_t value = (int32_t)y;
            out[k] = (int16_t)value;
            if (k > last + 1)
                fillBetween(out, last, k, value);
            last = k;
            if (last >= length - 1)
                break;
            nextEdge = (double)((int64_t)first + last + 1);
        }
        double stepsBelow = (nextEdge - x - rounding) / risePerStep;
        int32_t skip = 0;
        if (stepsBelow >= (double)WALK_STEPS_MAX)
            skip = WALK_STEPS_MAX;
        else if (stepsBelow >= 2.0)
            skip = (int32_t)stepsBelow - 1;
        step += 1 + skip;
        if (step >= walkTimeCount)
            break;
    }
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
