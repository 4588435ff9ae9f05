// The question box that stands in for the review dialog when the host gave no window or instance:
// the question appended in place, the box's flags, and the answers translated to the codes the
// question's own words name.
#include <gtest/gtest.h>
#include <cstring>
#include "plugin/module_state.h"
#include "support/fake_host.h"
#include "ui/dialog_ids.h"
#include "ui/review.h"
#include "ui/review_forms.h"

namespace {

class ReviewQuestionTest : public PluginTest {};

TEST_F(ReviewQuestionTest, AnswersMeanWhatTheQuestionSays)
{
    struct Row { int answer; int32_t code; };
    const Row rows[] = {
        {IDYES, ID_REPAIR},           // "Continue"
        {IDNO, ID_STOP_HERE},         // "Stop"
        {IDCANCEL, ID_AUTO_REPAIR},   // "Auto"
        {IDOK, IDOK},                 // anything else passes through
        {0, 0},
        {-1, -1},
    };
    for (const Row &row : rows) {
        strcpy(textBuffer, "Possible click");
        fakeHost().answers = {row.answer};
        EXPECT_EQ(askReviewQuestion(textBuffer), row.code) << "answer " << row.answer;
    }
}

TEST_F(ReviewQuestionTest, QuestionIsAppendedInPlaceAndAskedWithoutOwner)
{
    strcpy(textBuffer, "Possible click found at sample 6001  (1200/100)\nBase Frequency Verification: OK");
    fakeHost().answers = {IDNO};
    // Through the review itself: no host window and no instance pick the box.
    EXPECT_EQ(reviewCandidate(&fakeHost().wave, nullptr, 0, 0, textBuffer, nullptr, 0, 1), ID_STOP_HERE);
    const std::string expected = "Possible click found at sample 6001  (1200/100)\nBase Frequency Verification: OK"
                                 "\n\nContinue(YES), Stop(NO), Auto(CANCEL)?";
    EXPECT_EQ(std::string(textBuffer), expected);
    ASSERT_EQ(fakeHost().boxes.size(), 1u);
    EXPECT_EQ(fakeHost().boxes[0].text, expected);
    EXPECT_EQ(fakeHost().boxes[0].title, "Vantrope");
    EXPECT_EQ(fakeHost().boxes[0].flags, 0x23u);
    EXPECT_EQ(fakeHost().boxes[0].owner, nullptr);
}

TEST_F(ReviewQuestionTest, NoMessageOrAFullBufferIsAskedSafely)
{
    fakeHost().answers = {IDYES, IDYES};
    EXPECT_EQ(askReviewQuestion(nullptr), ID_REPAIR);
    EXPECT_EQ(fakeHost().boxes.back().text, "\n\nContinue(YES), Stop(NO), Auto(CANCEL)?");

    memset(textBuffer, 'x', 1000);
    textBuffer[1000] = '\0';
    EXPECT_EQ(askReviewQuestion(textBuffer), ID_REPAIR);
    EXPECT_EQ(strlen(textBuffer), 1023u) << "the question is cut at the end of the shared buffer";
    EXPECT_EQ(std::string(textBuffer + 1000), std::string("\n\nContinue(YES), Stop(N")) << "23 places were left";
}

} // namespace
