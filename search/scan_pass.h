// The click detector: one pass over the sample buffer, stopping at confirmed candidates and acting on
// the review's answer (or repairing at once in automatic mode) by the stop rules.
#pragma once
#include <cstdint>
#include "analysis/range_table.h"
#include "run_state.h"

// Runs one pass over the buffer's samples, count >= 42 (with fewer it examines nothing). Sets up the
// detector state of run, and updates changed, autoRepair, lastResult, reviewsShown and the detector
// state as it goes. Through clickParams.wave it calls the host's progress callback, reads its cancel
// flag and takes selStart for the messages (a null wave gives none of these, and selStart 0); it calls
// the span finder, the verification, the review (runReview) and the repair, and writes textBuffer and
// the SkipList. Returns when the pass is over.
void runScanPass(SampleBuffer &buffer, RunState &run);
