// The click detector's per-sample rules: jumps, means, the score and the two candidate tests.
// Stateless; the thresholds are read from clickParams at every use.
#include "detector.h"

int32_t jumpAt(const int16_t *samples, uint32_t p)
{
    int32_t difference = (int32_t)samples[p] - (int32_t)samples[p - 1];
    return difference < 0 ? -difference : difference;
}

static int32_t meanOfJumps(const int16_t *samples, uint32_t first)
{
    int32_t sum = 0; // at most 20 x 65535: fits
    for (uint32_t k = first; k < first + MEAN_JUMPS; k++)
        sum += jumpAt(samples, k);
    return sum / (int32_t)MEAN_JUMPS;
}

int32_t startingMean(const int16_t *samples) { return meanOfJumps(samples, 1); }

int32_t lookAheadMean(const int16_t *samples, uint32_t p) { return meanOfJumps(samples, p + LOOK_AHEAD_OFFSET); }

int32_t candidateScore(int32_t jump, int32_t mean)
{
    // 1000 x jump is at most 65,535,000: no overflow in 32 bits.
    return jump + (1000 * jump) / (mean > 1 ? mean : 1);
}

