// Collection of the verification's extremum list: starting at the candidate, alternating walks with
// the trough and peak walkers fill the left slots from 9 down and the right slots from 10 up.
// Owns what the last collection kept: its first walks and its chain on each side (fixed static
// storage).
#include "analysis/range_table.h"
#include "analysis/verification_steps.h"
#include "analysis/walker_core.h"
#include <cstring>

enum { troughLeft = 0, peakLeft = 1, troughRight = 2, peakRight = 3 };

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

// What the last collection with a table kept (its first walks here, its chains below) was found
// under: one table version (and so one buffer and end) and one hysteresis, from one candidate.
// Verifications at consecutive candidates start their first walks one sample apart.
struct LastCollection {
    uint64_t version;     // range table version, 0 = nothing kept
    int32_t start;        // the candidate, where the first walks started
    int32_t turn;         // hysteresis, 0..65535
    int32_t firstWalk[4]; // buffer index each kind of first walk returned
};

static LastCollection lastCollection;

// The first walk of a kind from p, which starts where the same walk from p - 1 (the last verification's,
// as a rule: follows) already is when sample p - 1 is more extreme than p to the left, or sample p is
// more extreme than p - 1 to the right: the walk from p - 1 moves onto p (its table check there cannot
// skip, the block holding the more extreme sample not lying within its bounds) and goes on exactly as
// the walk from p would. Otherwise the walk is made. With a table the result is kept for the next
// candidate (collectExtrema stamps lastCollection with p, the version and the hysteresis).
static inline __attribute__((always_inline)) int32_t firstWalk(int32_t kind, const int16_t *x, const RangeTable *t,
                                                               int32_t p, int32_t end, int32_t turn, bool follows)
{
    if (!t)
        return walkOnce(kind, x, t, p, end, turn);
    int32_t &kept = lastCollection.firstWalk[kind];
    int32_t before = follows ? x[p - 1] : 0, here = x[p];
    bool same = kind == troughLeft    ? before < here
                : kind == peakLeft    ? before > here
                : kind == troughRight ? here < before
                                      : here > before;
    if (!(follows && same))
        kept = walkOnce(kind, x, t, p, end, turn);
    return kept;
}

// The chain of extrema the last collection found on one side. From an extremum of a given kind the
// rest of the chain is fixed (each walk depends only on its start, its kind, the hysteresis, the
// samples and, to the right, the end), and kinds alternate along it. So when the new chain reaches an
// extremum of the old one with the same kind, the old chain from there on is the new one's, as far as
// the old one was followed. Valid for the table version and hysteresis in lastCollection.
struct SideChain {
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
// The kind never decides between walks of one hysteresis and end: a sample that a trough walk and a
// peak walk both end at has only its own value beyond it up to the buffer's end, and both chains end
// there. It stays so that the reuse rests on its own stated condition, not on that property.
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
static void keepChain(SideChain &c, bool firstIsPeak, bool ended, const ExtremumList &list, int32_t from,
                      int32_t length)
{
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

// The walk from the nearer first extremum, which the plain rule makes next, ends at the farther one.
// Say the peak u lies nearer p than the trough o (left of p: o < u <= p). The trough walk from p
// passed every sample between its stop s and o without turning, and the lowest value it saw there
// is no lower than the trough walk from u sees over the same samples, so the walk from u does not
// turn before s either; at s it turns as well, since both have met x[o] by then. Of the samples from
// s on only o holds that lowest value nearest to u (the samples between o and p lie above it). So
// the walk from u ends at o; the mirror holds for a nearer trough and on the right.
static inline int32_t secondExtremum(int32_t trough, int32_t peak, bool peakFirst)
{
    return peakFirst ? trough : peak;
}

// Left of p, by the plain rule: the nearer of the first trough and the first peak (a tie counts as a
// trough), then alternating walks from it until a walk finds nothing new or slot 0 is filled (the
// rule makes one more walk after slot 0 is filled and drops its result; it is left out here, as
// nothing but the kept chain's ended flag could depend on it, which then stays false: not known).
// Every walk is the plain walker's walk (walker_core.h; the table only steps over blocks that cannot
// move or stop it). Three shortcuts give the same walks without making them, all only with a table
// (a list made without one is walked in full, the plain rule the tests hold them to): the first
// walks from the last candidate (firstWalk) and the old chain taken over where the new one meets it,
// both held to the table's version, and the second extremum (secondExtremum).
// 0 <= p < end, 0 <= turn <= 65535, so every walk starts inside the buffer.
static void collectLeft(const int16_t *x, const RangeTable *t, int32_t p, int32_t turn, bool kept, bool follows,
                        ExtremumList &list)
{
    int32_t o = firstWalk(troughLeft, x, t, p, 0, turn, follows);
    int32_t u = firstWalk(peakLeft, x, t, p, 0, turn, follows);
    list.first = firstRightSlot;
    if (o == p && u == p) {
        leftChain.length = 0;
        return;
    }
    bool peak = u > o; // a tie counts as a trough
    bool firstIsPeak = peak;
    list.first = firstRightSlot - 1;
    list.slot[list.first] = peak ? u : o;
    if (t) {
        list.slot[--list.first] = secondExtremum(o, u, peak);
        peak = !peak;
    }
    bool reuse = kept;
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
        int32_t next = walkOnce(peak ? troughLeft : peakLeft, x, t, q, 0, turn);
        if (next == q) {
            ended = true;
            break;
        }
        list.slot[--list.first] = next;
        peak = !peak;
        if (list.first == 0)
            break;
    }
    if (!t)
        return;
    keepChain(leftChain, firstIsPeak, ended, list, list.first, firstRightSlot - list.first);
}

// Right of p, the mirror of collectLeft, filling slots 10 up to 20; the walks end before end.
static void collectRight(const int16_t *x, const RangeTable *t, int32_t p, int32_t end, int32_t turn, bool kept,
                         bool follows, ExtremumList &list)
{
    int32_t v = firstWalk(troughRight, x, t, p, end, turn, follows);
    int32_t u = firstWalk(peakRight, x, t, p, end, turn, follows);
    list.last = firstRightSlot - 1;
    if (v == p && u == p) {
        rightChain.length = 0;
        return;
    }
    bool peak = u < v; // a tie counts as a trough
    bool firstIsPeak = peak;
    list.last = firstRightSlot;
    list.slot[list.last] = peak ? u : v;
    if (t) {
        list.slot[++list.last] = secondExtremum(v, u, peak);
        peak = !peak;
    }
    bool reuse = kept;
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
        int32_t next = walkOnce(peak ? troughRight : peakRight, x, t, q, end, turn);
        if (next == q) {
            ended = true;
            break;
        }
        list.slot[++list.last] = next;
        peak = !peak;
        if (list.last == lastExtremumSlot)
            break;
    }
    if (!t)
        return;
    keepChain(rightChain, firstIsPeak, ended, list, firstRightSlot, list.last - firstRightSlot + 1);
}

int32_t collectExtrema(const SampleBuffer &buffer, int32_t p, int32_t h, ExtremumList &list)
{
    // The walkers index with 32-bit positions; a longer buffer is walked as far as they reach.
    int32_t end = buffer.count > (uint32_t)INT32_MAX ? INT32_MAX : (int32_t)buffer.count;
    // Arguments a walker would refuse; a candidate at or past the end is refused before the left walks,
    // which would read from it.
    if (p < 0 || p >= end || h < 0)
        return 0;
    const RangeTable *t = tableOf(buffer);
    if (t && t->count != (uint32_t)end)
        t = nullptr; // walks to the right end where the table's buffer ends, or use no table
    int32_t turn = h > 65535 ? 65535 : h; // no two samples differ by more: a larger turn stops no walk
    // The chains and first walks kept by the last collection hold for this one (kept), and its first
    // walks started one sample before (follows). Both sides rewrite their chain whenever there is a
    // table, so the one stamp covers both.
    const LastCollection &e = lastCollection;
    bool kept = t && e.version == t->version && e.turn == turn;
    bool follows = kept && p > 0 && e.start == p - 1;
    collectLeft(buffer.samples, t, p, turn, kept, follows, list);
    collectRight(buffer.samples, t, p, end, turn, kept, follows, list);
    if (t) {
        lastCollection.version = t->version;
        lastCollection.start = p;
        lastCollection.turn = turn;
    }
    return 1;
}
