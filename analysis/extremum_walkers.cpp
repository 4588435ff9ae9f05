// The four extremum walkers of the base-frequency verification: each follows a trough or a peak from
// a start sample in one direction until the signal turns back by more than the hysteresis h, sample
// by sample: the plain rule, which the table-aided walks of the extremum list (walker_core.h with a
// table) must match. Pure functions over the sample buffer; no state.
#include "base_freq.h"
#include "walker_core.h"

// No two 16-bit samples differ by more than this, so any larger hysteresis never stops a walk;
// clamping to it keeps x[m] + h and x[m] - h inside 32 bits for every h.
static const int32_t largestTurn = 65535;

static int32_t clampHysteresis(int32_t h)
{
    return h > largestTurn ? largestTurn : h;
}

// The walkers index with 32-bit positions; a buffer longer than that is walked as far as they reach.
static int32_t walkLimit(uint32_t sampleCount)
{
    return sampleCount > (uint32_t)INT32_MAX ? INT32_MAX : (int32_t)sampleCount;
}

int32_t findTroughLeft(const int16_t *samples, int32_t start, int32_t h)
{
    if (start < 0 || h < 0)
        return -1;
    return walkTroughLeft(samples, nullptr, start, clampHysteresis(h));
}

int32_t findPeakLeft(const int16_t *samples, int32_t start, int32_t h)
{
    if (start < 0 || h < 0)
        return -1;
    return walkPeakLeft(samples, nullptr, start, clampHysteresis(h));
}

int32_t findTroughRight(const int16_t *samples, int32_t start, uint32_t sampleCount, int32_t h)
{
    int32_t end = walkLimit(sampleCount);
    if (start < 0 || start >= end || h < 0)
        return -1;
    return walkTroughRight(samples, nullptr, start, end, clampHysteresis(h));
}

int32_t findPeakRight(const int16_t *samples, int32_t start, uint32_t sampleCount, int32_t h)
{
    int32_t end = walkLimit(sampleCount);
    if (start < 0 || start >= end || h < 0)
        return -1;
    return walkPeakRight(samples, nullptr, start, end, clampHysteresis(h));
}
