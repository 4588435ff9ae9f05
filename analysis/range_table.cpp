// The range tables of the run's sample buffer: built once when the run has read its samples, patched
// over the few blocks a repair touches (samplesChanged, the one way a write reaches the table), and
// queried by the verification's window ranges. The record lives beside the run's samples and the
// arrays in its storage; the module owns the version counter and the last window answered.
#include "range_table.h"
#include <cstring>

// Versions only grow, across runs and resets too, so that nothing remembered about an earlier state
// of a buffer can be taken for its present one.
static uint64_t lastVersion = 0;

uint32_t rangeTableBytes(uint32_t count)
{
    uint64_t blocks = ((uint64_t)count + RANGE_BLOCK - 1) >> RANGE_BLOCK_SHIFT;
    uint64_t bytes = blocks * 2u * sizeof(int16_t) * RANGE_LEVELS;
    return bytes > 0xFFFFFFFFull ? 0u : (uint32_t)bytes;
}

static void scanBlock(RangeTable &t, uint32_t b)
{
    uint32_t first = b << RANGE_BLOCK_SHIFT;
    const int16_t *x = t.samples + first;
    int16_t lo = x[0];
    int16_t hi = lo;
    if (first + RANGE_BLOCK <= t.count) {
        // A whole block: a fixed count with 16-bit accumulators, which the compiler can vectorise.
        for (uint32_t i = 0; i < RANGE_BLOCK; i++) {
            lo = x[i] < lo ? x[i] : lo;
            hi = x[i] > hi ? x[i] : hi;
        }
    } else {
        for (uint32_t i = 1; i < t.count - first; i++) {
            lo = x[i] < lo ? x[i] : lo;
            hi = x[i] > hi ? x[i] : hi;
        }
    }
    t.low[0][b] = lo;
    t.high[0][b] = hi;
}

// Level k at b combines level k - 1 at b and at b + 2^(k-1); past the end it repeats level k - 1.
static void combine(RangeTable &t, uint32_t k, uint32_t b)
{
    uint32_t other = b + (1u << (k - 1));
    int16_t lo = t.low[k - 1][b];
    int16_t hi = t.high[k - 1][b];
    if (other < t.blocks) {
        lo = t.low[k - 1][other] < lo ? t.low[k - 1][other] : lo;
        hi = t.high[k - 1][other] > hi ? t.high[k - 1][other] : hi;
    }
    t.low[k][b] = lo;
    t.high[k][b] = hi;
}

// Every block of level k, eight at a time where the partner block lies inside.
static void combineLevel(RangeTable &t, uint32_t k)
{
    uint32_t offset = 1u << (k - 1);
    uint32_t b = 0;
    const int16_t *low = t.low[k - 1];
    const int16_t *high = t.high[k - 1];
    for (; b + 8 + offset <= t.blocks; b += 8) {
        Short8 l0, l1, h0, h1;
        memcpy(&l0, low + b, sizeof l0);
        memcpy(&l1, low + b + offset, sizeof l1);
        memcpy(&h0, high + b, sizeof h0);
        memcpy(&h1, high + b + offset, sizeof h1);
        Short8 l = l1 < l0 ? l1 : l0;
        Short8 h = h1 > h0 ? h1 : h0;
        memcpy(t.low[k] + b, &l, sizeof l);
        memcpy(t.high[k] + b, &h, sizeof h);
    }
    for (; b < t.blocks; b++)
        combine(t, k, b);
}

void buildRangeTable(RangeTable &table, const int16_t *samples, uint32_t count, void *storage)
{
    table = RangeTable{};
    if (!samples || count == 0 || !storage)
        return;
    table.samples = samples;
    table.count = count;
    table.version = ++lastVersion;
    table.blocks = (uint32_t)(((uint64_t)count + RANGE_BLOCK - 1) >> RANGE_BLOCK_SHIFT);
    int16_t *next = (int16_t *)storage;
    for (uint32_t k = 0; k < RANGE_LEVELS; k++) {
        table.low[k] = next;
        table.high[k] = next + table.blocks;
        next += 2u * table.blocks;
    }
    for (uint32_t b = 0; b < table.blocks; b++)
        scanBlock(table, b);
    for (uint32_t k = 1; k < RANGE_LEVELS; k++)
        combineLevel(table, k);
}

void samplesChanged(SampleBuffer &buffer, uint32_t first, uint32_t last)
{
    RangeTable *t = buffer.table;
    if (!t || !t->samples || t->samples != buffer.samples || first > last || first >= t->count)
        return;
    if (last >= t->count)
        last = t->count - 1;
    t->version = ++lastVersion;
    uint32_t bFirst = first >> RANGE_BLOCK_SHIFT;
    uint32_t bLast = last >> RANGE_BLOCK_SHIFT;
    for (uint32_t b = bFirst; b <= bLast; b++)
        scanBlock(*t, b);
    // Level k at b covers blocks b .. b + 2^k - 1, so the entries from bFirst - 2^k + 1 on change.
    for (uint32_t k = 1; k < RANGE_LEVELS; k++) {
        uint32_t reach = (1u << k) - 1;
        uint32_t from = bFirst > reach ? bFirst - reach : 0;
        for (uint32_t b = from; b <= bLast; b++)
            combine(*t, k, b);
    }
}

// Whole blocks b0..b1: two overlapping lookups at the highest level that fits, in chunks when the
// stretch is longer than the top level reaches twice.
static void blockRange(const RangeTable &t, uint32_t b0, uint32_t b1, int32_t &smallest, int32_t &largest)
{
    while (b0 <= b1) {
        uint32_t n = b1 - b0 + 1;
        uint32_t k = 31u - (uint32_t)__builtin_clz(n); // the highest level whose width fits n
        if (k > RANGE_LEVELS - 1)
            k = RANGE_LEVELS - 1;
        uint32_t width = 1u << k;
        uint32_t end = n > 2 * width ? b0 + 2 * width - 1 : b1; // covered by this round
        uint32_t second = end + 1 - width;
        int32_t lo = t.low[k][b0] < t.low[k][second] ? t.low[k][b0] : t.low[k][second];
        int32_t hi = t.high[k][b0] > t.high[k][second] ? t.high[k][b0] : t.high[k][second];
        smallest = lo < smallest ? lo : smallest;
        largest = hi > largest ? hi : largest;
        b0 = end + 1;
    }
}

void rangeMinMax(const RangeTable &t, uint32_t lo, uint32_t hi, int32_t &smallest, int32_t &largest)
{
    smallest = t.samples[lo];
    largest = smallest;
    uint32_t b0 = (lo + RANGE_BLOCK - 1) >> RANGE_BLOCK_SHIFT; // first whole block
    uint32_t b1 = (uint32_t)(((uint64_t)hi + 1) >> RANGE_BLOCK_SHIFT);  // one past the last whole block
    if (hi - lo < 2 * RANGE_BLOCK || b1 <= b0) {
        scanMinMax(t.samples, lo, hi, smallest, largest);
        return;
    }
    blockRange(t, b0, b1 - 1, smallest, largest);
    // The partial blocks at either end are read only when their whole block could widen the range.
    uint32_t headEnd = b0 << RANGE_BLOCK_SHIFT;
    if (lo < headEnd && !blocksWithin(t, 0, b0 - 1, smallest, largest))
        scanMinMax(t.samples, lo, headEnd - 1, smallest, largest);
    uint32_t tailStart = b1 << RANGE_BLOCK_SHIFT;
    if (tailStart <= hi && !blocksWithin(t, 0, b1, smallest, largest))
        scanMinMax(t.samples, tailStart, hi, smallest, largest);
}

// The last window windowMinMax answered, with its extremes.
struct LastWindow {
    uint64_t version; // table version it was answered under, 0 = none
    uint32_t lo, hi;  // the window, lo <= hi < count
    int32_t smallest; // its smallest sample
    int32_t largest;  // its largest sample
};

static LastWindow lastWindow;

enum : int64_t { WINDOW_STEP_MOST = 8 }; // ends further from the last window's go to the table

// Eight lanes of value, a sample or a count.
static inline Short8 allLanes(int32_t value)
{
    Short8 none = {};
    return none + (int16_t)value;
}

// Masks of the lanes of an eight-sample load that hold a stretch of count samples (0..8): its first
// count lanes, or its last.
static inline Short8 firstLanes(int32_t count)
{
    const Short8 lane = {0, 1, 2, 3, 4, 5, 6, 7};
    return lane < allLanes(count);
}

static inline Short8 lastLanes(int32_t count)
{
    const Short8 lane = {0, 1, 2, 3, 4, 5, 6, 7};
    return lane >= allLanes(8 - count);
}

static inline Short8 load8(const int16_t *at)
{
    Short8 v;
    memcpy(&v, at, sizeof v);
    return v;
}

// Whether any lane of a mask is set.
static inline bool anyLane(Short8 mask)
{
    uint64_t half[2];
    memcpy(half, &mask, sizeof half);
    return (half[0] | half[1]) != 0;
}

// The window that drops samples off the last one keeps both of its extremes when every dropped
// sample lies strictly between them, as each extreme is then still held by a kept sample; the
// samples it adds can only widen them. Otherwise, or under another version, or when an end moved by
// more than eight samples, or for windows of 16 samples or fewer, the table answers as rangeMinMax.
// The samples an end drops are read as one load of eight with the lanes outside masked off, those
// it adds as one load with the rest of it, and each load lies inside the new window or the last one:
// the ends move a varying few samples from one candidate to the next, which loops of so many steps
// would mispredict. Ends are compared in 64 bits.
//     dropped: w.lo .. lo - 1 and hi + 1 .. w.hi; each must lie strictly between w's extremes
//     added:   lo .. w.lo - 1 and w.hi + 1 .. hi; they widen the extremes
void windowMinMax(const RangeTable &t, uint32_t lo, uint32_t hi, int32_t &smallest, int32_t &largest)
{
    LastWindow &w = lastWindow;
    const int16_t *x = t.samples;
    int64_t loStep = (int64_t)lo - w.lo, hiStep = (int64_t)hi - w.hi;
    bool near = w.version == t.version && loStep <= WINDOW_STEP_MOST && loStep >= -WINDOW_STEP_MOST &&
                hiStep <= WINDOW_STEP_MOST && hiStep >= -WINDOW_STEP_MOST && (int64_t)hi - lo > 2 * WINDOW_STEP_MOST &&
                (int64_t)w.hi - w.lo > 2 * WINDOW_STEP_MOST;
    int32_t low = w.smallest, high = w.largest;
    bool kept = false;
    if (near) {
        int32_t step = (int32_t)loStep, end = (int32_t)hiStep;
        Short8 low8 = allLanes(low), high8 = allLanes(high);
        Short8 left = load8(x + w.lo), right = load8(x + w.hi - 7);
        Short8 insideLeft = (left > low8) & (left < high8), insideRight = (right > low8) & (right < high8);
        Short8 outside =
            (firstLanes(step > 0 ? step : 0) & ~insideLeft) | (lastLanes(end < 0 ? -end : 0) & ~insideRight);
        if (!anyLane(outside)) {
            // The added samples with the rest of their loads, all of them in the new window, which
            // can then widen the extremes no further than its own samples do.
            left = load8(x + lo);
            right = load8(x + hi - 7);
            Short8 lowest = left < right ? left : right, highest = left > right ? left : right;
            lowest = lowest < low8 ? lowest : low8;
            highest = highest > high8 ? highest : high8;
            reduceLanes(lowest, highest, low, high);
            kept = true;
        }
    }
    if (!kept)
        rangeMinMax(t, lo, hi, low, high);
    w = LastWindow{t.version, lo, hi, low, high};
    smallest = low;
    largest = high;
}
