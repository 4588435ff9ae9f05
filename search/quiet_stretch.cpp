// The detector's quiet loop over one stretch between progress checks: the walk sample by sample, and
// the walk that computes the jumps eight at a time, then the running-mean chain alone, and decides
// from the stretch's extremes whether any sample could have stopped it. Stateless.
#include "quiet_stretch.h"
#include <cstring>
#include "detector.h"
#include "plugin/click_params.h"

// The rule both walks follow, in the detector's own terms; the scan's steps at a sample that is no
// stop reduce to it:
//     for (; p < limit; p++) {
//         int32_t jump = jumpAt(samples, p);
//         if (candidateScore(jump, mean) > run.bestScore)
//             break;                                           // a new best guess to look at
//         if (p > run.lastStop + QUIET_AFTER_STOP) {
//             if (levelTestPasses(jump, mean) && sizeTestPasses(jump, mean))
//                 break;                                       // a candidate
//             mean = updatedRunningMean(jump, mean);
//         }
//     }
// The walk below is this loop with the tests written out for the loop's sake (scoreBeats for the
// score, shifts for the mean's divisions); quietStretch further down gets there without the loop.
uint32_t quietStretchBySample(const int16_t *samples, uint32_t p, uint32_t limit, RunState &run)
{
    int32_t mean = run.runningMean;
    const int32_t best = run.bestScore;
    const int64_t c1 = clickParams.c1;
    const int64_t c2 = clickParams.c2;
    const int32_t d1 = clickParams.d1;
    const uint32_t quietEnd = run.lastStop + QUIET_AFTER_STOP;
    int32_t previous = samples[p - 1];
    for (; p < limit; p++) {
        int32_t x = samples[p];
        int32_t jump = x > previous ? x - previous : previous - x;
        previous = x;
        if (scoreBeats(jump, mean, best))
            break;
        if (p > quietEnd) {
            bool level = (jump > c1 * mean && jump > d1) || jump > c2 * mean;
            if (level && sizeTestPasses(jump, mean))
                break;
            // updatedRunningMean with shifts: the mean and the jump are never negative, so the
            // truncating divisions by 32 and 16 are exactly these shifts.
            uint32_t m = (uint32_t)mean;
            uint32_t j = (uint32_t)jump;
            if (j > (m >> 5) && j > 2)
                mean = (int32_t)((j + 15u * m + 8u) >> 4);
        }
    }
    run.runningMean = mean;
    return p;
}

// Whether any sample of a stretch could stop the quiet loop, from the stretch's largest jump and the
// smallest and largest mean any of its samples was tested against. Every test grows with the jump;
// the score and level tests shrink as the mean grows (for ratios of 0 or more) and the size test grows
// with it, so these extremes bound each sample's outcome.
static bool stretchMayStop(int32_t maxJump, int32_t minMean, int32_t maxMean, int32_t best)
{
    if (scoreBeats(maxJump, minMean, best))
        return true;
    int64_t wide = maxJump;
    bool level = (wide > (int64_t)clickParams.c1 * minMean && maxJump > clickParams.d1) ||
                 wide > (int64_t)clickParams.c2 * minMean;
    return level && sizeTestPasses(maxJump, maxMean);
}

typedef int16_t Short8 __attribute__((vector_size(16)));
typedef uint16_t Unsigned8 __attribute__((vector_size(16)));
typedef uint32_t Wide8 __attribute__((vector_size(32)));

// The jumps of one stretch as the mean chain takes them: a jump of 2 or less is kept as 0 (no mean
// lies below 0 x 32, so the update's two conditions become one), and of the kept jump j the chain
// needs j + 8 and 32 x j, made here where they cost nothing on the chain.
struct StretchJumps {
    uint32_t plusEight[PROGRESS_INTERVAL]; // kept jump + 8, 8..65543
    uint32_t times32[PROGRESS_INTERVAL];   // kept jump x 32, 0..2,097,120
};

// The jumps at p .. p + n - 1 into jumps, and the largest jump. Eight samples at a time: the
// difference of two samples, largest minus smallest, always fits 16 bits unsigned.
static uint32_t stretchJumps(const int16_t *samples, uint32_t p, uint32_t n, StretchJumps &jumps)
{
    const Unsigned8 two = {2, 2, 2, 2, 2, 2, 2, 2};
    const Unsigned8 none = {0, 0, 0, 0, 0, 0, 0, 0};
    Unsigned8 largest = none;
    uint32_t k = 0;
    for (; k + 8 <= n; k += 8) {
        Short8 x, previous;
        memcpy(&x, samples + p + k, sizeof x);
        memcpy(&previous, samples + p + k - 1, sizeof previous);
        Unsigned8 jump = (Unsigned8)(x > previous ? x : previous) - (Unsigned8)(x > previous ? previous : x);
        largest = jump > largest ? jump : largest;
        Wide8 kept = __builtin_convertvector(jump > two ? jump : none, Wide8);
        Wide8 plusEight = kept + 8u;
        Wide8 times32 = kept << 5;
        memcpy(jumps.plusEight + k, &plusEight, sizeof plusEight);
        memcpy(jumps.times32 + k, &times32, sizeof times32);
    }
    uint32_t maxJump = 0;
    for (uint32_t lane = 0; lane < 8; lane++)
        maxJump = largest[lane] > maxJump ? largest[lane] : maxJump;
    for (; k < n; k++) {
        int32_t d = (int32_t)samples[p + k] - (int32_t)samples[p + k - 1];
        uint32_t j = (uint32_t)(d < 0 ? -d : d);
        maxJump = j > maxJump ? j : maxJump;
        uint32_t kept = j > 2 ? j : 0;
        jumps.plusEight[k] = kept + 8u;
        jumps.times32[k] = kept << 5;
    }
    return maxJump;
}

// The running-mean chain over n jumps from mean m: each mean before its update goes to means[].
// Returns the mean after the last.
static uint32_t meanChain(const StretchJumps &jumps, uint32_t n, uint32_t m, uint16_t *means)
{
    // Unrolled, so that the loop's own count and test do not sit between the links of the chain.
#pragma GCC unroll 8
    for (uint32_t k = 0; k < n; k++) {
        means[k] = (uint16_t)m;
        // (j + 15m + 8) / 16 is m + floor((j + 8 - m) / 16), 16m being a multiple of 16; the floor is
        // the arithmetic shift of the signed difference. j > m / 32 exactly when m < 32 j. The update
        // is masked in, not branched to: in music it is taken or not at random.
        int32_t step = (int32_t)(jumps.plusEight[k] - m) >> 4;
        uint32_t take = 0u - (uint32_t)(m < jumps.times32[k]);
        m += (uint32_t)step & take;
    }
    return m;
}

// Smallest and largest of values[0..n), n >= 1, eight at a time where there are eight.
static void rangeOf(const uint16_t *values, uint32_t n, uint32_t &lowest, uint32_t &highest)
{
    uint32_t low = values[0], high = values[0];
    uint32_t k = 0;
    if (n >= 8) {
        Unsigned8 low8, high8;
        memcpy(&low8, values, sizeof low8);
        high8 = low8;
        for (k = 8; k + 8 <= n; k += 8) {
            Unsigned8 v;
            memcpy(&v, values + k, sizeof v);
            low8 = v < low8 ? v : low8;
            high8 = v > high8 ? v : high8;
        }
        for (uint32_t lane = 0; lane < 8; lane++) {
            low = low8[lane] < low ? low8[lane] : low;
            high = high8[lane] > high ? high8[lane] : high;
        }
    }
    for (; k < n; k++) {
        low = values[k] < low ? values[k] : low;
        high = values[k] > high ? values[k] : high;
    }
    lowest = low;
    highest = high;
}

// The same result as the rule above (and quietStretchBySample): the mean chain alone over the whole
// stretch, then one test of its extremes, and the walk by sample only where they show it may stop.
// quietStretch past its first sample's test, in a function of its own: its stack frame, a kilobyte
// of jumps and means, is then set up only where the stretch is walked.
static __attribute__((noinline)) uint32_t quietStretchWhole(const int16_t *samples, uint32_t p, uint32_t limit,
                                                            RunState &run)
{
    // Past the quiet samples after a stop the mean at every sample does not depend on the tests, so
    // when the extremes show that no sample could stop the loop the chain's last mean is the loop's.
    // Otherwise (and within the quiet samples, or for negative ratios) the stretch is walked sample by
    // sample from its start. Only a stretch that starts just after a progress check is tried whole: a
    // walk resumed after a stop inside it would otherwise run the chain to its end again at every stop.
    if (limit <= p || p % PROGRESS_INTERVAL != 1 || p <= run.lastStop + QUIET_AFTER_STOP ||
        clickParams.c1 < 0 || clickParams.c2 < 0 || limit - p > PROGRESS_INTERVAL)
        return quietStretchBySample(samples, p, limit, run);
    StretchJumps jumps;
    uint16_t means[PROGRESS_INTERVAL];
    uint32_t n = limit - p;
    uint32_t maxJump = stretchJumps(samples, p, n, jumps);
    // Every mean lies in 0..65535: an update never goes above the larger of the jump and the mean.
    uint32_t last = meanChain(jumps, n, (uint32_t)run.runningMean, means);
    uint32_t lowest, highest;
    rangeOf(means, n, lowest, highest);
    if (stretchMayStop((int32_t)maxJump, (int32_t)lowest, (int32_t)highest, run.bestScore))
        return quietStretchBySample(samples, p, limit, run);
    run.runningMean = (int32_t)last;
    return limit;
}

uint32_t quietStretch(const int16_t *samples, uint32_t p, uint32_t limit, RunState &run)
{
    // Where every sample beats the best guess (no guess accepted yet, as throughout noise the
    // verification rejects) the walk stops at its first sample before any update: say so at once.
    if (p < limit) {
        int32_t d = (int32_t)samples[p] - (int32_t)samples[p - 1];
        if (scoreBeats(d < 0 ? -d : d, run.runningMean, run.bestScore))
            return p;
    }
    return quietStretchWhole(samples, p, limit, run);
}
