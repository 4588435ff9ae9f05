// The click detector's per-sample rules: jumps, means, the score and the two candidate tests.
// Stateless; the thresholds are read from clickParams at every use.
#include "detector.h"
#include "plugin/click_params.h"

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

bool scoreBeats(int32_t jump, int32_t mean, int32_t best)
{
    // jump + q > best with q = (1000 x jump) / m, m >= 1, exactly when q >= best - jump + 1; q is a
    // truncated non-negative quotient, so that is 1000 x jump >= (best - jump + 1) x m.
    int64_t need = (int64_t)best - jump + 1;
    if (need <= 0)
        return true;
    int64_t m = mean > 1 ? mean : 1;
    return (int64_t)1000 * jump >= need * m;
}

bool levelTestPasses(int32_t jump, int32_t mean)
{
    int64_t wide = jump;
    if (wide > (int64_t)clickParams.c1 * mean && jump > clickParams.d1)
        return true;
    return wide > (int64_t)clickParams.c2 * mean;
}

bool sizeTestPasses(int32_t jump, int32_t mean) { return jump > 20 || mean > 10; }

int32_t updatedRunningMean(int32_t jump, int32_t mean)
{
    if (jump > mean / 32 && jump > 2)
        return (jump + 15 * mean + 8) / 16;
    return mean;
}
