// The review script's parser: a table of accepted actions with what they mean, a table of refused
// lines with the reason, and the grouping of reviews by line and by '/'.
#include <gtest/gtest.h>
#include "app/review_script.h"

TEST(ReviewScript, AcceptedActionsMeanWhatTheySay)
{
    struct Row {
        const char *text;
        int32_t kind, item, code, value, target;
        const char *fieldText;
    };
    const Row rows[] = {
        {"set:c1=5", ACTION_SET, 110, 0, 0, 0, "5"},
        {"set:1040=", ACTION_SET, 1040, 0, 0, 0, ""},
        {"set: severity = x y", ACTION_SET, 1040, 0, 0, 0, " x y"},
        {"check:Multipass", ACTION_CHECK, 1034, 0, 0, 0, ""},
        {"check:1039", ACTION_CHECK, 1039, 0, 0, 0, ""},
        {"zoom:line-up", ACTION_SCROLL, 1030, 0, 0, 0, ""},
        {"blend:thumb=6", ACTION_SCROLL, 1033, 4, 6, 0, ""},
        {"width:page-right", ACTION_SCROLL, 1035, 3, 0, 0, ""},
        {"width:track=65535", ACTION_SCROLL, 1035, 5, 65535, 0, ""},
        {"zoom:bottom", ACTION_SCROLL, 1030, 7, 0, 0, ""},
        {"blend:end-scroll", ACTION_SCROLL, 1033, 8, 0, 0, ""},
        {"drag:12>-40", ACTION_DRAG, 0, DRAG_FROM_COLUMN, 12, -40, ""},
        {"drag:start=40", ACTION_DRAG, 0, DRAG_FROM_START, 0, 40, ""},
        {"drag:end>#8010", ACTION_DRAG, 0, DRAG_FROM_END, 0, 8010, ""},
        {"wait:0", ACTION_WAIT, 0, 0, 0, 0, ""},
        {"wait:60000", ACTION_WAIT, 0, 0, 60000, 0, ""},
        {"press:skip", ACTION_PRESS, 1036, 0, 0, 0, ""},
        {"press:4", ACTION_PRESS, 4, 0, 0, 0, ""},
    };
    for (const Row &row : rows) {
        ReviewActions actions;
        std::string error;
        ASSERT_EQ(parseReviewActions(row.text, &actions, &error), 1) << row.text << ": " << error;
        ASSERT_EQ(actions.size(), 1u) << row.text;
        const ReviewAction &a = actions[0];
        EXPECT_EQ(a.kind, row.kind) << row.text;
        EXPECT_EQ(a.item, row.item) << row.text;
        EXPECT_EQ(a.code, row.code) << row.text;
        EXPECT_EQ(a.value, row.value) << row.text;
        EXPECT_EQ(a.target, row.target) << row.text;
        EXPECT_EQ(a.text, row.fieldText) << row.text;
    }
    ReviewActions actions;
    std::string error;
    ASSERT_EQ(parseReviewActions("drag:#150>#160", &actions, &error), 1) << error;
    EXPECT_TRUE(actions[0].fromPosition && actions[0].toPosition) << "positions on both sides";
}

TEST(ReviewScript, RefusedLinesNameTheAction)
{
    const char *const lines[] = {
        "set:c3=1",        // no such field
        "set:c1",          // no text
        "check:110",       // a field is no check box
        "zoom:sideways",   // no such scroll code
        "zoom:thumb=-1",   // thumb positions are 16-bit unsigned
        "zoom:thumb=65536",
        "blend:9",         // raw codes are not accepted
        "drag:start",      // no target
        "drag:40",         // no target
        "drag:start>40000", // beyond a 16-bit column
        "drag:#0>10",      // positions start at 1
        "drag:middle>10",
        "wait:60001",
        "wait:-1",
        "press:maybe",
        "press:stop,next",
        "press:",
        "hover:10",
        "press:stop;set:c1=1", // nothing after a press
    };
    for (const char *line : lines) {
        ReviewActions actions;
        std::string error;
        EXPECT_EQ(parseReviewActions(line, &actions, &error), 0) << line;
        EXPECT_NE(error.find('"'), std::string::npos) << line << ": got \"" << error << "\"";
    }
}

TEST(ReviewScript, ReviewsAreLinesAndSlashGroups)
{
    std::vector<ReviewActions> reviews;
    std::string error;
    ASSERT_EQ(parseReviewScript("# comment\nset:c1=5;press:next / \n\n  # another\npress:stop\n", &reviews, &error), 1)
        << error;
    ASSERT_EQ(reviews.size(), 3u) << "the empty group after '/' is a review left to the fallback";
    EXPECT_EQ(reviews[0].size(), 2u);
    EXPECT_TRUE(reviews[1].empty());
    EXPECT_EQ(reviews[2][0].item, 1);

    EXPECT_EQ(parseReviewScript("press:stop\nzoom:nowhere\n", &reviews, &error), 0);
    EXPECT_EQ(error.rfind("review 2: ", 0), 0u) << "got \"" << error << "\"";
}
