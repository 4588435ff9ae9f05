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

// The refinement as a rule over the steps, stepAt(k) being the step from x[k] to x[k + 1]:
//     threshold = ((stepAt(p - 2) + ... + stepAt(p + 3) + 3) / 6) / 2
//     i = p - 3; while (i < p - 2 && stepAt(i) <= threshold) ++i;      start = max(i - 2, 1)
//     j = p + 7; while (j > p + 4 && stepAt(j - 1) <= threshold) --j;  end = j + 2
// The threshold is half the rounded mean of the six steps, each division dropping its remainder.
// The start moves out by one only when the step from x[p - 3] is large; the end walks in from p + 7
// while the step into the current sample is small, landing between p + 6 and p + 9. Equality with
// the threshold counts as small. Below, each of the samples p - 3 .. p + 7 is read once and the
// walks' outcomes are taken directly.

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
    // s[i] is stepAt(p - 3 + i).
    const int16_t *x = samples + q - 3;
    int32_t s[10];
#pragma GCC unroll 10
    for (int32_t i = 0; i < 10; ++i)
        s[i] = stepAt(x, i);
    int32_t threshold = ((s[1] + s[2] + s[3] + s[4] + s[5] + s[6]) + 3) / 6 / 2;
    params.spanStart = s[0] <= threshold ? q - 4 : q - 5 < 1 ? 1 : q - 5;
    params.spanEnd = s[9] > threshold ? q + 9 : s[8] > threshold ? q + 8 : s[7] > threshold ? q + 7 : q + 6;
}
