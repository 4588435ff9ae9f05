// The reference model's run: the scan pass sample by sample with the best guess, the candidate test,
// the look-ahead and the stop rules, then the driver's end of pass, best guess and further passes.
// State lives in one RunState per run; the skip list is the model's (reference_model.cpp).
#include <cstdio>
#include <cstdlib>
#include "reference_model.h"
#include "plugin/xfm_types.h"
#include "repair/repair.h"

namespace refmodel {

bool modelIsSkipped(int32_t p);
void modelAddSkipped(int32_t p);

struct RunState {
    const Settings *s;
    const Answerer *answer;
    Outcome *out;
    std::vector<int16_t> buf;
    ClickParams params;
    int32_t passNumber;
    bool changed, autoRepair;
    int32_t lastResult;
    uint32_t lastStop;
    int32_t bestScore;
    uint32_t bestGuess;
    int32_t progressCalls;
    bool cancel;
};

static int32_t jumpAt(const std::vector<int16_t> &b, uint32_t k) { return std::abs((int32_t)b[k] - (int32_t)b[k - 1]); }

static bool levelTest(const ClickParams &c, int32_t jump, int32_t mean)
{
    return (jump > c.c1 * mean && jump > c.d1) || jump > c.c2 * mean;
}

static int32_t verifyAt(RunState &r, uint32_t p)
{
    return refVerify(r.buf.data(), p, (uint32_t)r.buf.size(), r.params, r.s->sampleRate);
}

static void write(RunState &r)
{
    r.out->events.push_back("write " + std::to_string(2 * r.s->selStart) + " " + std::to_string(2 * r.buf.size()));
    r.out->writes.push_back(r.buf);
}

static int32_t review(RunState &r, uint32_t p, const char *text, uint32_t allowGoBack)
{
    Review rv{(int32_t)p, text, allowGoBack, r.passNumber};
    int32_t index = (int32_t)r.out->reviews.size();
    r.out->reviews.push_back(rv);
    return (*r.answer)(index, rv);
}

static bool repair(RunState &r)
{
    int32_t ok = repairSpan(r.buf.data(), (uint32_t)r.buf.size(), r.params);
    if (!ok) r.out->boxes.push_back("Can't repair this.");
    return ok != 0;
}

// Passes beyond this mean the run would not end: automatic repairs that alter the buffer every pass.
static const int32_t kPassLimit = 300;

enum Flow { END_OF_SAMPLE, NEXT_SAMPLE, END_SCAN };

// The stop rules for code at p; may move p and the running mean.
static Flow stopRules(RunState &r, int32_t code, uint32_t &p, int32_t &mean)
{
    r.lastResult = code;
    switch (code) {
    case 6: case 7:
        r.lastStop = p;
        if (repair(r)) r.changed = true;
        if (code == 7) r.autoRepair = true;
        return END_OF_SAMPLE;
    case 3:
        r.lastStop = p;
        if (r.s->multipass) r.changed = true;
        return END_OF_SAMPLE;
    case 1036:
        r.lastStop = p;
        modelAddSkipped((int32_t)p);
        r.changed = true;
        return END_OF_SAMPLE;
    case 4:
        if (r.lastStop > 25) {
            p = r.lastStop - 25;
            r.lastStop = 0;
            mean = 1;
        }
        return NEXT_SAMPLE;
    default:
        r.lastStop = p;
        return END_SCAN;
    }
}

// A candidate that passed the level and size tests; says how the scan goes on.
static Flow candidate(RunState &r, uint32_t &p, int32_t jump, int32_t &mean)
{
    uint32_t count = (uint32_t)r.buf.size();
    if (p < count - 41) {
        int32_t sum = 0;
        for (uint32_t k = p + 20; k <= p + 39; ++k) sum += jumpAt(r.buf, k);
        if (!levelTest(r.params, jump, sum / 20)) return END_OF_SAMPLE;
    }
    if (modelIsSkipped((int32_t)p)) return NEXT_SAMPLE;
    refLocateSpan(r.buf.data(), count, p, r.params);
    if (r.params.useBaseFreqVer != 0 && r.params.baseFreqVerS > 0 && verifyAt(r, p) == 0) return NEXT_SAMPLE;
    if (r.lastStop == 0) r.bestGuess = p;
    int32_t code = 6;
    if (!r.autoRepair) {
        int32_t ok = verifyAt(r, p);
        char text[1024];
        std::snprintf(text, sizeof text, "Possible click found at sample %d  (%d/%d)\nBase Frequency Verification: %s",
                      (int32_t)(r.s->selStart + p + 1), jump, mean, ok ? "OK" : "Reject");
        code = review(r, p, text, r.lastStop > 25 ? 1u : 0u);
    }
    return stopRules(r, code, p, mean);
}

static void scanPass(RunState &r)
{
    uint32_t count = (uint32_t)r.buf.size();
    int32_t sum = 0;
    for (uint32_t i = 1; i <= 20; ++i) sum += jumpAt(r.buf, i);
    int32_t mean = sum / 20;
    r.lastStop = 0;
    r.bestScore = 0;
    r.bestGuess = 0;
    for (uint32_t p = 20; p < count; ++p) {
        int32_t jump = jumpAt(r.buf, p);
        int32_t score = jump + (1000 * jump) / (mean > 1 ? mean : 1);
        if (score > r.bestScore && !modelIsSkipped((int32_t)p)) {
            bool accept = true;
            if (!r.autoRepair) {
                refLocateSpan(r.buf.data(), count, p, r.params);
                accept = r.params.useBaseFreqVer == 0 || r.params.baseFreqVerS <= 0 || verifyAt(r, p) != 0;
            }
            if (accept) { r.bestScore = score; r.bestGuess = p; }
        }
        Flow flow = END_OF_SAMPLE;
        if (p > r.lastStop + 20 && levelTest(r.params, jump, mean) && (jump > 20 || mean > 10))
            flow = candidate(r, p, jump, mean);
        if (flow == END_SCAN) return;
        if (flow == NEXT_SAMPLE) continue;
        if (p > r.lastStop + 20 && jump > mean / 32 && jump > 2) mean = (jump + 15 * mean + 8) / 16;
        if (p % 128 == 0) {
            r.out->events.push_back("progress " + std::to_string(p) + " " + std::to_string(count));
            if (++r.progressCalls == r.s->cancelAtProgress) r.cancel = true;
            if (r.cancel) return;
        }
    }
}

// The best guess at the end of a pass that stopped nowhere; true when it counts as a change.
static bool bestGuess(RunState &r)
{
    uint32_t count = (uint32_t)r.buf.size();
    refLocateSpan(r.buf.data(), count, r.bestGuess, r.params);
    int32_t ok = verifyAt(r, r.bestGuess);
    char text[1024];
    std::snprintf(text, sizeof text, "Best guess of the click found at sample %d\nBase Frequency Verification: %s",
                  (int32_t)(r.s->selStart + r.bestGuess + 1), ok ? "OK" : "Reject");
    int32_t code = review(r, r.bestGuess, text, 0);
    r.lastResult = code;
    r.lastStop = r.bestGuess;
    if (code == 6 || code == 7) {
        if (repair(r)) { write(r); return true; }
        if (r.changed) write(r);
        return false;
    }
    if (code == 1036) { modelAddSkipped((int32_t)r.bestGuess); return true; }
    return false;
}

Outcome refRun(const std::vector<int16_t> &input, const Settings &s, const Answerer &answer)
{
    Outcome out{};
    RunState r{};
    r.s = &s;
    r.answer = &answer;
    r.out = &out;
    r.buf = input;
    r.params = initialClickParams();
    r.params.c1 = s.c1; r.params.d1 = s.d1; r.params.c2 = s.c2;
    r.params.lineBezier = s.lineBezier;
    r.params.multipass = s.multipass;
    r.params.useBaseFreqVer = s.useBaseFreqVer;
    r.params.baseFreqVerS = s.baseFreqVerS;
    out.result = 1;
    int32_t quietPasses = 0;
    for (;;) {
        ++r.passNumber;
        if (r.passNumber > kPassLimit) { out.endless = true; break; }
        std::vector<int16_t> atStart = r.buf;
        size_t reviewsAtStart = out.reviews.size();
        scanPass(r);
        bool scanReviewed = out.reviews.size() != reviewsAtStart;
        quietPasses = scanReviewed ? 0 : quietPasses + 1;
        // A scan without reviews counts only when it changed the buffer, and not after 32 such passes
        // in a row.
        bool scanChanged = r.changed && (scanReviewed || (r.buf != atStart && quietPasses < 32));
        if (r.changed) write(r);
        out.events.push_back("finish");
        if (r.cancel) break;
        bool bgChanged = false;
        if (r.lastStop == 0) {
            if (r.bestGuess == 0) { out.boxes.push_back("Nothing looking like click found in this pass."); break; }
            bgChanged = bestGuess(r);
        }
        bool passChanged = scanChanged || bgChanged;
        if (!(s.multipass && passChanged && r.lastResult != 2)) break;
        r.changed = false;
    }
    out.audio = r.buf;
    return out;
}

} // namespace refmodel
