// The review of a candidate (placeholder: the question box only).
#include "review.h"
#include <cstring>
#include "plugin/messages.h"
#include "plugin/platform.h"

int32_t reviewCandidate(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                        ClickParams *params, uint32_t allowGoBack, int32_t passNumber)
{
    (void)wave;
    (void)samples;
    (void)sampleCount;
    (void)candidate;
    (void)params;
    (void)allowGoBack;
    (void)passNumber;
    strcat(message, MSG_REVIEW_QUESTION);
    return MessageBoxA(nullptr, message, MSG_TITLE, MB_YESNOCANCEL | MB_ICONQUESTION);
}

void resetReviewState() {}
