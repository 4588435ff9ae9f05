// The review dialog's and the view's pure rules (review_rules.h): scroll steps of the three bars, the
// clamps of the fields read back at the end, the automatic zoom, the marker hit test and the drag
// rules. The zoom bar runs upside down (thumb at the top for zoom 12), so its steps go the other way.
// No module state; the callers pass what they read from the request.
#include "review_rules.h"

struct BarRule {
    int32_t lineStep;   // change for SB_LINEDOWN (negated for SB_LINEUP)
    int32_t pageStep;   // change for SB_PAGEDOWN (negated for SB_PAGEUP)
    int32_t top;        // value for SB_TOP
    int32_t bottom;     // value for SB_BOTTOM
    int32_t low, high;  // clamp
};

static const BarRule barRules[3] = {
    {-1, -4, ZOOM_MAX, ZOOM_MIN, ZOOM_MIN, ZOOM_MAX},
    {1, 4, BLEND_MIN, BLEND_MAX, BLEND_MIN, BLEND_MAX},
    {1, 20, WIDTH_MIN, WIDTH_MAX, WIDTH_MIN, WIDTH_MAX},
};

int32_t scrollStep(int32_t bar, int32_t current, int32_t code, int32_t thumb, int32_t *value)
{
    if (bar < SCROLL_ZOOM || bar > SCROLL_WIDTH || code < 0 || code > 7)
        return 0;
    const BarRule &rule = barRules[bar];
    int32_t next = current;
    switch (code) {
    case 0: next = current - rule.lineStep; break;
    case 1: next = current + rule.lineStep; break;
    case 2: next = current - rule.pageStep; break;
    case 3: next = current + rule.pageStep; break;
    case 4:
    case 5: next = bar == SCROLL_ZOOM ? zoomBarPosition(thumb) : thumb; break;
    case 6: next = rule.top; break;
    default: next = rule.bottom; break;
    }
    if (next < rule.low)
        next = rule.low;
    if (next > rule.high)
        next = rule.high;
    *value = next;
    return 1;
}

void storeReviewFields(const ReviewFields &fields, ClickParams &params)
{
    // c2 is compared with the c1 just clamped, so two zeros give 1 and 2. No value lies above the
    // largest c1, and c1 + 1 would wrap to the most negative c2, which every jump passes: that c1 gives
    // way by one so that c2 can stay above it.
    params.c1 = fields.c1 < 1 ? 1 : fields.c1;
    if (params.c1 == INT32_MAX)
        params.c1 = INT32_MAX - 1;
    params.d1 = fields.d1 < 1 ? 1 : fields.d1;
    params.c2 = fields.c2 > params.c1 ? fields.c2 : params.c1 + 1;
    params.useBaseFreqVer = fields.useBaseFreq ? 1 : 0;
    params.baseFreqVerS = fields.severity < 1 ? 1 : fields.severity;
    params.multipass = fields.multipass ? 1 : 0;
    params.autoZoom = fields.autoZoom ? 1 : 0;
    params.rangeDialog = fields.rangeDialog ? 1 : 0;
}

int32_t autoZoomFor(const int16_t *samples, uint32_t sampleCount, int32_t candidate, int32_t ptsAround,
                    int32_t spanStart, int32_t spanEnd)
{
    if (sampleCount == 0)
        return 12;
    // Widened in 64 bits: a span far into a long selection must not wrap round to a small index.
    int64_t lo = (int64_t)candidate - ptsAround;
    int64_t widenedLo = 2 * (int64_t)spanStart - spanEnd;
    if (widenedLo > lo)
        lo = widenedLo;
    int64_t hi = (int64_t)candidate + ptsAround;
    int64_t widenedHi = 2 * (int64_t)spanEnd - spanStart;
    if (widenedHi < hi)
        hi = widenedHi;
    int64_t last = (int64_t)sampleCount - 1;
    if (lo < 0)
        lo = 0;
    if (lo > last) // an odd span can push the lower end past the buffer: never read beyond it
        lo = last;
    if (hi > last)
        hi = last;
    int32_t peak = samples[lo] < 0 ? -(int32_t)samples[lo] : samples[lo];
    for (int64_t i = lo + 1; i <= hi; i++) {
        int32_t magnitude = samples[i] < 0 ? -(int32_t)samples[i] : samples[i];
        if (magnitude > peak)
            peak = magnitude;
    }
    if (peak == 0) // silence: nothing to scale, show it at the closest zoom
        return 12;
    int32_t zoom = 98301 / (4 * peak);
    if (zoom < 1)
        return 1;
    return zoom > 12 ? 12 : zoom;
}

int32_t markerHit(int32_t x, int32_t startX, int32_t endX)
{
    int32_t toStart = x - startX < 0 ? startX - x : x - startX;
    int32_t toEnd = x - endX < 0 ? endX - x : x - endX;
    if (toStart < 3)
        return 1;
    if (toEnd < 3)
        return 2;
    return 0;
}

int32_t dragMarkerTo(int32_t marker, int32_t s, int32_t spanStart, int32_t spanEnd, int32_t *moved)
{
    if (marker == 1) {
        if (s >= spanEnd)
            s = spanEnd - 1;
        if (s == spanStart)
            return 0;
    } else if (marker == 2) {
        if (s <= spanStart)
            s = spanStart + 1;
        if (s == spanEnd)
            return 0;
    } else {
        return 0;
    }
    *moved = s;
    return 1;
}
