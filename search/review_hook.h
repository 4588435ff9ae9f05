// The review as the search calls it: reviewCandidate, unless a test has put a replacement in its place
// (the question box can only answer three of the seven result codes).
#pragma once
#include <cstdint>
#include "plugin/click_params.h"
#include "plugin/xfm_types.h"

typedef int32_t (*ReviewFunction)(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate,
                                  char *message, ClickParams *params, uint32_t allowGoBack, int32_t passNumber);

// Null (the load-time value) calls reviewCandidate; tests set it to script the answers.
extern ReviewFunction reviewOverride;

// Calls reviewOverride when set, else reviewCandidate, with the same arguments; returns its result code.
int32_t runReview(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                  ClickParams *params, uint32_t allowGoBack, int32_t passNumber);
