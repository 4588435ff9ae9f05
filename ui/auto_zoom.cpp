// The review's automatic zoom and the view's pure geometry: the marker hit test and the drag rules (the
// shown stretch is inline in review_rules.h). No module state; the callers pass what they read.
#include "review_rules.h"

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
