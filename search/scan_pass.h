// The click detector: one pass over the sample buffer, stopping at confirmed candidates and acting on
// the review's answer (or repairing at once in automatic mode) by the stop rules.
#pragma once
#include <cstdint>
#include "run_state.h"

// Runs one pass over samples[0..count), count >= 42. Sets up the detector state of run, and updates
// changed, autoRepair, lastResult and the detector state as it goes. Calls the host's progress callback
// and reads its cancel flag (through clickParams.wave), the span finder, the verification, the review
// and the repair. Returns when the pass is over.
void runScanPass(int16_t *samples, uint32_t count, RunState &run);
