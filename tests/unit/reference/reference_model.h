// A plain, slow model of one search run: span finder, base-frequency verification, the scan pass with
// its best guess and stop rules, and the run's passes, written sample by sample beside the fast code.
// It owns one piece of state, its own skip list, which like the plug-in's survives from run to run
// until refModelReset(). Repairs call the plug-in's repairSpan on the model's own buffer.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "plugin/click_params.h"

namespace refmodel {

struct Review {
    int32_t candidate;    // buffer index shown
    std::string message;  // the text handed to the review
    uint32_t allowGoBack; // 0 or 1
    int32_t passNumber;   // 1 = first pass
};

// Answers a review; index counts the reviews of the run from 0.
typedef std::function<int32_t(int32_t index, const Review &review)> Answerer;

struct Settings {
    int32_t c1, d1, c2;      // detector thresholds, >= 1
    int32_t lineBezier;      // repair blend 0..12
    uint32_t multipass;      // nonzero: further passes
    uint32_t useBaseFreqVer; // nonzero: rejections pass candidates over
    int32_t baseFreqVerS;    // severity, any value
    int32_t sampleRate;      // samples per second, >= 0
    uint32_t selStart;       // host index of buffer index 0
    int32_t cancelAtProgress;// the host raises its cancel flag at this progress call (1-based), 0 = never
};

struct Outcome {
    std::vector<Review> reviews;             // every review, in order
    std::vector<std::string> events;         // "progress I N", "write O B", "finish"
    std::vector<std::vector<int16_t>> writes;// the buffer as each write delivered it
    std::vector<std::string> boxes;          // message box texts, in order
    std::vector<int16_t> audio;              // the buffer at the end of the run
    int32_t result;                          // what the run returns
    bool endless;                            // the passes went on past the model's limit (300)
};

// Forgets the model's skip list (the plug-in's resetModuleState does the same for its own).
void refModelReset();

// The click span of candidate p into params.spanStart/spanEnd.
void refLocateSpan(const int16_t *x, uint32_t count, uint32_t p, ClickParams &params);

// 1 = accept, 0 = reject; clips the span in params as the verification does. sampleRate < 0 = no wave.
int32_t refVerify(const int16_t *x, uint32_t p, uint32_t count, ClickParams &params, int32_t sampleRate);

// The walkers, the mean and the centre; -1 for arguments out of range.
int32_t refTroughLeft(const int16_t *x, int32_t start, int32_t h);
int32_t refPeakLeft(const int16_t *x, int32_t start, int32_t h);
int32_t refTroughRight(const int16_t *x, int32_t start, uint32_t count, int32_t h);
int32_t refPeakRight(const int16_t *x, int32_t start, uint32_t count, int32_t h);
int32_t refIntegerMean(const int32_t *v, int32_t n);
int32_t refRobustCentre(const int32_t *v, int32_t n);

// One whole run (count >= 42, mono, 16-bit) over a copy of input; touches the model's skip list.
Outcome refRun(const std::vector<int16_t> &input, const Settings &s, const Answerer &answer);

} // namespace refmodel
