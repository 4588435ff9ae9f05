// The state of one search run (one XfmDo call) and of its current pass, shared by the run driver, the
// detector and the stop rules. Lives in XfmDo's call frame; nothing of it outlasts the run.
#pragma once
#include <cstdint>

struct RunState {
    int32_t passNumber;     // raised at the start of every pass; the first pass is 1
    bool changed;           // a repair, a skip, or "Find &Next" in multipass changed the pass
    bool autoRepair;        // repair every confirmed candidate without asking, for the rest of the run
    int32_t lastResult;     // last result code (review answer, or 6 for an automatic repair); 0 = none
    int32_t reviewsShown;   // reviews shown by the scan of the current pass, 0.. (best guess not counted)
    int32_t quietPasses;    // passes in a row whose scan showed no review, the current one included, 0..
    // Detector state, set up afresh at the start of every pass.
    uint32_t scanPosition;  // buffer index of the sample being examined, 20..count
    int32_t runningMean;    // running average of the jumps, sample units, 0..65535
    uint32_t lastStop;      // buffer index of the last stop, 0 = none
    int32_t bestScore;      // highest score accepted in this pass, 0 = none
    uint32_t bestGuess;     // buffer index of the best guess, 0 = none
};
