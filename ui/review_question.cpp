// The question-box form of the review, used when the host gave no window or no instance: the
// candidate message with the question appended in place, answered with Yes, No or Cancel.
// No state of its own; the message usually lives in the shared text buffer.
#include <cstring>
#include "dialog_ids.h"
#include "plugin/messages.h"
#include "plugin/module_state.h"
#include "plugin/platform.h"
#include "review_forms.h"

// Appends the question to message in place. In the shared text buffer the question is cut short
// rather than written past its end; other callers provide room for the 40 characters.
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
