// The loops of the four extremum walkers, inline, for the public walkers and for the collection of
// the extremum list, which looks its range table up once per verification instead of once per walk.
// Arguments are already checked here: 0 <= start < end, 0 <= turn <= 65535. With a table, whole
// blocks where no sample could move the extremum or stop the walk are stepped over. No state.
#pragma once
#include <cstdint>
#include "range_table.h"

// From the block boundary i, the furthest run of whole blocks whose samples all lie within low..high;
// a block that fails ends the search, since every longer run contains it. Returns the first index
// the walk must still read.
inline int32_t skipBlocksRight(const RangeTable *t, int32_t i, int32_t end, int32_t low, int32_t high)
{
    while (i < end && (i & (RANGE_BLOCK - 1)) == 0) {
        uint32_t b = (uint32_t)i >> RANGE_BLOCK_SHIFT;
        if (!blocksWithin(*t, 0, b, low, high))
            break;
        uint32_t k = 0;
        while (k + 1 < RANGE_LEVELS && b + (2u << k) <= t->blocks && blocksWithin(*t, k + 1, b, low, high))
            k++;
        int64_t next = (int64_t)i + ((int64_t)RANGE_BLOCK << k);
        i = next > end ? end : (int32_t)next;
    }
    return i;
}

// The mirror for walks to the left, from the last index i of a block.
inline int32_t skipBlocksLeft(const RangeTable *t, int32_t i, int32_t low, int32_t high)
{
    while (i >= 0 && (i & (RANGE_BLOCK - 1)) == RANGE_BLOCK - 1) {
        uint32_t b = (uint32_t)i >> RANGE_BLOCK_SHIFT;
        if (!blocksWithin(*t, 0, b, low, high))
            break;
        uint32_t k = 0;
        while (k + 1 < RANGE_LEVELS && b + 1 >= (2u << k) && blocksWithin(*t, k + 1, b + 1 - (2u << k), low, high))
            k++;
        i -= (int32_t)(RANGE_BLOCK << k);
    }
    return i;
}

// In every walker the stop test comes before the move test, and only a strictly more extreme sample
// moves m, so of several equal extremes the one nearest the start is returned. The table is consulted
// only where a walk enters a block; the samples up to the block's other end are read in an inner loop
// that carries no block test.

// The lowest index of the block holding i, or 0 without a table (the walk reads to the buffer's start).
inline int32_t blockFloor(const RangeTable *t, int32_t i)
{
    return t ? (i & ~(int32_t)(RANGE_BLOCK - 1)) : 0;
}

// One past the last index of the block holding i, at most end; end without a table. Formed unsigned:
// for 0 <= i < end it is at most 2^31, which does not wrap.
inline int32_t blockCeiling(const RangeTable *t, int32_t i, int32_t end)
{
    if (!t)
        return end;
    uint32_t next = ((uint32_t)i | (RANGE_BLOCK - 1)) + 1;
    return next < (uint32_t)end ? (int32_t)next : end;
}

inline int32_t walkTroughLeft(const int16_t *x, const RangeTable *t, int32_t start, int32_t turn)
{
    int32_t m = start;
    int32_t low = x[start];
    int32_t i = start - 1;
    while (i >= 0) {
        if (t && (i & (RANGE_BLOCK - 1)) == RANGE_BLOCK - 1 && (i = skipBlocksLeft(t, i, low, low + turn)) < 0)
            break;
        for (int32_t stop = blockFloor(t, i); i >= stop; --i) {
            int32_t v = x[i];
            if (v > low + turn)
                return m;
            if (v < low) {
                low = v;
                m = i;
            }
        }
    }
    return m;
}

inline int32_t walkPeakLeft(const int16_t *x, const RangeTable *t, int32_t start, int32_t turn)
{
    int32_t m = start;
    int32_t high = x[start];
    int32_t i = start - 1;
    while (i >= 0) {
        if (t && (i & (RANGE_BLOCK - 1)) == RANGE_BLOCK - 1 && (i = skipBlocksLeft(t, i, high - turn, high)) < 0)
            break;
        for (int32_t stop = blockFloor(t, i); i >= stop; --i) {
            int32_t v = x[i];
            if (v < high - turn)
                return m;
            if (v > high) {
                high = v;
                m = i;
            }
        }
    }
    return m;
}

inline int32_t walkTroughRight(const int16_t *x, const RangeTable *t, int32_t start, int32_t end, int32_t turn)
{
    int32_t m = start;
    int32_t low = x[start];
    int32_t i = start + 1;
    while (i < end) {
        if (t && (i & (RANGE_BLOCK - 1)) == 0 && (i = skipBlocksRight(t, i, end, low, low + turn)) >= end)
            break;
        for (int32_t stop = blockCeiling(t, i, end); i < stop; ++i) {
            int32_t v = x[i];
            if (v > low + turn)
                return m;
            if (v < low) {
                low = v;
                m = i;
            }
        }
    }
    return m;
}

inline int32_t walkPeakRight(const int16_t *x, const RangeTable *t, int32_t start, int32_t end, int32_t turn)
{
    int32_t m = start;
    int32_t high = x[start];
    int32_t i = start + 1;
    while (i < end) {
        if (t && (i & (RANGE_BLOCK - 1)) == 0 && (i = skipBlocksRight(t, i, end, high - turn, high)) >= end)
            break;
        for (int32_t stop = blockCeiling(t, i, end); i < stop; ++i) {
            int32_t v = x[i];
            if (v < high - turn)
                return m;
            if (v > high) {
                high = v;
                m = i;
            }
        }
    }
    return m;
}
