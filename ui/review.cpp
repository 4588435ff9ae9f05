// The review of one candidate as the search reaches it: runReview, with the replacement tests may set
// (reviewOverride, null at load); reviewCandidate, which builds the ReviewRequest in its own frame, so
// that it lives exactly as long as the modal dialog, and picks the dialog or the question box; and the
// question-box form, used when the host gave no window or no instance: the candidate message with the
// question appended in place, answered with Yes, No or Cancel. The message usually lives in the shared
// text buffer.
#include "review.h"
#include <cstring>
#include "dialog_ids.h"
#include "plugin/messages.h"
#include "plugin/module_state.h"
#include "plugin/platform.h"
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

// ---- The question box

static void appendQuestion(char *message)
{
    size_t length = strlen(message);
    size_t room = strlen(MSG_REVIEW_QUESTION);
    if (message == textBuffer) {
        room = length < (size_t)TEXT_BUFFER_SIZE - 1 ? (size_t)TEXT_BUFFER_SIZE - 1 - length : 0;
    }
    strncat(message, MSG_REVIEW_QUESTION, room);
}

// The question's words name the actions: Yes "Continue" repairs, No "Stop" stops here, Cancel "Auto"
// switches to automatic repair. The box's own values 7 (No) and 2 (Cancel) would instead mean
// "AutoRepair" and "Close" to the run, so the answer is translated to the codes the words name.
static int32_t translateAnswer(int32_t answer)
{
    switch (answer) {
    case IDYES:
        return ID_REPAIR;
    case IDNO:
        return ID_STOP_HERE;
    case IDCANCEL:
        return ID_AUTO_REPAIR;
    default:
        return answer;
    }
}

int32_t askReviewQuestion(char *message)
{
    const char *text = MSG_REVIEW_QUESTION;
    if (message) {
        appendQuestion(message);
        text = message;
    }
    int32_t answer = MessageBoxA(nullptr, text, MSG_TITLE, MB_YESNOCANCEL | MB_ICONQUESTION);
    return translateAnswer(answer);
}
