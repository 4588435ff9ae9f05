// The review dialog (placeholder until the dialog lands: falls back to the question box).
#include "review_forms.h"

int32_t runReviewDialog(ReviewRequest &request) { return askReviewQuestion(request.message); }

void resetReviewState() {}
