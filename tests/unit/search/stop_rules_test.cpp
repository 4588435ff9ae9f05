// The stop rules on their own: every code's effect on the run state, the SkipList and the buffer, and
// how the scan goes on; "Go Back" before and after a stop beyond 25; repairs that fail.
#include <gtest/gtest.h>
#include "plugin/click_params.h"
#include "search/skip_list.h"
#include "search/stop_rules.h"
#include "search_fixture.h"
#include "ui/dialog_ids.h"

namespace {

class StopRulesTest : public SearchTest {
protected:
    std::vector<int16_t> x = spikes(400, {200});
    RunState stoppedAt(uint32_t lastStop)
    {
        RunState run = {};
        run.scanPosition = 200;
        run.runningMean = 37;
        run.lastStop = lastStop;
        return run;
    }
    void spanAroundTheSpike()
    {
        clickParams.spanStart = 196;
        clickParams.spanEnd = 208;
    }
};

TEST_F(StopRulesTest, EveryCodeAtACandidate)
{
    struct Row {
        int32_t code;
        uint32_t multipass;
        int32_t flow;
        bool changed, autoRepair, skipped, repaired;
    };
    const Row rows[] = {
        {ID_REPAIR, 0, FLOW_END_OF_SAMPLE, true, false, false, true},
        {ID_AUTO_REPAIR, 0, FLOW_END_OF_SAMPLE, true, true, false, true},
        {ID_FIND_NEXT, 0, FLOW_END_OF_SAMPLE, false, false, false, false},
        {ID_FIND_NEXT, 1, FLOW_END_OF_SAMPLE, true, false, false, false},
        {ID_SKIP, 0, FLOW_END_OF_SAMPLE, true, false, true, false},
        {ID_CLOSE, 1, FLOW_END_SCAN, false, false, false, false},
        {ID_STOP_HERE, 1, FLOW_END_SCAN, false, false, false, false},
        {99, 1, FLOW_END_SCAN, false, false, false, false},
        {-1, 1, FLOW_END_SCAN, false, false, false, false}, // the dialog could not be created
    };
    for (const Row &row : rows) {
        resetSkipList();
        std::vector<int16_t> samples = x;
        spanAroundTheSpike();
        clickParams.multipass = row.multipass;
        RunState run = stoppedAt(150);
        SampleBuffer buffer = bareBuffer(samples);
        int32_t flow = applyStopRule(row.code, buffer, 200, run);
        std::string what = "code " + std::to_string(row.code) + ", multipass " + std::to_string(row.multipass);
        EXPECT_EQ(flow, row.flow) << what;
        EXPECT_EQ(run.lastResult, row.code) << what;
        EXPECT_EQ(run.lastStop, 200u) << what;
        EXPECT_EQ(run.changed, row.changed) << what;
        EXPECT_EQ(run.autoRepair, row.autoRepair) << what;
        EXPECT_EQ(run.scanPosition, 200u) << what;
        EXPECT_EQ(run.runningMean, 37) << what;
        EXPECT_EQ(skippedCount(), row.skipped ? 1 : 0) << what;
        EXPECT_EQ(samples[200] == 0, row.repaired) << what << ": spike " << samples[200];
    }
    EXPECT_EQ(fakeHost().boxes.size(), 0u);
}

TEST_F(StopRulesTest, GoBackRescansFrom25BeforeTheLastStop)
{
    RunState run = stoppedAt(30);
    SampleBuffer buffer = bareBuffer(x);
    EXPECT_EQ(applyStopRule(ID_GO_BACK, buffer, 200, run), FLOW_NEXT_SAMPLE);
    EXPECT_EQ(run.scanPosition, 5u) << "the pass steps on to 6 next";
    EXPECT_EQ(run.lastStop, 0u);
    EXPECT_EQ(run.runningMean, 1);
    EXPECT_EQ(run.lastResult, ID_GO_BACK);

    for (uint32_t near : {0u, 25u}) {
        run = stoppedAt(near);
        EXPECT_EQ(applyStopRule(ID_GO_BACK, buffer, 200, run), FLOW_NEXT_SAMPLE);
        EXPECT_EQ(run.scanPosition, 200u) << "last stop " << near;
        EXPECT_EQ(run.lastStop, near) << "nothing happens, not even a stop at the candidate";
        EXPECT_EQ(run.runningMean, 37);
        EXPECT_EQ(run.lastResult, ID_GO_BACK);
    }
}

TEST_F(StopRulesTest, FailedRepairTellsTheUserAndChangesNothing)
{
    for (int32_t code : {ID_REPAIR, ID_AUTO_REPAIR}) {
        fakeHost().boxes.clear();
        std::vector<int16_t> samples = x;
        clickParams.spanStart = 1;
        clickParams.spanEnd = 330; // longer than any repair takes
        RunState run = stoppedAt(0);
        SampleBuffer buffer = bareBuffer(samples);
        EXPECT_EQ(applyStopRule(code, buffer, 200, run), FLOW_END_OF_SAMPLE);
        EXPECT_FALSE(run.changed);
        EXPECT_EQ(run.autoRepair, code == ID_AUTO_REPAIR) << "automatic mode also after a failed repair";
        EXPECT_EQ(run.lastStop, 200u);
        EXPECT_EQ(samples, x);
        ASSERT_EQ(fakeHost().boxes.size(), 1u);
        EXPECT_EQ(fakeHost().boxes[0].text, "Can't repair this.");
        EXPECT_EQ(fakeHost().boxes[0].flags, (UINT)(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(fakeHost().boxes[0].owner, nullptr);
    }
}

} // namespace
