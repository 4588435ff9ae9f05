// The two forms of the review, chosen by reviewCandidate: the modal dialog and the question box.
#pragma once
#include <cstdint>
#include "review.h"

// The modal dialog from template 105 of hostInstance, owned by hostWindow; returns its result as it
// comes (-1 when it could not be created).
int32_t runReviewDialog(ReviewRequest &request);

// The question box used when the host gave no window or no instance: appends the question to message
// in place and returns the answer translated to the codes the question's words name.
int32_t askReviewQuestion(char *message);
