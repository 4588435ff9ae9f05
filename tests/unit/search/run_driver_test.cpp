// Whole runs through XfmDo with the fake host and a scripted review: every result code's effect on
// the run (passes, write-backs, steering), a cancel during the scan, the best guess, automatic mode,
// and the SkipList carried into a second run.
#include <gtest/gtest.h>
#include "search/skip_list.h"
#include "search_fixture.h"
#include "ui/dialog_ids.h"

namespace {

const int32_t PROGRESS_BOUND = 5000;

class RunDriverTest : public SearchTest {
protected:
    // A recording of 5000 samples whose selection is 500..4499, silent but for spikes at the given
    // selection indices.
    void selectionWithSpikes(std::initializer_list<uint32_t> at)
    {
        std::vector<int16_t> recording(5000, 0);
        for (uint32_t i : at)
            recording[500 + i] = 2000;
        setUpFakeHost(recording, 500, 4499);
        original = selectionAfterRun();
        // A run that never ends is cancelled after some 150 passes and then fails its test.
        fakeHost().cancelAtProgressCall = PROGRESS_BOUND;
    }
    std::vector<int32_t> reviewed() const
    {
        std::vector<int32_t> at;
        for (const ReviewCall &call : reviewScript().calls)
            at.push_back(call.candidate);
        return at;
    }
    std::vector<int32_t> passesReviewed() const
    {
        std::vector<int32_t> passes;
        for (const ReviewCall &call : reviewScript().calls)
            passes.push_back(call.passNumber);
        return passes;
    }
    std::vector<int16_t> original;
};

TEST_F(RunDriverTest, SkipInASinglePassWritesBackAndASecondRunPassesOverIt)
{
    writeIni(settingsText({"UseBaseFreqVer=0"}));
    selectionWithSpikes({1000, 3000});
    useScriptedReview({ID_SKIP, ID_STOP_HERE});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(reviewed(), std::vector<int32_t>({1000, 3000}));
    ASSERT_EQ(fakeHost().writes.size(), 1u) << "a skip counts as a change";
    EXPECT_EQ(fakeHost().writes[0], original);
    EXPECT_EQ(countEvents("finish"), 1);
    EXPECT_EQ(steeredTo(), "3501");

    reviewScript().calls.clear();
    fakeHost().writes.clear();
    compatClearClipboard();
    useScriptedReview({ID_STOP_HERE});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(reviewed(), std::vector<int32_t>({3000})) << "the skipped position is passed over";
    EXPECT_TRUE(fakeHost().writes.empty());
    EXPECT_EQ(skippedCount(), 1);
}

TEST_F(RunDriverTest, GoBackFromThirtyShowsTheCandidateAgainWithGoBackDisabled)
{
    writeIni(settingsText({"UseBaseFreqVer=0"}));
    selectionWithSpikes({30, 100});
    useScriptedReview({ID_FIND_NEXT, ID_GO_BACK, ID_STOP_HERE});
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(reviewed(), std::vector<int32_t>({30, 100, 30}));
    const std::vector<ReviewCall> &calls = reviewScript().calls;
    EXPECT_EQ(calls[0].allowGoBack, 0u);
    EXPECT_EQ(calls[1].allowGoBack, 1u);
    EXPECT_EQ(calls[2].allowGoBack, 0u);
    EXPECT_NE(calls[2].message.find("(2000/1)"), std::string::npos) << "rescanned with a running mean of 1";
    EXPECT_EQ(countEvents("finish"), 1);
    EXPECT_EQ(steeredTo(), "531");
}

TEST_F(RunDriverTest, GoBackBeforeAnyStopDoesNothingAndTheLastCandidateIsTheBestGuess)
{
    // Steps of 5000 at 1000 and of 2000 at 3000: the first scores higher, the second is confirmed
    // later while the pass has still not stopped anywhere.
    writeIni(settingsText({"UseBaseFreqVer=0"}));
    std::vector<int16_t> recording(5000, 0);
    for (uint32_t i = 1500; i < 5000; i++)
        recording[i] = (int16_t)(i < 3500 ? 5000 : 3000);
    setUpFakeHost(recording, 500, 4499);
    useScriptedReview({ID_GO_BACK, ID_GO_BACK, ID_STOP_HERE});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(reviewed(), std::vector<int32_t>({1000, 3000, 3000}));
    for (const ReviewCall &call : reviewScript().calls)
        EXPECT_EQ(call.allowGoBack, 0u);
    EXPECT_EQ(reviewScript().calls[2].message.rfind("Best guess of the click found at sample 3501\n", 0), 0u);
    EXPECT_EQ(steeredTo(), "3501");
}

TEST_F(RunDriverTest, MultipassAfterFindNextStartsAgainFromTheStart)
{
    writeIni(settingsText({"UseBaseFreqVer=0", "StartOver=1"}));
    selectionWithSpikes({1000, 3000});
    useScriptedReview({ID_FIND_NEXT, ID_STOP_HERE, ID_STOP_HERE});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(reviewed(), std::vector<int32_t>({1000, 3000, 1000}));
    EXPECT_EQ(passesReviewed(), std::vector<int32_t>({1, 1, 2}));
    EXPECT_EQ(countEvents("status Looking for Click(s) in the Selection"), 2);
    EXPECT_EQ(countEvents("finish"), 2);
    EXPECT_EQ(fakeHost().writes.size(), 1u) << "only the first pass counted as changed";
    EXPECT_EQ(steeredTo(), "1501") << "steered after the last pass, to its stop";
    EXPECT_EQ(fakeHost().cancelFlag, 0);
}

TEST_F(RunDriverTest, CloseEndsTheRunAndSteersOnlyWithRangeDialog)
{
    for (const char *range : {"RangeDialog=0", "RangeDialog=1"}) {
        writeIni(settingsText({"UseBaseFreqVer=0", "StartOver=1", range}));
        selectionWithSpikes({1000, 3000});
        reviewScript().calls.clear();
        compatClearClipboard();
        useScriptedReview({ID_FIND_NEXT, ID_CLOSE});
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(reviewed(), std::vector<int32_t>({1000, 3000})) << range << ": no second pass after Close";
        EXPECT_EQ(fakeHost().writes.size(), 1u) << range;
        EXPECT_EQ(steeredTo(), range[12] == '1' ? "3501" : "") << range;
    }
}

TEST_F(RunDriverTest, UnknownCodesEndTheScanWithoutSteering)
{
    for (int32_t code : {99, -1}) {
        writeIni(settingsText({"UseBaseFreqVer=0", "StartOver=1"}));
        selectionWithSpikes({1000, 3000});
        reviewScript().calls.clear();
        useScriptedReview({code, ID_STOP_HERE});
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(reviewed(), std::vector<int32_t>({1000})) << "code " << code;
        EXPECT_EQ(steeredTo(), "") << "code " << code;
        EXPECT_TRUE(fakeHost().writes.empty());
    }
}

TEST_F(RunDriverTest, CancelDuringTheScanStillWritesBackAndFinishes)
{
    writeIni(settingsText({"UseBaseFreqVer=0", "StartOver=1", "RangeDialog=1"}));
    selectionWithSpikes({100, 3000});
    fakeHost().cancelAtProgressCall = 1;
    useScriptedReview({ID_SKIP}, ID_FIND_NEXT);
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(reviewed(), std::vector<int32_t>({100}));
    ASSERT_EQ(fakeHost().writes.size(), 1u);
    EXPECT_EQ(countEvents("finish"), 1);
    EXPECT_EQ(countEvents("progress"), 1);
    EXPECT_EQ(steeredTo(), "") << "no steering after a cancel";
    EXPECT_NE(readIni(), "") << "the settings are saved";
}

// A square wave of jumps of 100 (recording index 0 is 0) with extra at the given selection indices,
// selection 500..4499 of a recording of 5000.
void buzzWith(std::initializer_list<std::pair<uint32_t, int16_t>> spikesAt)
{
    std::vector<int16_t> recording(5000);
    for (uint32_t i = 0; i < 5000; i++)
        recording[i] = (int16_t)((i % 2) ? 100 : 0);
    for (const auto &spike : spikesAt)
        recording[500 + spike.first] = (int16_t)(recording[500 + spike.first] + spike.second);
    setUpFakeHost(recording, 500, 4499);
}

// The buzz with its level raised by 600 from selection index 2000 on: one jump of 500 there, which
// fails the level test at a running mean of 100, so the pass stops nowhere and 2000 is its best guess.
void buzzWithABump()
{
    buzzWith({});
    for (uint32_t i = 2500; i < 5000; i++)
        fakeHost().recording[i] = (int16_t)(fakeHost().recording[i] + 600);
}

TEST_F(RunDriverTest, CancelLeavesTheBestGuessUnreviewed)
{
    for (bool cancel : {false, true}) {
        writeIni(settingsText({"UseBaseFreqVer=0"}));
        buzzWithABump();
        reviewScript().calls.clear();
        fakeHost().cancelAtProgressCall = cancel ? 20 : 0;
        useScriptedReview({}, ID_FIND_NEXT);
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(reviewed(), cancel ? std::vector<int32_t>() : std::vector<int32_t>({2000})) << "cancel " << cancel;
        EXPECT_TRUE(fakeHost().boxes.empty()) << fakeHost().boxes.size() << " boxes";
    }
    EXPECT_EQ(reviewScript().calls.size(), 0u);
}

TEST_F(RunDriverTest, BestGuessIsReviewedWithGoBackDisabledAndItsRepairWrittenAtOnce)
{
    writeIni(settingsText({"UseBaseFreqVer=0", "BaseFreqVerS=0"}));
    buzzWithABump();
    std::vector<int16_t> before = selectionAfterRun();
    useScriptedReview({ID_REPAIR});
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(reviewed(), std::vector<int32_t>({2000}));
    EXPECT_EQ(reviewScript().calls[0].allowGoBack, 0u);
    EXPECT_EQ(reviewScript().calls[0].message, "Best guess of the click found at sample 2501\n"
                                               "Base Frequency Verification: OK");
    ASSERT_EQ(fakeHost().writes.size(), 1u);
    EXPECT_NE(fakeHost().writes[0], before) << "the repair reached the host";
    // Written right after the pass's finish, not held back for an end of pass.
    EXPECT_EQ(fakeHost().events.back().rfind("write ", 0), 0u) << fakeHost().events.back();
    EXPECT_EQ(steeredTo(), "");
}

TEST_F(RunDriverTest, FailedBestGuessRepairWritesBackEarlierChanges)
{
    // Repair at 1000, go back from 3000, then "Go Back" (now without effect) at both of the spike's
    // jumps: the pass ends with no stop, the best guess is the last candidate, 3001, and its span is
    // dragged too long to repair.
    writeIni(settingsText({"UseBaseFreqVer=0"}));
    selectionWithSpikes({1000, 3000});
    useScriptedReview({ID_REPAIR, ID_GO_BACK, ID_GO_BACK, ID_GO_BACK, ID_REPAIR});
    reviewScript().onCall = [](ClickParams &params) {
        if (reviewScript().calls.size() == 5) {
            params.spanStart = 2900;
            params.spanEnd = 3300;
        }
    };
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(reviewed(), std::vector<int32_t>({1000, 3000, 3000, 3001, 3001}));
    EXPECT_EQ(reviewScript().calls[4].message.rfind("Best guess", 0), 0u);
    EXPECT_EQ(messageBoxesWith("Can't repair this."), 1);
    ASSERT_EQ(fakeHost().writes.size(), 2u) << "end of pass, then again after the failed repair";
    EXPECT_EQ(fakeHost().writes[1], fakeHost().writes[0]);
    EXPECT_EQ(fakeHost().writes[1][1000], 0) << "the first repair";
    EXPECT_EQ(fakeHost().writes[1][3000], 2000);
}

TEST_F(RunDriverTest, SkippedBestGuessStartsAnotherPassInMultipass)
{
    writeIni(settingsText({"UseBaseFreqVer=0", "StartOver=1"}));
    buzzWithABump();
    useScriptedReview({ID_SKIP, ID_STOP_HERE});
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(reviewed().size(), 2u);
    EXPECT_EQ(reviewed()[0], 2000);
    EXPECT_NE(reviewed()[1], 2000) << "the skipped best guess is not offered again";
    EXPECT_EQ(passesReviewed(), std::vector<int32_t>({1, 2}));
    EXPECT_TRUE(fakeHost().writes.empty()) << "a skip writes nothing";
}

TEST_F(RunDriverTest, AfterAutoRepairNoMoreReviewsButTheBestGuessIsStillShown)
{
    // The plug-in's own question box: Cancel ("Auto") switches to automatic repair.
    writeIni(settingsText({"UseBaseFreqVer=0", "StartOver=1"}));
    buzzWith({{1000, 3000}, {1500, 3000}, {3000, 3000}});
    for (uint32_t i = 2500; i < 5000; i++)
        fakeHost().recording[i] = (int16_t)(fakeHost().recording[i] + 600);
    useQuestionBox();
    fakeHost().answers = {IDCANCEL};
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(fakeHost().boxes.size(), 2u);
    EXPECT_EQ(fakeHost().boxes[0].text.rfind("Possible click found at sample 1501  (", 0), 0u)
        << fakeHost().boxes[0].text;
    EXPECT_EQ(fakeHost().boxes[1].text.rfind("Best guess of the click found at sample ", 0), 0u)
        << fakeHost().boxes[1].text;
    EXPECT_EQ(countEvents("status"), 2) << "one automatic pass, then one that stopped nowhere";
    EXPECT_EQ(fakeHost().writes.size(), 1u);
    std::vector<int16_t> after = selectionAfterRun();
    for (uint32_t at : {1000u, 1500u, 3000u})
        EXPECT_LT(std::abs(after[at] - after[at - 1]), 1000) << "click at " << at << " left in place";
    EXPECT_EQ(fakeHost().boxes[1].text.rfind("Best guess of the click found at sample 2501\n", 0), 0u);
    EXPECT_EQ(steeredTo(), "2501") << "No (\"Stop\") on the best guess stops there";
}

} // namespace
