// The detector's quiet loop: the stretches of samples between two progress checks whose score does
// not beat the best guess and that are no candidate, which get only the running-mean update. Two
// walks with the same result: sample by sample, and a faster one that runs the mean chain alone and
// tests the stretch's extremes once. No state of its own; the thresholds come from clickParams.
#pragma once
#include <cstdint>
#include "run_state.h"

// From p (1 <= p) up to limit (limit - p <= 128, limit <= the buffer's count), applies the running-
// mean update to every sample that neither beats run.bestScore nor passes the level and size tests
// (those within 20 samples after run.lastStop are never tested for level nor update the mean), and
// stops at the first that does. Leaves the mean before that sample in run.runningMean. Returns that
// sample's position, or limit. Reads clickParams.
uint32_t quietStretchBySample(const int16_t *samples, uint32_t p, uint32_t limit, RunState &run);

// The same walk and result as quietStretchBySample, faster where no sample of the stretch stops it.
// Reads clickParams.
uint32_t quietStretch(const int16_t *samples, uint32_t p, uint32_t limit, RunState &run);
