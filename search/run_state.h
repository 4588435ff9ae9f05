// The state of one search run (one XfmDo call) and of its current pass, shared by the run driver and
// the detector.
#pragma once
#include <cstdint>

struct RunState {
    int32_t passNumber;     // raised at the start of every pass; the first pass is 1
    bool changed;           // a repair, a skip, or "Find &Next" in multipass changed the pass
    bool autoRepair;        // repair every confirmed candidate without asking, for the rest of the run
    int32_t lastResult;     // last result code (review answer, or 6 for an automatic repair); 0 = none
    int32_t reviewsShown;   // reviews shown in the current pass
    // Detector state, set up afresh at the start of every pass.
    uint32_t scanPosition;  // buffer index of the sample being examined
    int32_t runningMean;    // running average of the jumps
    uint32_t lastStop;      // buffer index of the last stop, 0 = none
    int32_t bestScore;      // highest score accepted in this pass
    uint32_t bestGuess;     // buffer index of the best guess, 0 = none
};
