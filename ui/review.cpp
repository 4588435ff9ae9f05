// reviewCandidate: builds the ReviewRequest in its own frame, so that it lives exactly as long as the
// modal dialog, and picks the dialog or the question box; and runReview, the search's way to it with
// the replacement tests may set (reviewOverride, null at load).
#include "review.h"
#include "plugin/module_state.h"
#include "review_forms.h"

ReviewFunction reviewOverride = nullptr;

int32_t reviewCandidate(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                        ClickParams *params, uint32_t allowGoBack, int32_t passNumber)
{
    ReviewRequest request = {wave, samples, sampleCount, candidate, message, params, allowGoBack, passNumber};
    if (hostInstance && hostWindow)
        return runReviewDialog(request);
    return askReviewQuestion(message);
}

int32_t runReview(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                  ClickParams *params, uint32_t allowGoBack, int32_t passNumber)
{
    if (reviewOverride)
        return reviewOverride(wave, samples, sampleCount, candidate, message, params, allowGoBack, passNumber);
    return reviewCandidate(wave, samples, sampleCount, candidate, message, params, allowGoBack, passNumber);
}
