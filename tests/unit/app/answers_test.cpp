// The scripted user: answer names and ids, their buttons in the question box, which boxes consume
// answers, the automatic choice, and the typed answers of a person at the terminal.
#include <gtest/gtest.h>
#include "app/box_script.h"
#include "app/terminal_prompt.h"

// Flags as the plug-in passes them.
enum : uint32_t { PLAIN_ERROR = 0x10, PLAIN_INFO = 0x40, YES_NO_QUESTION = 0x24, REVIEW_QUESTION = 0x23 };

static BoxScript script(int32_t mode, std::vector<int32_t> answers, bool refuseLong = false)
{
    return BoxScript{mode, answers, 0, refuseLong};
}

TEST(AnswerList, NamesAndIdsInAnyCaseWithBlanks)
{
    struct Row {
        const char *list;
        std::vector<int32_t> ids;
    };
    const Row rows[] = {
        {"stop,repair,next,back,close,auto,skip", {1, 6, 3, 4, 2, 7, 1036}},
        {"1,6,3,4,2,7,1036", {1, 6, 3, 4, 2, 7, 1036}},
        {" Repair , AUTO\t,stop ", {6, 7, 1}},
        {"", {}},
        {"  ", {}},
        {"0006", {6}},
    };
    for (const Row &row : rows) {
        std::vector<int32_t> ids = {99};
        std::string error;
        EXPECT_EQ(parseAnswerList(row.list, &ids, &error), 1) << "\"" << row.list << "\": " << error;
        EXPECT_EQ(ids, row.ids) << "\"" << row.list << "\"";
    }
    for (const char *bad : {"repair,", ",stop", "yes", "5", "1037", "-1", "re pair"}) {
        std::vector<int32_t> ids;
        std::string error;
        EXPECT_EQ(parseAnswerList(bad, &ids, &error), 0) << "\"" << bad << "\" was accepted";
        EXPECT_FALSE(error.empty());
    }
}

TEST(QuestionForm, OnlyRepairStopAndAutoHaveAButton)
{
    struct Row {
        int32_t answer;
        int32_t button;
    };
    const Row rows[] = {{ANSWER_REPAIR, BUTTON_YES}, {ANSWER_STOP, BUTTON_NO}, {ANSWER_AUTO, BUTTON_CANCEL},
                        {ANSWER_NEXT, 0},           {ANSWER_BACK, 0},         {ANSWER_CLOSE, 0},
                        {ANSWER_SKIP, 0},           {5, 0}};
    for (const Row &row : rows)
        EXPECT_EQ(questionButtonFor(row.answer), row.button) << answerName(row.answer);
}

TEST(BoxKinds, TypeBitsDecide)
{
    EXPECT_EQ(classifyBox(PLAIN_ERROR), BOX_PLAIN);
    EXPECT_EQ(classifyBox(PLAIN_INFO), BOX_PLAIN);
    EXPECT_EQ(classifyBox(0x01), BOX_PLAIN);
    EXPECT_EQ(classifyBox(YES_NO_QUESTION), BOX_YES_NO);
    EXPECT_EQ(classifyBox(REVIEW_QUESTION), BOX_REVIEW);
    EXPECT_STREQ(iconName(PLAIN_ERROR), "error");
    EXPECT_STREQ(iconName(PLAIN_INFO), "information");
    EXPECT_STREQ(iconName(REVIEW_QUESTION), "question");
    EXPECT_STREQ(iconName(0x30), "warning");
    EXPECT_STREQ(iconName(0x00), "none");
    EXPECT_STREQ(iconName(0x04), "none");
}

TEST(ScriptedUser, ReviewsConsumeTheListPlainBoxesDoNot)
{
    BoxScript s = script(REVIEW_SCRIPT, {ANSWER_REPAIR, ANSWER_AUTO});
    EXPECT_EQ(scriptedButton(&s, PLAIN_ERROR, "Can't repair this."), BUTTON_OK);
    EXPECT_EQ(scriptedButton(&s, YES_NO_QUESTION, "You selected very long area.\nContinue?"), BUTTON_YES);
    EXPECT_EQ(s.nextAnswer, 0u) << "only reviews take answers from the list";
    EXPECT_EQ(scriptedButton(&s, REVIEW_QUESTION, "Possible click found at sample 5"), BUTTON_YES);
    EXPECT_EQ(scriptedButton(&s, PLAIN_INFO, "Can't repair this."), BUTTON_OK);
    EXPECT_EQ(scriptedButton(&s, REVIEW_QUESTION, "Best guess of the click"), BUTTON_CANCEL);
    // The list has run out: stop, however many reviews follow.
    EXPECT_EQ(scriptedButton(&s, REVIEW_QUESTION, "Possible click found at sample 9"), BUTTON_NO);
    EXPECT_EQ(scriptedButton(&s, REVIEW_QUESTION, "Possible click found at sample 9"), BUTTON_NO);
}

TEST(ScriptedUser, LongSelectionQuestionFollowsRefuseLong)
{
    BoxScript yes = script(REVIEW_AUTO, {});
    BoxScript no = script(REVIEW_AUTO, {}, true);
    EXPECT_EQ(scriptedButton(&yes, YES_NO_QUESTION, "You selected very long area.\nContinue?"), BUTTON_YES);
    EXPECT_EQ(scriptedButton(&no, YES_NO_QUESTION, "You selected very long area.\nContinue?"), BUTTON_NO);
}

TEST(ScriptedUser, AutomaticModeGoesByTheMessage)
{
    struct Row {
        const char *message;
        int32_t answer;
    };
    const Row rows[] = {
        {"Possible click found at sample 151  (13809/236)\nBase Frequency Verification: OK", ANSWER_AUTO},
        {"Best guess of the click found at sample 77\nBase Frequency Verification: Reject", ANSWER_STOP},
        {"Possible clic", ANSWER_STOP},
        {" Possible click", ANSWER_STOP},
        {"possible click", ANSWER_STOP},
        {"", ANSWER_STOP},
        {nullptr, ANSWER_STOP},
    };
    for (const Row &row : rows)
        EXPECT_EQ(automaticAnswer(row.message), row.answer) << (row.message ? row.message : "(null)");
    BoxScript s = script(REVIEW_AUTO, {ANSWER_REPAIR});
    EXPECT_EQ(scriptedButton(&s, REVIEW_QUESTION, "Possible click found at sample 3"), BUTTON_CANCEL);
    EXPECT_EQ(scriptedButton(&s, REVIEW_QUESTION, "Best guess of the click found at sample 3"), BUTTON_NO);
}

TEST(TerminalUser, TypedAnswers)
{
    struct Row {
        const char *typed;
        int32_t button;
    };
    const Row rows[] = {{"r", BUTTON_YES},       {"Repair", BUTTON_YES}, {" yes ", BUTTON_YES}, {"6", BUTTON_YES},
                        {"s", BUTTON_NO},        {"stop", BUTTON_NO},    {"N", BUTTON_NO},      {"1", BUTTON_NO},
                        {"a", BUTTON_CANCEL},    {"auto", BUTTON_CANCEL}, {"cancel", BUTTON_CANCEL},
                        {"7", BUTTON_CANCEL},    {"next", 0},            {"skip", 0},           {"", 0},
                        {"repair,stop", 0},      {"x", 0}};
    for (const Row &row : rows)
        EXPECT_EQ(buttonForTypedAnswer(row.typed), row.button) << "\"" << row.typed << "\"";
}
