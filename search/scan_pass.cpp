// The click detector's pass: walks the sample buffer once from position 20, keeps the best guess,
// tests and confirms candidates, stops at each confirmed one for an automatic repair or a review, and
// reports progress and reads the host's cancel flag every 128 samples. The detector state lives in the
// run's RunState; the pass owns nothing else.
#include "scan_pass.h"
#include "analysis/base_freq.h"
#include "analysis/click_span.h"
#include "detector.h"
#include "plugin/click_params.h"
#include "plugin/messages.h"
#include "plugin/module_state.h"
#include "plugin/xfm_types.h"
#include "quiet_stretch.h"
#include "ui/review.h"
#include "skip_list.h"
#include "stop_rules.h"
#include "ui/dialog_ids.h"

enum : uint32_t { FEWEST_SCANNED = 42 };

// The verification as a filter: switched off, or at a severity of 0 or less, it lets everything pass.
static bool verificationAccepts(const SampleBuffer &buffer, uint32_t p)
{
    if (clickParams.useBaseFreqVer == 0 || clickParams.baseFreqVerS <= 0)
        return true;
    return verifyBaseFrequency(buffer, p, clickParams) != 0;
}

// A strictly higher score replaces the best guess, so of two equal scores the earlier one stays. The
// span finder and the verification run only for a new highest score, never for every sample.
static void trackBestGuess(const SampleBuffer &buffer, uint32_t p, int32_t jump, RunState &run)
{
    if (!scoreBeats(jump, run.runningMean, run.bestScore) || isSkipped((int32_t)p))
        return;
    if (!run.autoRepair) {
        locateClickSpan(buffer.samples, buffer.count, p, clickParams);
        if (!verificationAccepts(buffer, p))
            return;
    }
    // The score's division only for a guess that stays (the running mean is as it was above).
    run.bestScore = candidateScore(jump, run.runningMean);
    run.bestGuess = p;
}

// The candidate message and the review. The verification runs again whatever the switches say, so
// that the message can tell "Reject" even when rejection is switched off.
static int32_t reviewAt(const SampleBuffer &buffer, uint32_t p, int32_t jump, RunState &run)
{
    XfmWave *wave = clickParams.wave;
    uint32_t selStart = wave ? wave->selStart : 0;
    int32_t verdict = verifyBaseFrequency(buffer, p, clickParams);
    wsprintfA(textBuffer, MSG_POSSIBLE_CLICK, (int32_t)(selStart + p + 1u), jump, run.runningMean,
              verdict ? MSG_VERIFY_OK : MSG_VERIFY_REJECT);
    uint32_t allowGoBack = run.lastStop > GO_BACK_DISTANCE ? 1u : 0u;
    run.reviewsShown++;
    return runReview(wave, buffer.samples, buffer.count, (int32_t)p, textBuffer, &clickParams, allowGoBack,
                     run.passNumber);
}

// Everything that happens at p between the best-guess bookkeeping and the end-of-sample steps: the
// candidate tests, the look-ahead, the skip and verification filters and the stop. Returns a ScanFlow.
static int32_t examineSample(SampleBuffer &buffer, uint32_t p, int32_t jump, RunState &run)
{
    const int16_t *samples = buffer.samples;
    uint32_t count = buffer.count;
    if (p <= run.lastStop + QUIET_AFTER_STOP)
        return FLOW_END_OF_SAMPLE;
    if (!levelTestPasses(jump, run.runningMean) || !sizeTestPasses(jump, run.runningMean))
        return FLOW_END_OF_SAMPLE;
    // Near the end there are not twenty jumps left to look ahead at; the candidate goes on untested.
    if (p < count - LOOK_AHEAD_TAIL && !levelTestPasses(jump, lookAheadMean(samples, p)))
        return FLOW_END_OF_SAMPLE;
    if (isSkipped((int32_t)p))
        return FLOW_NEXT_SAMPLE;
    locateClickSpan(samples, count, p, clickParams);
    if (!verificationAccepts(buffer, p))
        return FLOW_NEXT_SAMPLE;
    if (run.lastStop == 0)
        run.bestGuess = p;
    int32_t code = run.autoRepair ? ID_REPAIR : reviewAt(buffer, p, jump, run);
    return applyStopRule(code, buffer, p, run);
}

// The running-mean update and the progress check. Returns false when the host's cancel flag is set.
static bool endOfSample(uint32_t p, int32_t jump, uint32_t count, RunState &run)
{
    if (p > run.lastStop + QUIET_AFTER_STOP)
        run.runningMean = updatedRunningMean(jump, run.runningMean);
    if (p % PROGRESS_INTERVAL != 0)
        return true;
    XfmWave *wave = clickParams.wave;
    if (!wave)
        return true;
    if (wave->progress)
        wave->progress((int32_t)p, (int32_t)count);
    // Read after the call, also without a progress callback, so a flag the callback sets is seen now.
    return !(wave->cancelFlag && *wave->cancelFlag != 0);
}

void runScanPass(SampleBuffer &buffer, RunState &run)
{
    const int16_t *samples = buffer.samples;
    uint32_t count = buffer.count;
    run.scanPosition = FIRST_SCAN_POSITION;
    run.lastStop = 0;
    run.bestScore = 0;
    run.bestGuess = 0;
    run.runningMean = 0;
    if (count < FEWEST_SCANNED) // the run never gets here with less; the means would read past the end
        return;
    run.runningMean = startingMean(samples);
    for (; run.scanPosition < count; run.scanPosition++) {
        if (run.scanPosition % PROGRESS_INTERVAL != 0) {
            uint32_t next = (run.scanPosition | (PROGRESS_INTERVAL - 1)) + 1; // the next progress check
            run.scanPosition = quietStretch(samples, run.scanPosition, next < count ? next : count, run);
            if (run.scanPosition >= count)
                return;
        }
        uint32_t p = run.scanPosition;
        int32_t jump = jumpAt(samples, p);
        trackBestGuess(buffer, p, jump, run);
        int32_t flow = examineSample(buffer, p, jump, run);
        if (flow == FLOW_END_SCAN)
            return;
        if (flow == FLOW_END_OF_SAMPLE && !endOfSample(p, jump, count, run))
            return;
    }
}
