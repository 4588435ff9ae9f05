// Base-frequency verification: collects the alternating troughs and peaks on both sides of a
// candidate, takes the robust centre of the distances between neighbours as the half period of the
// signal, and rejects the candidate when its click span is long against it. Owns no state; the only
// lasting effect is the clip of the span in the ClickParams it is given.
#include "analysis/base_freq.h"
#include <cstring>
#include "analysis/range_table.h"
#include "analysis/verification_steps.h"
#include "plugin/xfm_types.h"

enum {
    minimumIntervals = 4,
    shortestBuffer = 23,
    defaultHalfWidth = 1470 // 44100 / 30, used when the run has no host record
};

// Largest minus smallest of x[lo..hi], both ends included; 0 when hi <= lo (a single sample, or an
// empty stretch, which is then not read at all). Longer stretches are answered from the buffer's
// range table when it has one.
static inline __attribute__((always_inline)) int32_t amplitudeRange(const SampleBuffer &buffer, int32_t lo, int32_t hi)
{
    const int16_t *samples = buffer.samples;
    if (hi <= lo)
        return 0;
    if ((int64_t)hi - lo < 2 * (int64_t)RANGE_BLOCK) { // the span: read, as the table would read it anyway
        int32_t low = samples[lo], high = low;
        scanMinMax(samples, (uint32_t)lo, (uint32_t)hi, low, high);
        return high - low;
    }
    const RangeTable *table = tableOf(buffer);
    if (table && (uint32_t)hi < table->count) {
        int32_t low, high;
        windowMinMax(*table, (uint32_t)lo, (uint32_t)hi, low, high);
        return high - low;
    }
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

// Window ends are formed in 64 bits: the half-width follows the host's sample rate and the span
// width, neither of which is bounded here.
// Inline in the verification; verificationHysteresis is the same for the tests.
static inline __attribute__((always_inline)) int32_t hysteresis(const SampleBuffer &buffer, const ClickParams &params,
                                                                int64_t w)
{
    uint32_t sampleCount = buffer.count;
    int64_t hw = params.wave ? params.wave->sampleRate / 30 : defaultHalfWidth;
    if (hw < w)
        hw = w;
    int64_t a = (int64_t)params.spanStart - 2 * hw;
    int64_t b = (int64_t)params.spanEnd + 2 * hw;
    if (a < 1)
        a = 1;
    if (b > (int64_t)sampleCount - 2)
        b = (int64_t)sampleCount - 2;
    int32_t h = b > a ? amplitudeRange(buffer, (int32_t)a, (int32_t)b) / 6 : 0;
    int32_t spanHeight = amplitudeRange(buffer, params.spanStart, params.spanEnd);
    int32_t halfHeight = (spanHeight + 1) / 2;
    if (halfHeight < h)
        h = halfHeight;
    return h;
}

int32_t verificationHysteresis(const SampleBuffer &buffer, const ClickParams &params, int64_t w)
{
    return hysteresis(buffer, params, w);
}

// The limit (3 x B) / (2 x S) in 64 bits, truncated toward zero: exact for every 32-bit severity,
// with no overflow and no division by zero (S is never 0 here).
static int64_t spanLimit(int32_t centre, int32_t severity)
{
    return (3 * (int64_t)centre) / (2 * (int64_t)severity);
}

// Whether w > spanLimit(interval, severity), for an interval of 0 or more and a positive severity.
// The limit never falls as the interval grows, which lets the last step decide from a few intervals
// instead of the robust centre.
// With q = 3 x interval / (2 x severity), w > floor(q) exactly when w > q, as w is whole: that is
// 2 x severity x w > 3 x interval, which fits 64 bits for any w of 0..2^31 - 1 and needs no division.
// Other spans take the division.
static bool spanExceeds(int64_t w, int32_t interval, int32_t severity)
{
    if (w < 0 || w > INT32_MAX)
        return w > spanLimit(interval, severity);
    return 2 * (int64_t)severity * w > 3 * (int64_t)interval;
}

typedef int32_t Int4 __attribute__((vector_size(16)));
typedef float Float4 __attribute__((vector_size(16)));

// Smallest and largest of the n >= 4 intervals at[k + 1] - at[k], four at a time, the last four
// overlapping the ones before (an interval seen twice changes neither extreme).
static void wideIntervalRange(const int32_t *at, int32_t n, int32_t &smallest, int32_t &largest)
{
    Int4 a, b;
    memcpy(&a, at, sizeof a);
    memcpy(&b, at + 1, sizeof b);
    Int4 low = b - a, high = low;
    for (int32_t k = 4; k < n; k += 4) {
        if (k + 4 > n)
            k = n - 4;
        memcpy(&a, at + k, sizeof a);
        memcpy(&b, at + k + 1, sizeof b);
        Int4 d = b - a;
        low = d < low ? d : low;
        high = d > high ? d : high;
    }
    int32_t lo = low[0], hi = high[0];
    for (int32_t lane = 1; lane < 4; lane++) {
        lo = low[lane] < lo ? low[lane] : lo;
        hi = high[lane] > hi ? high[lane] : hi;
    }
    smallest = lo;
    largest = hi;
}

// The intervals of four positions from at[k] on, as floats.
static inline Float4 intervalsAt(const int32_t *at, int32_t k)
{
    Int4 a, b;
    memcpy(&a, at + k, sizeof a);
    memcpy(&b, at + k + 1, sizeof b);
    return __builtin_convertvector(b - a, Float4);
}

// For the lists the verification makes (4 <= n <= 20) the lanes are floats, whose smallest and
// largest SSE2 finds in one instruction each: every interval lies in 0 .. at[n] - at[0], as positions
// never fall, and below 2^24 a float holds it exactly, so the extremes are the same. Five groups of
// four always, the later ones moved back to end at n. Longer lists, or lists that stretch further,
// take 32-bit integer lanes (wideIntervalRange).
// Inline in the verification; intervalRange is the same for the tests.
static inline __attribute__((always_inline)) void listIntervalRange(const int32_t *at, int32_t n, int32_t &smallest,
                                                                    int32_t &largest)
{
    if (n > 20 || at[n] - at[0] >= (1 << 24)) {
        wideIntervalRange(at, n, smallest, largest);
        return;
    }
    Float4 low = intervalsAt(at, 0), high = low;
#pragma GCC unroll 4
    for (int32_t k = 4; k < 20; k += 4) {
        Float4 d = intervalsAt(at, k + 4 <= n ? k : n - 4);
        low = d < low ? d : low;
        high = d > high ? d : high;
    }
    Float4 l = __builtin_shufflevector(low, low, 2, 3, 0, 1), h = __builtin_shufflevector(high, high, 2, 3, 0, 1);
    low = l < low ? l : low;
    high = h > high ? h : high;
    l = __builtin_shufflevector(low, low, 1, 0, 3, 2);
    h = __builtin_shufflevector(high, high, 1, 0, 3, 2);
    low = l < low ? l : low;
    high = h > high ? h : high;
    smallest = (int32_t)low[0];
    largest = (int32_t)high[0];
}

void intervalRange(const int32_t *at, int32_t n, int32_t &smallest, int32_t &largest)
{
    listIntervalRange(at, n, smallest, largest);
}

// How many of the n >= 4 intervals between positions at[0..n] are shorter than t, four at a time; the
// last four overlap the ones before, whose lanes are masked off there.
static int32_t intervalsShorterThan(const int32_t *at, int32_t n, int32_t t)
{
    Int4 limit = {t, t, t, t}, count = {0, 0, 0, 0}, a, b;
    int32_t k = 0;
    for (; k + 4 <= n; k += 4) {
        memcpy(&a, at + k, sizeof a);
        memcpy(&b, at + k + 1, sizeof b);
        count -= (b - a) < limit;
    }
    if (k < n) {
        int32_t seen = k - (n - 4);
        Int4 lane = {0, 1, 2, 3}, fresh = lane >= (Int4){seen, seen, seen, seen};
        memcpy(&a, at + n - 4, sizeof a);
        memcpy(&b, at + n - 3, sizeof b);
        count -= ((b - a) < limit) & fresh;
    }
    return count[0] + count[1] + count[2] + count[3];
}

// The intervals are the differences of neighbouring positions at[0..n], none negative. The robust
// centre lies between the smallest and the largest (it starts at their mean and moves only onto the
// values or between two of them), so when the limit of either decides, the centre need not be found.
// Mostly it need not be found otherwise either, as it is a median: it settles on a value with no more
// than half the list on either side, or between the two middle values of an even list. When more
// than half the intervals are short for the span, so is the upper middle value and so the centre;
// when fewer than half are, the lower middle value is not, nor the centre. Only an even list split
// exactly in two needs the centre, and only then are the intervals written out.
static int32_t spanAgainstIntervals(const int32_t *at, int32_t n, int32_t smallest, int32_t largest, int64_t w,
                                    int32_t severity)
{
    if (severity > 0) {
        if (spanExceeds(w, largest, severity))
            return 0;
        if (!spanExceeds(w, smallest, severity))
            return 1;
        if (w >= 0 && w <= INT32_MAX) {
            // Short means 3 x interval < 2 x severity x w, the product spanExceeds forms: an interval
            // below the product's third rounded up. The smallest interval is short and the largest is
            // not, so that third lies above 0 and not above the largest: it fits 32 bits.
            int32_t t = (int32_t)((2 * (int64_t)severity * w + 2) / 3);
            int32_t shorter = intervalsShorterThan(at, n, t);
            if (2 * shorter > n)
                return 0;
            if (2 * shorter < n)
                return 1;
        }
    }
    int32_t d[extremumSlots];
    for (int32_t k = 0; k < n; ++k)
        d[k] = at[k + 1] - at[k];
    int32_t centre = robustCentre(d, n);
    if (centre < 0)
        return 1;
    return w > spanLimit(centre, severity) ? 0 : 1;
}

int32_t intervalVerdict(const int32_t *at, int32_t n, int64_t w, int32_t severity)
{
    int32_t smallest, largest;
    listIntervalRange(at, n, smallest, largest);
    return spanAgainstIntervals(at, n, smallest, largest, w, severity);
}

int32_t verifyBaseFrequency(const SampleBuffer &buffer, uint32_t position, ClickParams &params)
{
    uint32_t sampleCount = buffer.count;
    if (sampleCount < shortestBuffer)
        return 0;
    int32_t severity = params.baseFreqVerS;
    if (severity == 0)
        return 1;
    clipSpan(params, sampleCount);
    // Formed in 64 bits so that no span, however it was set, overflows its width.
    int64_t w = (int64_t)params.spanEnd - params.spanStart;
    int32_t h = hysteresis(buffer, params, w);
    // A candidate outside the buffer makes the right-hand walkers refuse it, which accepts; decide
    // that before the left-hand walkers, which cannot tell and would read past the end.
    if (position >= sampleCount || position > (uint32_t)INT32_MAX)
        return 1;
    int32_t p = (int32_t)position;
    ExtremumList list;
    if (!collectExtrema(buffer, p, h, list))
        return 1;
    int32_t n = list.last - list.first;
    if (n < minimumIntervals)
        return 1;
    return intervalVerdict(list.slot + list.first, n, w, severity);
}
