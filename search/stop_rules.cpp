// The stop rules acting on a result code at a confirmed candidate. They change only the run state,
// the sample buffer (through the repair) and the SkipList.
#include "stop_rules.h"
#include "detector.h"
#include "plugin/click_params.h"
#include "plugin/messages.h"
#include "repair/repair.h"
#include "skip_list.h"
#include "ui/dialog_ids.h"

int32_t repairInBuffer(SampleBuffer &buffer, ClickParams &params)
{
    if (!repairSpan(buffer.samples, buffer.count, params))
        return 0;
    // The repair wrote samples spanStart..spanEnd of the span as it left it, taken as unsigned as the
    // repair takes them (nothing when the start lies after the end).
    samplesChanged(buffer, (uint32_t)params.spanStart, (uint32_t)params.spanEnd);
    return 1;
}

static void repairAtStop(SampleBuffer &buffer, RunState &run)
{
    if (repairInBuffer(buffer, clickParams))
        run.changed = true;
    else
        showInformation(MSG_CANT_REPAIR);
}

// Rescans the stretch before the previous stop with a running mean of 1, so that the previous
// candidate can be found and shown again. Nothing happens when that stop lies too near the start.
static int32_t goBack(RunState &run)
{
    if (run.lastStop > GO_BACK_DISTANCE) {
        run.scanPosition = run.lastStop - GO_BACK_DISTANCE;
        run.lastStop = 0;
        run.runningMean = 1;
    }
    return FLOW_NEXT_SAMPLE;
}

int32_t applyStopRule(int32_t code, SampleBuffer &buffer, uint32_t p, RunState &run)
{
    run.lastResult = code;
    switch (code) {
    case ID_REPAIR:
        run.lastStop = p;
        repairAtStop(buffer, run);
        return FLOW_END_OF_SAMPLE;
    case ID_AUTO_REPAIR:
        run.lastStop = p;
        repairAtStop(buffer, run);
        run.autoRepair = true; // also after a failed repair
        return FLOW_END_OF_SAMPLE;
    case ID_FIND_NEXT:
        run.lastStop = p;
        if (clickParams.multipass)
            run.changed = true;
        return FLOW_END_OF_SAMPLE;
    case ID_SKIP:
        run.lastStop = p;
        addSkipped((int32_t)p);
        run.changed = true;
        return FLOW_END_OF_SAMPLE;
    case ID_GO_BACK:
        return goBack(run);
    default: // "Close", "Stop Here" and any code the review is not known to give
        run.lastStop = p;
        return FLOW_END_SCAN;
    }
}
