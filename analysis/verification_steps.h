// The inner steps of the base-frequency verification, shared between the verification and its tests:
// the hysteresis, the list of alternating extrema either side of a candidate, and the extremes of the
// intervals between them.
#pragma once
#include <cstdint>
#include "analysis/range_table.h"
#include "plugin/click_params.h"

// Slots of the extremum list: left extrema fill 9 down to 0, right extrema 10 up to 20.
enum {
    extremumSlots = 21,
    firstRightSlot = 10,
    lastExtremumSlot = extremumSlots - 1
};

// The extremum list of one verification: positions in non-decreasing order in slots first..last.
struct ExtremumList {
    int32_t slot[extremumSlots]; // buffer indices, 0 .. sampleCount - 1; only first..last are set
    int32_t first;               // L: lowest occupied slot, 0..10 (10 = left side empty)
    int32_t last;                // R: highest occupied slot, 9..20 (9 = right side empty)
};

// The hysteresis h for the span in params (already clipped to 1 .. buffer.count - 2) of width w: a
// sixth of the peak-to-peak amplitude in a window of two half-widths either side of the span (the
// half-width is the sample rate of params.wave / 30, 1470 without a wave, at least w), never more than
// half the span's own height rounded up. The window leaves out the buffer's first and last samples.
// Result >= 0. Reads params only.
int32_t verificationHysteresis(const SampleBuffer &buffer, const ClickParams &params, int64_t w);

// Fills list with the alternating troughs and peaks found from p, 0 <= p < buffer.count: on each side
// the nearer of the first trough and peak, then alternating walks until one finds nothing new or the
// side is full. Result 1, or 0 (nothing read, list untouched) when p lies outside 0 .. buffer.count - 1
// or h < 0. Remembers walks and chains between calls to speed up the next one; the list is the same
// without.
int32_t collectExtrema(const SampleBuffer &buffer, int32_t p, int32_t h, ExtremumList &list);

// Smallest and largest of the n >= 4 intervals at[k + 1] - at[k] between positions that never fall
// (at[0..n], each 0 or more). No state.
void intervalRange(const int32_t *at, int32_t n, int32_t &smallest, int32_t &largest);

// The verification's last step for the list's intervals at[k + 1] - at[k] (4 <= n <= 20, positions
// that never fall): 0 when the span width w exceeds the limit of the intervals' robust centre for the
// severity, else 1. No state.
int32_t intervalVerdict(const int32_t *at, int32_t n, int64_t w, int32_t severity);
