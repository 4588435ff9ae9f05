// The search's way to the review, with the replacement tests may set (reviewOverride, null at load).
#include "review_hook.h"
#include "ui/review.h"

ReviewFunction reviewOverride = nullptr;

int32_t runReview(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                  ClickParams *params, uint32_t allowGoBack, int32_t passNumber)
{
    if (reviewOverride)
        return reviewOverride(wave, samples, sampleCount, candidate, message, params, allowGoBack, passNumber);
    return reviewCandidate(wave, samples, sampleCount, candidate, message, params, allowGoBack, passNumber);
}
