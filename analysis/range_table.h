// Range minimum and maximum over the run's sample buffer: per-block tables (blocks of 64 samples,
// with levels over 2, 4, ... 128 blocks) that answer the verification's window ranges and let the
// extremum walkers step over blocks where nothing can move or stop them. The tables live in storage
// the run hands in (after the samples in its one block); the run keeps the record beside its samples
// in a SampleBuffer and hands both on together.
#pragma once
#include <cstdint>
#include <cstring>

enum : uint32_t {
    RANGE_BLOCK_SHIFT = 6,                  // blocks of 64 samples
    RANGE_BLOCK = 1u << RANGE_BLOCK_SHIFT,
    RANGE_LEVELS = 8                        // level k covers 2^k blocks from each block on
};

struct RangeTable {
    const int16_t *samples;            // the buffer described, null = no table built
    uint32_t count;                    // samples in it, 1..
    uint32_t blocks;                   // ceil(count / 64)
    uint64_t version;                  // raised at every attach and update, never repeated; 1..
    int16_t *low[RANGE_LEVELS];        // low[k][b]: smallest sample of blocks b .. b + 2^k - 1 (clipped at the end)
    int16_t *high[RANGE_LEVELS];       // high[k][b]: largest sample of the same blocks
};

// Bytes of storage a table for count samples needs; 0 when it would not fit in 32 bits.
uint32_t rangeTableBytes(uint32_t count);

// The run's sample buffer as the verification and the repair see it: the samples and the range table
// that describes them, passed together so that no one has to find the table by the buffer's address.
// Every write into samples goes through samplesChanged, which keeps the table in step.
struct SampleBuffer {
    int16_t *samples;   // the run's samples
    uint32_t count;     // samples in it
    RangeTable *table;  // its range table (table->samples == samples), null = none
};

// Builds the table for samples[0..count) in storage (rangeTableBytes(count) bytes, 2-byte aligned);
// with no samples, no count or no storage it leaves table empty (samples null). Raises the version.
void buildRangeTable(RangeTable &table, const int16_t *samples, uint32_t count, void *storage);

// The buffer's table when it describes this very buffer, else null. No state.
inline const RangeTable *tableOf(const SampleBuffer &buffer)
{
    const RangeTable *t = buffer.table;
    return (t && t->samples && t->samples == buffer.samples) ? t : nullptr;
}

// Brings the buffer's table (if any) up to date after samples[first..last] changed; nothing happens
// for an empty stretch. Raises the version, so nothing remembered about the old samples is used.
void samplesChanged(SampleBuffer &buffer, uint32_t first, uint32_t last);

typedef int16_t Short8 __attribute__((vector_size(16)));

// The smallest and the largest lane of low8 and high8, by halving: three shuffles each
// (__builtin_shufflevector, which both compilers of the project's builds take).
inline void reduceLanes(Short8 low8, Short8 high8, int32_t &low, int32_t &high)
{
    Short8 l = __builtin_shufflevector(low8, low8, 4, 5, 6, 7, 0, 1, 2, 3);
    Short8 h = __builtin_shufflevector(high8, high8, 4, 5, 6, 7, 0, 1, 2, 3);
    low8 = l < low8 ? l : low8;
    high8 = h > high8 ? h : high8;
    l = __builtin_shufflevector(low8, low8, 2, 3, 0, 1, 6, 7, 4, 5);
    h = __builtin_shufflevector(high8, high8, 2, 3, 0, 1, 6, 7, 4, 5);
    low8 = l < low8 ? l : low8;
    high8 = h > high8 ? h : high8;
    l = __builtin_shufflevector(low8, low8, 1, 0, 3, 2, 5, 4, 7, 6);
    h = __builtin_shufflevector(high8, high8, 1, 0, 3, 2, 5, 4, 7, 6);
    low8 = l < low8 ? l : low8;
    high8 = h > high8 ? h : high8;
    low = low8[0] < low ? low8[0] : low;
    high = high8[0] > high ? high8[0] : high;
}

// Widens smallest..largest by samples[lo..hi], lo <= hi, read directly: eight at a time, the last
// eight overlapping the ones before (a sample read twice changes neither extreme), and one by one
// below eight samples. The verification's span, about a dozen samples, is two loads; inline, as the
// verification reads it at every candidate. No state.
inline void scanMinMax(const int16_t *samples, uint32_t lo, uint32_t hi, int32_t &smallest, int32_t &largest)
{
    int32_t low = smallest;
    int32_t high = largest;
    if (hi - lo >= 7) {
        Short8 low8, high8;
        memcpy(&low8, samples + lo, sizeof low8);
        high8 = low8;
        for (uint32_t i = lo + 8; i + 7 <= hi; i += 8) {
            Short8 v;
            memcpy(&v, samples + i, sizeof v);
            low8 = v < low8 ? v : low8;
            high8 = v > high8 ? v : high8;
        }
        Short8 v;
        memcpy(&v, samples + hi - 7, sizeof v);
        low8 = v < low8 ? v : low8;
        high8 = v > high8 ? v : high8;
        reduceLanes(low8, high8, low, high);
    } else {
        for (uint32_t i = lo; i <= hi; i++) {
            int32_t x = samples[i];
            low = x < low ? x : low;
            high = x > high ? x : high;
        }
    }
    smallest = low;
    largest = high;
}

// Smallest and largest sample of samples[lo..hi], lo <= hi < count, from the table. No state.
void rangeMinMax(const RangeTable &table, uint32_t lo, uint32_t hi, int32_t &smallest, int32_t &largest);

// rangeMinMax for windows that move a few samples at a time: from the last window answered (module
// state, kept under the table's version) where that gives the same extremes, else as rangeMinMax.
// lo <= hi < count.
void windowMinMax(const RangeTable &table, uint32_t lo, uint32_t hi, int32_t &smallest, int32_t &largest);

// Whether every sample of blocks b .. b + 2^level - 1 lies within low..high (inclusive). No state.
inline bool blocksWithin(const RangeTable &table, uint32_t level, uint32_t b, int32_t low, int32_t high)
{
    return table.low[level][b] >= low && table.high[level][b] <= high;
}
