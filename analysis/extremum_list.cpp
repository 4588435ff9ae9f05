// Collection of the verification's extremum list: starting at the candidate, alternating walks with
// the trough and peak walkers fill the left slots from 9 down and the right slots from 10 up.
// Owns the memo of walks made over the run's buffer and the last collection's chain on each side
// (fixed static storage).
#include "analysis/base_freq.h"
#include "analysis/range_table.h"
#include "analysis/verification_steps.h"
#include "analysis/walker_core.h"
#include <cstring>

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

// The first walk of a kind from p, which starts where the same walk from p - 1 (remembered from the
// verification before, as a rule) already is when sample p - 1 is more extreme than p to the left, or
// sample p is more extreme than p - 1 to the right: the walk from p - 1 moves onto p (its table check
// there cannot skip, the block holding the more extreme sample not lying within its bounds) and goes
// on exactly as the walk from p would. Otherwise, or when that walk is not remembered, the walk is made.
static inline __attribute__((always_inline)) int32_t firstWalk(int32_t kind, const int16_t *x, const RangeTable *t, int32_t p, int32_t end,
                                int32_t turn)
{
    if (t && p > 0) {
        int32_t before = x[p - 1], here = x[p];
        bool same = kind == troughLeft    ? before < here
                    : kind == peakLeft    ? before > here
                    : kind == troughRight ? here < before
                                          : here > before;
        if (same) {
            const WalkMemo &e = walkMemo[((uint32_t)(p - 1) * 4u + (uint32_t)kind) & (walkMemoSize - 1)];
            if (e.version == t->version && e.start == p - 1 && e.turn == turn && e.kind == kind) {
                // Remembered for p too, so that the walk from p + 1 finds it in turn.
                int32_t result = e.result;
                walkMemo[((uint32_t)p * 4u + (uint32_t)kind) & (walkMemoSize - 1)] = WalkMemo{t->version, p, turn, kind, result};
                return result;
            }
        }
    }
    return memoWalk(kind, x, t, p, end, turn);
}

// The chain of extrema the last collection found on one side. From an extremum of a given kind the
// rest of the chain is fixed (each walk depends only on its start, its kind, the hysteresis, the
// samples and, to the right, the end), and kinds alternate along it. So when the new chain reaches an
// extremum of the old one with the same kind, the old chain from there on is the new one's, as far as
// the old one was followed. Valid for one buffer, table version, hysteresis and end.
struct SideChain {
    const int16_t *samples;         // buffer of the chain, null = none kept
    uint64_t version;               // range table version it was found under
    int32_t turn;                   // hysteresis, 0..65535
    int32_t end;                    // the right walks' end (0 for the left side)
    int32_t length;                 // extrema in at[], 0..10 on the left, 0..11 on the right
    bool firstIsPeak;               // kind of at[0]; the kinds alternate after it
    bool ended;                     // the walk after the last extremum found nothing new (not cut off)
    int32_t at[extremumSlots];      // the extrema in the slots the list gave them: the k-th found is at
                                    // chainSlot(k, side), so whole stretches copy as they stand
};

// The slot of the k-th extremum found on a side (step -1 on the left, 1 on the right).
static inline int32_t chainSlot(int32_t k, int32_t step)
{
    return step < 0 ? firstRightSlot - 1 - k : firstRightSlot + k;
}

static SideChain leftChain, rightChain;

// Where the old chain has q as an extremum of this kind: its index, or -1. from is where the search
// goes on (positions run one way along a chain, so it only moves forward); step is -1 on the left.
static int32_t findInChain(const SideChain &c, int32_t &from, int32_t q, bool peak, int32_t step)
{
    while (from < c.length && (c.at[chainSlot(from, step)] - q) * step < 0)
        from++;
    if (from < c.length && c.at[chainSlot(from, step)] == q && (c.firstIsPeak != ((from & 1) != 0)) == peak)
        return from;
    return -1;
}

// Remembers the side of list in slots from .. from + length - 1 as the chain c (from < 10 on the left,
// 10 on the right).
static void keepChain(SideChain &c, const int16_t *x, uint64_t version, int32_t turn, int32_t end, bool firstIsPeak,
                      bool ended, const ExtremumList &list, int32_t from, int32_t length)
{
    c.samples = x;
    c.version = version;
    c.turn = turn;
    c.end = end;
    c.length = length;
    c.firstIsPeak = firstIsPeak;
    c.ended = ended;
    // The whole side, a fixed size the compiler copies in a few moves; slots outside the chain are
    // carried along but never read.
    if (from < firstRightSlot)
        memcpy(c.at, list.slot, firstRightSlot * sizeof(int32_t));
    else
        memcpy(c.at + firstRightSlot, list.slot + firstRightSlot, (extremumSlots - firstRightSlot) * sizeof(int32_t));
}

static bool chainHolds(const SideChain &c, const int16_t *x, const RangeTable *t, int32_t turn, int32_t end)
{
    return t && c.samples == x && c.version == t->version && c.turn == turn && c.end == end;
}

// The same collection with the walker loops inline and the range table looked up once, for arguments
// every walker accepts (0 <= p < end, h >= 0), where no walk can return -1: each starts inside.
static void collectLeftFast(const int16_t *x, const RangeTable *t, int32_t p, int32_t turn, ExtremumList &list)
{
    int32_t o = firstWalk(troughLeft, x, t, p, 0, turn);
    int32_t u = firstWalk(peakLeft, x, t, p, 0, turn);
    list.first = firstRightSlot;
    if (o == p && u == p)
        return;
    bool peak = u > o; // a tie counts as a trough
    bool firstIsPeak = peak;
    list.first = firstRightSlot - 1;
    list.slot[list.first] = peak ? u : o;
    bool reuse = chainHolds(leftChain, x, t, turn, 0);
    int32_t from = 0;
    bool ended = false;
    for (;;) {
        int32_t q = list.slot[list.first];
        int32_t j = reuse ? findInChain(leftChain, from, q, peak, -1) : -1;
        if (j >= 0) {
            reuse = false;
            // The old chain's extrema after j, as far as the list has room: one stretch of slots.
            int32_t count = leftChain.length - (j + 1);
            count = count < list.first ? count : list.first;
            if (count > 0) {
                memcpy(list.slot + list.first - count, leftChain.at + chainSlot(j + count, -1),
                       (size_t)count * sizeof(int32_t));
                list.first -= count;
                peak = peak != ((count & 1) != 0);
            }
            if (list.first == 0)
                break;
            if (leftChain.ended) {
                ended = true;
                break;
            }
            continue;
        }
        int32_t next = memoWalk(peak ? troughLeft : peakLeft, x, t, q, 0, turn);
        if (next == q) {
            ended = true;
            break;
        }
        if (list.first == 0)
            break;
        list.slot[--list.first] = next;
        peak = !peak;
    }
    if (!t)
        return;
    keepChain(leftChain, x, t->version, turn, 0, firstIsPeak, ended, list, list.first, firstRightSlot - list.first);
}

static void collectRightFast(const int16_t *x, const RangeTable *t, int32_t p, int32_t end, int32_t turn,
                             ExtremumList &list)
{
    int32_t v = firstWalk(troughRight, x, t, p, end, turn);
    int32_t u = firstWalk(peakRight, x, t, p, end, turn);
    list.last = firstRightSlot - 1;
    if (v == p && u == p)
        return;
    bool peak = u < v; // a tie counts as a trough
    bool firstIsPeak = peak;
    list.last = firstRightSlot;
    list.slot[list.last] = peak ? u : v;
    bool reuse = chainHolds(rightChain, x, t, turn, end);
    int32_t from = 0;
    bool ended = false;
    for (;;) {
        int32_t q = list.slot[list.last];
        int32_t j = reuse ? findInChain(rightChain, from, q, peak, 1) : -1;
        if (j >= 0) {
            reuse = false;
            int32_t count = rightChain.length - (j + 1);
            count = count < lastExtremumSlot - list.last ? count : lastExtremumSlot - list.last;
            if (count > 0) {
                memcpy(list.slot + list.last + 1, rightChain.at + chainSlot(j + 1, 1), (size_t)count * sizeof(int32_t));
                list.last += count;
                peak = peak != ((count & 1) != 0);
            }
            if (list.last == lastExtremumSlot)
                break;
            if (rightChain.ended) {
                ended = true;
                break;
            }
            continue;
        }
        int32_t next = memoWalk(peak ? troughRight : peakRight, x, t, q, end, turn);
        if (next == q) {
            ended = true;
            break;
        }
        if (list.last == lastExtremumSlot)
            break;
        list.slot[++list.last] = next;
        peak = !peak;
    }
    if (!t)
        return;
    keepChain(rightChain, x, t->version, turn, end, firstIsPeak, ended, list, firstRightSlot,
              list.last - firstRightSlot + 1);
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
