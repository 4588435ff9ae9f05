// The stop rules: what a result code (a review's answer, or 6 for an automatic repair) does at a
// confirmed candidate, and how the scan goes on after it.
#pragma once
#include <cstdint>
#include "analysis/range_table.h"
#include "plugin/click_params.h"
#include "run_state.h"

// How the scan goes on after a stop.
enum ScanFlow : int32_t {
    FLOW_END_OF_SAMPLE = 0, // the end-of-sample steps, then the next sample
    FLOW_NEXT_SAMPLE = 1,   // the next sample directly, without the end-of-sample steps
    FLOW_END_SCAN = 2       // the scan ends
};

// Acts on code at the confirmed candidate p: sets lastResult (always), lastStop, changed, autoRepair,
// and for "Go Back" scanPosition and the running mean; repairs the click span of clickParams in the
// buffer ("Can't repair this." when that fails) and adds to the SkipList. Returns a ScanFlow.
int32_t applyStopRule(int32_t code, SampleBuffer &buffer, uint32_t p, RunState &run);

// Repairs the click span of params in the buffer and keeps its range table in step: the one way the
// run writes into its samples. Result as repairSpan (1 = repaired, 0 = cannot repair, nothing written).
int32_t repairInBuffer(SampleBuffer &buffer, ClickParams &params);
