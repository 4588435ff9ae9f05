// Collection of the verification's extremum list: starting at the candidate, alternating walks with
// the trough and peak walkers fill the left slots from 9 down and the right slots from 10 up.
// Owns the memo of walks made over the run's buffer (fixed static storage).
#include "analysis/base_freq.h"
#include "analysis/range_table.h"
#include "analysis/verification_steps.h"
#include "analysis/walker_core.h"

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
        if (next < 0 || next == q || list.last == lastExtremumSlot)
            return 1;
        list.slot[++list.last] = next;
        peak = !peak;
    }
}

// Walks remembered for the run's buffer. Consecutive verifications at neighbouring positions walk
// mostly the same chains of extrema, so a walk from a start with a hysteresis is looked up before it
// is made. An entry holds only for the table version it was made under: any repair raises it.
enum { walkMemoSize = 1024, troughLeft = 0, peakLeft = 1, troughRight = 2, peakRight = 3 };

struct WalkMemo {
    uint64_t version; // range table version the walk was made under, 0 = empty
    int32_t start;    // buffer index the walk started at
    int32_t turn;     // hysteresis, 0..65535
    int32_t kind;     // troughLeft .. peakRight
    int32_t result;   // buffer index the walk returned
};

static WalkMemo walkMemo[walkMemoSize];

static int32_t walkOnce(int32_t kind, const int16_t *x, const RangeTable *t, int32_t start, int32_t end, int32_t turn)
{
    switch (kind) {
    case troughLeft:
        return walkTroughLeft(x, t, start, turn);
    case peakLeft:
        return walkPeakLeft(x, t, start, turn);
    case troughRight:
        return walkTroughRight(x, t, start, end, turn);
    default:
        return walkPeakRight(x, t, start, end, turn);
    }
}

static inline int32_t memoWalk(int32_t kind, const int16_t *x, const RangeTable *t, int32_t start, int32_t end,
                               int32_t turn)
{
    if (!t)
        return walkOnce(kind, x, t, start, end, turn);
    WalkMemo &e = walkMemo[((uint32_t)start * 4u + (uint32_t)kind) & (walkMemoSize - 1)];
    if (e.version == t->version && e.start == start && e.turn == turn && e.kind == kind)
        return e.result;
    int32_t result = walkOnce(kind, x, t, start, end, turn);
    e = WalkMemo{t->version, start, turn, kind, result};
    return result;
}

// The same collection with the walker loops inline and the range table looked up once, for arguments
// every walker accepts (0 <= p < end, h >= 0), where no walk can return -1: each starts inside.
static void collectLeftFast(const int16_t *x, const RangeTable *t, int32_t p, int32_t turn, ExtremumList &list)
{
    int32_t o = memoWalk(troughLeft, x, t, p, 0, turn);
    int32_t u = memoWalk(peakLeft, x, t, p, 0, turn);
    list.first = firstRightSlot;
    if (o == p && u == p)
        return;
    bool peak = u > o; // a tie counts as a trough
    list.first = firstRightSlot - 1;
    list.slot[list.first] = peak ? u : o;
    for (;;) {
        int32_t q = list.slot[list.first];
        int32_t next = memoWalk(peak ? troughLeft : peakLeft, x, t, q, 0, turn);
        if (next == q || list.first == 0)
            return;
        list.slot[--list.first] = next;
        peak = !peak;
    }
}

static void collectRightFast(const int16_t *x, const RangeTable *t, int32_t p, int32_t end, int32_t turn,
                             ExtremumList &list)
{
    int32_t v = memoWalk(troughRight, x, t, p, end, turn);
    int32_t u = memoWalk(peakRight, x, t, p, end, turn);
    list.last = firstRightSlot - 1;
    if (v == p && u == p)
        return;
    bool peak = u < v; // a tie counts as a trough
    list.last = firstRightSlot;
    list.slot[list.last] = peak ? u : v;
    for (;;) {
        int32_t q = list.slot[list.last];
        int32_t next = memoWalk(peak ? troughRight : peakRight, x, t, q, end, turn);
        if (next == q || list.last == lastExtremumSlot)
            return;
        list.slot[++list.last] = next;
        peak = !peak;
    }
}

int32_t collectExtrema(const int16_t *samples, int32_t p, uint32_t sampleCount, int32_t h, ExtremumList &list)
{
    // The walkers clamp the hysteresis to the widest possible turn and index with 32-bit positions.
    int32_t end = sampleCount > (uint32_t)INT32_MAX ? INT32_MAX : (int32_t)sampleCount;
    if (p >= 0 && p < end && h >= 0) {
        const RangeTable *t = rangeTableFor(samples);
        if (t && t->count != (uint32_t)end)
            t = nullptr; // walks to the right end where the table's buffer ends, or use no table
        int32_t turn = h > 65535 ? 65535 : h;
        collectLeftFast(samples, t, p, turn, list);
        collectRightFast(samples, t, p, end, turn, list);
        return 1;
    }
    if (!collectLeft(samples, p, h, list))
        return 0;
    return collectRight(samples, p, sampleCount, h, list);
}
