// Base-frequency verification: rejects a candidate whose click span is long compared with the half
// period of the signal around it, found from the signal's alternating troughs and peaks.
#pragma once
#include <cstdint>
#include "analysis/range_table.h"
#include "plugin/click_params.h"

// 1 = accept ("OK"), 0 = reject ("Reject"). Clips params.spanStart/spanEnd to 1 .. sampleCount - 2
// (the only lasting effect); reads baseFreqVerS and the sample rate of params.wave (may be null).
// The buffer's range table, when it has one, only speeds the work up: the verdict is the same.
int32_t verifyBaseFrequency(const SampleBuffer &buffer, uint32_t position, ClickParams &params);

// Extremum walkers. Each returns the index of the extremum found from start in its direction, stopping
// when the signal turns back by more than h (or at the buffer's end); of equal extremes the one nearest
// start wins, and start itself when nothing beyond it is more extreme. -1 when start < 0, h < 0 or
// (walking right) start >= sampleCount. The left walkers trust start < the buffer length. Plain
// sample-by-sample walks, the rule the table-aided walks of the extremum list must match. No state.
int32_t findTroughLeft(const int16_t *samples, int32_t start, int32_t h);
int32_t findPeakLeft(const int16_t *samples, int32_t start, int32_t h);
int32_t findTroughRight(const int16_t *samples, int32_t start, uint32_t sampleCount, int32_t h);
int32_t findPeakRight(const int16_t *samples, int32_t start, uint32_t sampleCount, int32_t h);

// Sum / n truncated toward zero (the sum is formed in 64 bits); -1 when n <= 0. No state.
int32_t integerMean(const int32_t *values, int32_t n);
// A median found by stepping from the mean through the distinct values; -1 when n <= 0 or the mean
// is negative. No state.
int32_t robustCentre(const int32_t *values, int32_t n);
