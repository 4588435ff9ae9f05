// The click span finder: from a fixed frame of 4 samples before and 8 after a candidate, moves each
// end by a few samples according to how large the sample-to-sample steps near it are compared with
// the steps around the candidate. Owns no state; writes only the span fields of the record it is given.
#include "click_span.h"

// Absolute step from sample k to sample k + 1, widened first so it can reach 65535.
static int32_t stepAt(const int16_t *samples, int32_t k)
{
    int32_t d = (int32_t)samples[k + 1] - (int32_t)samples[k];
    return d < 0 ? -d : d;
}

// Half the rounded mean of the six steps from x[p - 2] to x[p + 4]: the mean is rounded first and
// halved afterwards, each division dropping its remainder (sum is never negative, so this is also
// (sum + 3) / 12).
static int32_t stepThreshold(const int16_t *samples, int32_t p)
{
    int32_t sum = 0;
    for (int32_t k = p - 2; k <= p + 3; ++k)
        sum += stepAt(samples, k);
    int32_t mean = (sum + 3) / 6;
    return mean / 2;
}

// The start moves out by one when the step from x[p - 3] to x[p - 2] is large; the walk takes at
// most one step. Equality with the threshold counts as small.
static int32_t refinedStart(const int16_t *samples, int32_t p, int32_t threshold)
{
    int32_t i = p - 3;
    while (i < p - 2 && stepAt(samples, i) <= threshold)
        ++i;
    int32_t start = i - 2;
    return start < 1 ? 1 : start;
}

// The end walks in from p + 7 while the step into the current sample is small, at most three steps,
// so the end lands between p + 6 (settled quickly) and p + 9 (still moving at p + 7).
static int32_t refinedEnd(const int16_t *samples, int32_t p, int32_t threshold)
{
    int32_t j = p + 7;
    while (j > p + 4 && stepAt(samples, j - 1) <= threshold)
        --j;
    return j + 2;
}

void locateClickSpan(const int16_t *samples, uint32_t sampleCount, uint32_t position, ClickParams &params)
{
    // Positions are compared in 64 bits so that no index near the top of the unsigned range wraps.
    int64_t p = (int64_t)position;
    int64_t last = (int64_t)sampleCount - 1;
    params.spanStart = (int32_t)(p - 4);
    params.spanEnd = (int32_t)(p + 8);
    bool atBeginning = p - 4 <= 0;
    if (atBeginning)
        params.spanStart = 1;
    if (p + 8 >= last) {
        params.spanEnd = (int32_t)(last - 1);
        return;
    }
    if (atBeginning)
        return;
    // Here 5 <= p and p + 9 < sampleCount, so every sample read below (p - 3 .. p + 7) is inside.
    int32_t q = (int32_t)p;
    int32_t threshold = stepThreshold(samples, q);
    params.spanStart = refinedStart(samples, q, threshold);
    params.spanEnd = refinedEnd(samples, q, threshold);
}
