// The question box form of the review (placeholder: answers are passed on untranslated).
#include <cstring>
#include "plugin/messages.h"
#include "plugin/platform.h"
#include "review_forms.h"

int32_t askReviewQuestion(char *message)
{
    strcat(message, MSG_REVIEW_QUESTION);
    return MessageBoxA(nullptr, message, MSG_TITLE, MB_YESNOCANCEL | MB_ICONQUESTION);
}
