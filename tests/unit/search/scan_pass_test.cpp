// One detector pass over a buffer, driven directly with a scripted review: where candidates are found
// and what their messages say, the look-ahead cut-off, the skip distances, the progress and cancel
// checks, the quiet stretch after a stop, and thresholds edited in the middle of a pass.
#include <gtest/gtest.h>
#include <cmath>
#include "search/scan_pass.h"
#include "search/skip_list.h"
#include "search_fixture.h"
#include "ui/dialog_ids.h"

namespace {

class ScanPassTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        clickParams.wave = &fakeHost().wave;
        clickParams.useBaseFreqVer = 0;
    }
    RunState pass(std::vector<int16_t> &samples)
    {
        RunState run = {};
        run.passNumber = 1;
        SampleBuffer buffer = bareBuffer(samples);
        runScanPass(buffer, run);
        return run;
    }
    std::vector<int32_t> reviewed() const
    {
        std::vector<int32_t> at;
        for (const ReviewCall &call : reviewScript().calls)
            at.push_back(call.candidate);
        return at;
    }
};

// Silence with a step of the given height at p: exactly one jump.
std::vector<int16_t> step(uint32_t n, uint32_t p, int16_t height)
{
    std::vector<int16_t> x(n, 0);
    for (uint32_t i = p; i < n; i++)
        x[i] = height;
    return x;
}

// A square wave of period 2 and jumps of 100, so that the running mean sits at 100.
std::vector<int16_t> buzz(uint32_t n)
{
    std::vector<int16_t> x(n);
    for (uint32_t i = 0; i < n; i++)
        x[i] = (int16_t)((i % 2) ? 100 : 0);
    return x;
}

// A click of 8000 on a sine of period 12, which the verification at severity 1 rejects.
std::vector<int16_t> clickOnFastSine(uint32_t at = 500)
{
    std::vector<int16_t> x(2000);
    for (int k = 0; k < 2000; k++)
        x[k] = (int16_t)std::lround(1000.0 * std::sin(2.0 * M_PI * k / 12.0));
    x[at] = (int16_t)(x[at] + 8000);
    return x;
}

TEST_F(ScanPassTest, SilentStartDividesByOneAndTheSizeTestDecidesBetween20And21)
{
    for (int16_t height : {20, 21}) {
        reviewScript().calls.clear();
        useScriptedReview({ID_FIND_NEXT});
        std::vector<int16_t> x = spikes(200, {60}, height);
        RunState run = pass(x);
        EXPECT_EQ(run.bestGuess, 60u) << "height " << height;
        EXPECT_EQ(run.bestScore, height + 1000 * height) << "height " << height;
        if (height == 20) {
            EXPECT_TRUE(reviewed().empty());
            EXPECT_EQ(run.lastStop, 0u);
        } else {
            ASSERT_EQ(reviewed(), std::vector<int32_t>({60}));
            EXPECT_NE(reviewScript().calls[0].message.find("(21/0)"), std::string::npos)
                << reviewScript().calls[0].message;
        }
    }
}

TEST_F(ScanPassTest, SampleTwentyCanBeTheBestGuessButNoCandidate)
{
    // The step's jump is the twentieth of the starting mean too: mean 100, score 2000 + 20000.
    std::vector<int16_t> x = step(200, 20, 2000);
    RunState run = pass(x);
    EXPECT_TRUE(reviewed().empty());
    EXPECT_EQ(run.bestGuess, 20u);
    EXPECT_EQ(run.bestScore, 22000);
    std::vector<int16_t> later = step(200, 21, 2000);
    EXPECT_EQ(pass(later).lastStop, 21u) << "21 is the first possible candidate";
}

TEST_F(ScanPassTest, LookAheadIsLeftOutFromCountMinus41)
{
    // A step at p followed, from p + 20 on, by loud buzz that outweighs it in the look-ahead.
    const uint32_t count = 200;
    for (uint32_t p : {157u, 158u, 159u, 160u}) {
        std::vector<int16_t> x = step(count, p, 1000);
        for (uint32_t i = p + 20; i < count; i += 2)
            x[i] = 2000;
        for (uint32_t i = p + 21; i < count; i += 2)
            x[i] = 0;
        reviewScript().calls.clear();
        useScriptedReview({}, ID_STOP_HERE);
        pass(x);
        ASSERT_FALSE(reviewed().empty()) << "p " << p;
        bool expectAtStep = p >= count - 41;
        EXPECT_EQ(reviewed()[0] == (int32_t)p, expectAtStep) << "p " << p << ": first review at " << reviewed()[0];
    }
}

TEST_F(ScanPassTest, SkippedPositionsHideCandidatesWithinFourSamples)
{
    struct Row { int32_t offset; bool shown; };
    const Row rows[] = {{-5, true}, {-4, false}, {0, false}, {4, false}, {5, true}};
    for (const Row &row : rows) {
        resetSkipList();
        addSkipped(1000 + row.offset);
        reviewScript().calls.clear();
        std::vector<int16_t> x = step(2000, 1000, 2000);
        RunState run = pass(x);
        EXPECT_EQ(reviewed().size(), row.shown ? 1u : 0u) << "skip entry at offset " << row.offset;
        // A skipped position cannot become the best guess either.
        EXPECT_EQ(run.bestGuess, row.shown ? 1000u : 0u) << "skip entry at offset " << row.offset;
    }
}

TEST_F(ScanPassTest, PassedOverCandidatesGetNoEndOfSampleSteps)
{
    // A candidate at 256 that is skipped: no progress call there, and no running-mean update, which
    // the message of the candidate at 1000 shows.
    std::vector<int16_t> x = step(2000, 256, 2000);
    for (uint32_t i = 1000; i < 2000; i++)
        x[i] = 4000;
    addSkipped(256);
    pass(x);
    EXPECT_EQ(countEvents("progress 256 "), 0);
    EXPECT_EQ(countEvents("progress 384 "), 1);
    ASSERT_EQ(reviewed(), std::vector<int32_t>({1000}));
    EXPECT_NE(reviewScript().calls[0].message.find("(2000/0)"), std::string::npos) << reviewScript().calls[0].message;

    // The same for a candidate the verification rejects.
    fakeHost().events.clear();
    resetSkipList();
    clickParams.useBaseFreqVer = 1;
    std::vector<int16_t> rejected = clickOnFastSine(256);
    pass(rejected);
    EXPECT_EQ(countEvents("progress 256 "), 0);
    EXPECT_EQ(countEvents("progress 384 "), 1);
}

TEST_F(ScanPassTest, ProgressAtEveryMultipleOf128AndNeverAtStartOrEnd)
{
    struct Row { uint32_t count; std::vector<std::string> progress; };
    const Row rows[] = {
        {127, {}},
        {128, {}},
        {129, {"progress 128 129"}},
        {256, {"progress 128 256"}},
        {300, {"progress 128 300", "progress 256 300"}},
    };
    for (const Row &row : rows) {
        fakeHost().events.clear();
        std::vector<int16_t> x(row.count, 0);
        RunState run = pass(x);
        EXPECT_EQ(fakeHost().events, row.progress) << "count " << row.count;
        EXPECT_EQ(run.scanPosition, row.count);
    }
}

TEST_F(ScanPassTest, CancelFlagIsReadAtEachProgressCheckAlsoWithoutACallback)
{
    std::vector<int16_t> x(600, 0);
    fakeHost().cancelAtProgressCall = 2;
    EXPECT_EQ(pass(x).scanPosition, 256u) << "the flag set by the second progress call";
    EXPECT_EQ(countEvents("progress"), 2);

    fakeHost().wave.progress = nullptr;
    fakeHost().cancelFlag = 1;
    EXPECT_EQ(pass(x).scanPosition, 128u);
    std::vector<int16_t> shortBuffer(100, 0);
    EXPECT_EQ(pass(shortBuffer).scanPosition, 100u) << "no progress check, no look at the flag";
}

TEST_F(ScanPassTest, CandidateMessageNumbersAndVerdict)
{
    // A steady running mean of 100 and a jump of 1200 at buffer index 1000 of a selection at 5000.
    fakeHost().wave.selStart = 5000;
    std::vector<int16_t> x = buzz(2000);
    x[1000] = (int16_t)(x[999] + 1200);
    clickParams.baseFreqVerS = 0; // verification passes everything
    pass(x);
    ASSERT_FALSE(reviewed().empty());
    EXPECT_EQ(reviewScript().calls[0].message,
              "Possible click found at sample 6001  (1200/100)\nBase Frequency Verification: OK");
}

TEST_F(ScanPassTest, RejectedCandidatesArePassedOverOnlyWhenVerificationIsOn)
{
    clickParams.baseFreqVerS = 1;
    std::vector<int16_t> x = clickOnFastSine();
    clickParams.useBaseFreqVer = 0;
    pass(x);
    ASSERT_FALSE(reviewed().empty());
    EXPECT_EQ(reviewed()[0], 500);
    const std::string &message = reviewScript().calls[0].message;
    const std::string ending = "\nBase Frequency Verification: Reject";
    ASSERT_GT(message.size(), ending.size());
    EXPECT_EQ(message.substr(message.size() - ending.size()), ending) << message;

    reviewScript().calls.clear();
    clickParams.useBaseFreqVer = 1;
    pass(x);
    for (int32_t at : reviewed())
        EXPECT_NE(at, 500) << "a rejected candidate was shown";
}

TEST_F(ScanPassTest, RunningMeanRestsForTwentySamplesAfterAStop)
{
    // Silence, a step at 100, jumps of 100 at 101..120 that would lift the mean, a step at 121.
    std::vector<int16_t> x(400, 0);
    for (uint32_t i = 100; i <= 120; i++)
        x[i] = (int16_t)(1000 + (i % 2) * 100);
    for (uint32_t i = 121; i < 400; i++)
        x[i] = 2000;
    useScriptedReview({}, ID_FIND_NEXT);
    pass(x);
    ASSERT_EQ(reviewed(), std::vector<int32_t>({100, 121}));
    EXPECT_NE(reviewScript().calls[0].message.find("(1000/0)"), std::string::npos);
    EXPECT_NE(reviewScript().calls[1].message.find("(1000/0)"), std::string::npos)
        << "mean moved inside the quiet stretch: " << reviewScript().calls[1].message;
}

TEST_F(ScanPassTest, ThresholdsEditedDuringAReviewApplyToTheRestOfThePass)
{
    std::vector<int16_t> x = buzz(4000);
    x[1000] = (int16_t)(x[1000] + 2000);
    x[3000] = (int16_t)(x[3000] + 2000);
    useScriptedReview({}, ID_FIND_NEXT);
    pass(x);
    EXPECT_EQ(reviewed(), std::vector<int32_t>({1000, 3000}));

    reviewScript().calls.clear();
    reviewScript().onCall = [](ClickParams &params) { params.c1 = params.c2 = 50; };
    pass(x);
    EXPECT_EQ(reviewed(), std::vector<int32_t>({1000}));
}

TEST_F(ScanPassTest, AutomaticModeTakesBestGuessesWithoutVerification)
{
    // A jump of 500 on a steady buzz: no candidate, and rejected by the verification at severity 1.
    std::vector<int16_t> x = buzz(3000);
    for (uint32_t i = 1000; i < 3000; i++)
        x[i] = (int16_t)(x[i] + 600);
    clickParams.useBaseFreqVer = 1;
    clickParams.baseFreqVerS = 1;
    for (bool automatic : {false, true}) {
        RunState run = {};
        run.passNumber = 2;
        run.autoRepair = automatic;
        SampleBuffer buffer = bareBuffer(x);
        runScanPass(buffer, run);
        EXPECT_EQ(run.bestGuess, automatic ? 1000u : 0u) << "automatic " << automatic;
        EXPECT_EQ(run.lastStop, 0u);
    }
}

TEST_F(ScanPassTest, GoBackAllowedOnlyAfterAStopBeyond25)
{
    std::vector<int16_t> x = spikes(400, {25, 60, 200});
    useScriptedReview({}, ID_FIND_NEXT);
    pass(x);
    ASSERT_EQ(reviewed(), std::vector<int32_t>({25, 60, 200}));
    EXPECT_EQ(reviewScript().calls[0].allowGoBack, 0u);
    EXPECT_EQ(reviewScript().calls[1].allowGoBack, 0u) << "last stop 25";
    EXPECT_EQ(reviewScript().calls[2].allowGoBack, 1u) << "last stop 60";
}

} // namespace
