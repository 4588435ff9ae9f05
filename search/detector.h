// The click detector's rules for one sample: the jump, the best-guess score, the level and size tests,
// the starting and look-ahead means and the running-mean update. Plain computations over the buffer;
// the thresholds come from clickParams at every call, so values edited in the review dialog apply from
// the very next sample on. No state of its own.
#pragma once
#include <cstdint>
#include "plugin/click_params.h"

enum : uint32_t {
    FIRST_SCAN_POSITION = 20, // the pass starts here; the starting mean takes the 20 jumps before it
    MEAN_JUMPS = 20,          // jumps averaged for the starting mean and for the look-ahead
    QUIET_AFTER_STOP = 20,    // samples after a stop that can be neither candidate nor mean update
    LOOK_AHEAD_OFFSET = 20,   // the look-ahead's first jump lies this far after the candidate
    LOOK_AHEAD_TAIL = 41,     // from count - 41 on there is no look-ahead
    GO_BACK_DISTANCE = 25,    // "Go Back" resumes this far before the last stop, when it lies beyond it
    PROGRESS_INTERVAL = 128   // the host hears of progress at every multiple of this position
};

// |x[p] - x[p-1]|, 0..65535; p >= 1. Touches no state.
int32_t jumpAt(const int16_t *samples, uint32_t p);

// The running mean a pass starts with: the sum of the jumps at 1..20, divided by 20. Reads samples
// 0..20. Touches no state.
int32_t startingMean(const int16_t *samples);

// The mean of the twenty jumps at p + 20 .. p + 39, divided by 20; the caller makes sure p + 39 lies
// inside the buffer. Touches no state.
int32_t lookAheadMean(const int16_t *samples, uint32_t p);

// The best-guess score: jump + (1000 x jump) / max(mean, 1). Touches no state.
int32_t candidateScore(int32_t jump, int32_t mean);

// Whether candidateScore(jump, mean) > best, decided without the division. Touches no state.
// Inline, as the rules below, because the detector applies them to every sample.
inline bool scoreBeats(int32_t jump, int32_t mean, int32_t best)
{
    // jump + q > best with q = (1000 x jump) / m, m >= 1, exactly when q >= best - jump + 1; q is a
    // truncated non-negative quotient, so that is 1000 x jump >= (best - jump + 1) x m.
    int64_t need = (int64_t)best - jump + 1;
    if (need <= 0)
        return true;
    int64_t m = mean > 1 ? mean : 1;
    return (int64_t)1000 * jump >= need * m;
}

// (jump > c1 x mean and jump > d1) or jump > c2 x mean, with c1, d1, c2 read from clickParams; the
// products are formed in 64 bits so that any loaded threshold compares exactly.
inline bool levelTestPasses(int32_t jump, int32_t mean)
{
    int64_t wide = jump;
    if (wide > (int64_t)clickParams.c1 * mean && jump > clickParams.d1)
        return true;
    return wide > (int64_t)clickParams.c2 * mean;
}

// jump > 20 or mean > 10: tiny jumps in near silence are no candidates. Touches no state.
inline bool sizeTestPasses(int32_t jump, int32_t mean) { return jump > 20 || mean > 10; }

// The running mean after a sample with this jump: (jump + 15 x mean + 8) / 16 when jump > mean / 32
// and jump > 2, else mean unchanged, so stretches of near silence do not pull it down. Touches no state.
inline int32_t updatedRunningMean(int32_t jump, int32_t mean)
{
    if (jump > mean / 32 && jump > 2)
        return (jump + 15 * mean + 8) / 16;
    return mean;
}
