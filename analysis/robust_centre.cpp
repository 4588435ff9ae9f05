// integerMean and robustCentre: the typical value of the verification's interval list, a median
// found by stepping from the truncated mean through the distinct values. Pure functions; no state.
// Differences and sums are formed in 64 bits, so no list of 32-bit values can overflow them.
#include "base_freq.h"

int32_t integerMean(const int32_t *values, int32_t n)
{
    if (n <= 0)
        return -1;
    int64_t sum = 0;
    for (int32_t k = 0; k < n; ++k)
        sum += values[k];
    // C++ division truncates toward zero, also for a negative sum.
    return (int32_t)(sum / n);
}

// One step's view of the values from centre in direction dir: the smallest positive distance gap,
// how many values lie exactly that far (cnt), and how many sit on the centre (zeros).
struct CentreStep {
    int64_t gap;   // smallest positive (value - centre) * dir; 0 when no value lies beyond
    int32_t cnt;   // values at distance gap, 0..n
    int32_t zeros; // values equal to centre, 0..n
};

static CentreStep measureStep(const int32_t *values, int32_t n, int64_t centre, int32_t dir)
{
    CentreStep s = {0, 0, 0};
    for (int32_t k = 0; k < n; ++k) {
        int64_t e = ((int64_t)values[k] - centre) * dir;
        if (e == 0) {
            ++s.zeros;
        } else if (e > 0) {
            if (s.gap == 0 || e < s.gap) {
                s.gap = e;
                s.cnt = 1;
            } else if (e == s.gap) {
                ++s.cnt;
            }
        }
    }
    return s;
}

int32_t robustCentre(const int32_t *values, int32_t n)
{
    if (n <= 0)
        return -1;
    int64_t centre = integerMean(values, n);
    if (centre < 0)
        return -1;
    int32_t above = 0;
    int32_t below = 0;
    for (int32_t k = 0; k < n; ++k) {
        above += values[k] > centre;
        below += values[k] < centre;
    }
    if (above == below)
        return (int32_t)centre;
    int32_t dir = above > below ? 1 : -1;
    CentreStep s;
    do {
        s = measureStep(values, n, centre, dir);
        if (s.gap == 0)
            return (int32_t)centre;
        centre += s.gap * dir;
        if (dir > 0) {
            below += s.zeros;
            above -= s.cnt;
        } else {
            above += s.zeros;
            below -= s.cnt;
        }
    } while ((above - below) * dir > 0);
    // The centre has just crossed the middle. Which side it settles on depends on how far past the
    // balance the last step went compared with the values it stepped onto; a tie takes the midpoint
    // of the last two centres, truncated toward zero and so rounded toward the last one.
    int32_t excess = (below - above) * dir;
    if (excess < s.cnt)
        return (int32_t)centre;
    if (excess > s.cnt)
        return (int32_t)(centre - s.gap * dir);
    return (int32_t)(centre - (s.gap * dir) / 2);
}
