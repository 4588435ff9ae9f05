// Base-frequency verification: collects the alternating troughs and peaks on both sides of a
// candidate, takes the robust centre of the distances between neighbours as the half period of the
// signal, and rejects the candidate when its click span is long against it. Owns no state; the only
// lasting effect is the clip of the span in the ClickParams it is given.
#include "base_freq.h"
#include "plugin/xfm_types.h"

// Slots of the extremum list: left extrema fill 9 down to 0, right extrema 10 up to 20.
enum {
    slotCount = 21,
    firstRightSlot = 10,
    lastSlot = slotCount - 1,
    minimumIntervals = 4,
    shortestBuffer = 23,
    defaultHalfWidth = 1470 // 44100 / 30, used when the run has no host record
};

// The extremum list of one call: positions in non-decreasing order in slots first..last.
struct ExtremumList {
    int32_t slot[slotCount]; // buffer indices, 0 .. sampleCount - 1
    int32_t first;           // L: lowest occupied slot, 0..10 (10 = left side empty)
    int32_t last;            // R: highest occupied slot, 9..20 (9 = right side empty)
};

// Largest minus smallest of x[lo..hi], both ends included; 0 when hi <= lo (a single sample, or an
// empty stretch, which is then not read at all).
static int32_t amplitudeRange(const int16_t *samples, int32_t lo, int32_t hi)
{
    if (hi <= lo)
        return 0;
    int32_t smallest = samples[lo];
    int32_t largest = samples[lo];
    for (int32_t k = lo + 1; k <= hi; ++k) {
        int32_t x = samples[k];
        if (x < smallest)
            smallest = x;
        if (x > largest)
            largest = x;
    }
    return largest - smallest;
}

// A spanStart of 0 or less becomes 1; a spanEnd at or past the last sample becomes the one before it.
static void clipSpan(ClickParams &params, uint32_t sampleCount)
{
    if (params.spanStart <= 0)
        params.spanStart = 1;
    if ((int64_t)params.spanEnd >= (int64_t)sampleCount - 1)
        params.spanEnd = (int32_t)(sampleCount - 2);
}

// The hysteresis: a sixth of the peak-to-peak amplitude in a window of two half-widths either side
// of the span, but never more than half the span's own height (rounded up). The window leaves out
// the buffer's first and last samples. Window ends are formed in 64 bits: the half-width follows
// the host's sample rate and the span width, neither of which is bounded here.
static int32_t hysteresis(const int16_t *samples, uint32_t sampleCount, const ClickParams &params, int64_t w)
{
    int64_t hw = params.wave ? params.wave->sampleRate / 30 : defaultHalfWidth;
    if (hw < w)
        hw = w;
    int64_t a = (int64_t)params.spanStart - 2 * hw;
    int64_t b = (int64_t)params.spanEnd + 2 * hw;
    if (a < 1)
        a = 1;
    if (b > (int64_t)sampleCount - 2)
        b = (int64_t)sampleCount - 2;
    int32_t h = b > a ? amplitudeRange(samples, (int32_t)a, (int32_t)b) / 6 : 0;
    int32_t spanHeight = amplitudeRange(samples, params.spanStart, params.spanEnd);
    int32_t halfHeight = (spanHeight + 1) / 2;
    if (halfHeight < h)
        h = halfHeight;
    return h;
}

// Left of p: the nearer of the first trough and the first peak, then alternating walks from it until
// a walk finds nothing new or slot 0 is filled. The walk after slot 0 is filled is still made and its
// result dropped. Result 0 when a walker refused its arguments.
static int32_t collectLeft(const int16_t *samples, int32_t p, int32_t h, ExtremumList &list)
{
    int32_t o = findTroughLeft(samples, p, h);
    int32_t t = findPeakLeft(samples, p, h);
    if (o < 0 || t < 0)
        return 0;
    list.first = firstRightSlot;
    if (o == p && t == p)
        return 1;
    bool peak = t > o; // a tie counts as a trough
    list.first = firstRightSlot - 1;
    list.slot[list.first] = peak ? t : o;
    for (;;) {
        int32_t q = list.slot[list.first];
        int32_t next = peak ? findTroughLeft(samples, q, h) : findPeakLeft(samples, q, h);
        if (next < 0 || next == q || list.first == 0)
            return 1;
        list.slot[--list.first] = next;
        peak = !peak;
    }
}

// Right of p, the mirror of collectLeft, filling slots 10 up to 20.
static int32_t collectRight(const int16_t *samples, int32_t p, uint32_t sampleCount, int32_t h,
                            ExtremumList &list)
{
    int32_t v = findTroughRight(samples, p, sampleCount, h);
    int32_t u = findPeakRight(samples, p, sampleCount, h);
    if (v < 0 || u < 0)
        return 0;
    list.last = firstRightSlot - 1;
    if (v == p && u == p)
        return 1;
    bool peak = u < v; // a tie counts as a trough
    list.last = firstRightSlot;
    list.slot[list.last] = peak ? u : v;
    for (;;) {
        int32_t q = list.slot[list.last];
        int32_t next = peak ? findTroughRight(samples, q, sampleCount, h)
                            : findPeakRight(samples, q, sampleCount, h);
        if (next < 0 || next == q || list.last == lastSlot)
            return 1;
        list.slot[++list.last] = next;
        peak = !peak;
    }
}

// The limit (3 x B) / (2 x S) in 64 bits, truncated toward zero: exact for every 32-bit severity,
// with no overflow and no division by zero (S is never 0 here).
static int64_t spanLimit(int32_t centre, int32_t severity)
{
    return (3 * (int64_t)centre) / (2 * (int64_t)severity);
}

int32_t verifyBaseFrequency(const int16_t *samples, uint32_t position, uint32_t sampleCount, ClickParams &params)
{
    if (sampleCount < shortestBuffer)
        return 0;
    int32_t severity = params.baseFreqVerS;
    if (severity == 0)
        return 1;
    clipSpan(params, sampleCount);
    // Formed in 64 bits so that no span, however it was set, overflows its width.
    int64_t w = (int64_t)params.spanEnd - params.spanStart;
    int32_t h = hysteresis(samples, sampleCount, params, w);
    // A candidate outside the buffer makes the right-hand walkers refuse it, which accepts; decide
    // that before the left-hand walkers, which cannot tell and would read past the end.
    if (position >= sampleCount || position > (uint32_t)INT32_MAX)
        return 1;
    int32_t p = (int32_t)position;
    ExtremumList list;
    if (!collectLeft(samples, p, h, list))
        return 1;
    if (!collectRight(samples, p, sampleCount, h, list))
        return 1;
    int32_t n = list.last - list.first;
    if (n < minimumIntervals)
        return 1;
    int32_t d[slotCount];
    for (int32_t k = 0; k < n; ++k)
        d[k] = list.slot[list.first + k + 1] - list.slot[list.first + k];
    int32_t centre = robustCentre(d, n);
    if (centre < 0)
        return 1;
    return w > spanLimit(centre, severity) ? 0 : 1;
}
