// Range minimum and maximum over the run's sample buffer: per-block tables (blocks of 64 samples,
// with levels over 2, 4, ... 128 blocks) that answer the verification's window ranges and let the
// extremum walkers step over blocks where nothing can move or stop them. The tables live in storage
// the run hands in (after the samples in its one block); the run keeps the record beside its samples
// in a SampleBuffer and hands both on together.
#pragma once
#include <cstdint>

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

// Widens smallest..largest by samples[lo..hi], lo <= hi, read directly (eight at a time). No state.
void scanMinMax(const int16_t *samples, uint32_t lo, uint32_t hi, int32_t &smallest, int32_t &largest);

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
