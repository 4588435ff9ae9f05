// The review of one candidate: the modal dialog "Possible click" (template 105) over the host window,
// or a plain question box when the host gave no window or no instance. Returns the id of the button
// that ended it (dialog_ids.h), which the run driver acts on. The search reaches it through runReview,
// which tests may point elsewhere (the question box can only answer three of the seven result codes).
#pragma once
#include <cstdint>
#include "plugin/click_params.h"
#include "plugin/xfm_types.h"

struct ReviewRequest {
    XfmWave *wave;           // the run's host record; carried along, not read
    int16_t *samples;        // the run's sample buffer, index 0 = selStart; never written here
    uint32_t sampleCount;    // samples in the buffer
    int32_t candidate;       // buffer index of the candidate, 0 <= candidate < sampleCount
    char *message;           // candidate message (in the shared text buffer), or null
    ClickParams *params;     // the settings the dialog shows and edits
    uint32_t allowGoBack;    // 0 disables "Go Back"
    int32_t passNumber;      // above 1 it is shown in the caption
};

// Shows the candidate and returns the button id (or the question box's translated answer, or -1 when
// the dialog could not be created). Touches activeRequest and the view's module state.
int32_t reviewCandidate(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                        ClickParams *params, uint32_t allowGoBack, int32_t passNumber);

// Restores the review's and the view's module state to its load-time values (tests only).
void resetReviewState();

typedef int32_t (*ReviewFunction)(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate,
                                  char *message, ClickParams *params, uint32_t allowGoBack, int32_t passNumber);

// Null (the load-time value) calls reviewCandidate; tests set it to script the answers.
extern ReviewFunction reviewOverride;

// Calls reviewOverride when set, else reviewCandidate, with the same arguments; returns its result code.
int32_t runReview(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                  ClickParams *params, uint32_t allowGoBack, int32_t passNumber);
