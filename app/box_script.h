// How the host answers the plug-in's message boxes without a person: the review answers by name and
// id, their translation to the buttons of the question box, and the scripted and automatic choices.
// Pure standard C++; the script's position in the answer list is the only state, held by the caller.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "ui/dialog_ids.h"

// Review answers: the ids of the review dialog's buttons.
enum ReviewAnswer : int32_t {
    ANSWER_STOP = ID_STOP_HERE,
    ANSWER_CLOSE = ID_CLOSE,
    ANSWER_NEXT = ID_FIND_NEXT,
    ANSWER_BACK = ID_GO_BACK,
    ANSWER_REPAIR = ID_REPAIR,
    ANSWER_AUTO = ID_AUTO_REPAIR,
    ANSWER_SKIP = ID_SKIP
};

// Button results of a message box, as the platform numbers them.
enum BoxButton : int32_t { BUTTON_OK = 1, BUTTON_CANCEL = 2, BUTTON_YES = 6, BUTTON_NO = 7 };

// What kind of box the plug-in asked for, from its button flags.
enum BoxKind : int32_t {
    BOX_PLAIN = 0,     // OK (or OK/Cancel): error and information messages
    BOX_YES_NO = 1,    // the very-long-selection question
    BOX_REVIEW = 2     // Yes/No/Cancel: a candidate put to the user in the question form
};

enum ReviewMode : int32_t {
    REVIEW_SCRIPT = 0, // from the --answers list, then stop
    REVIEW_AUTO = 1,   // auto at "Possible click", stop at "Best guess" and anything else
    REVIEW_ASK = 2,    // a person answers
    REVIEW_LIST = 3    // "Find Next" at every review: the run changes nothing (--list)
};

struct BoxScript {
    int32_t mode;                 // a ReviewMode
    std::vector<int32_t> answers; // ReviewAnswer ids for REVIEW_SCRIPT, in order
    uint32_t nextAnswer;          // index of the next unused answer, 0..answers.size()
    bool refuseLong;              // answer the Yes/No question No instead of Yes
};

// Parses a comma-separated list of answers (button names or ids) into ids. Returns 1, or 0 with the
// offending item named in *error. Names are case-insensitive; blanks round an item are ignored; an
// empty list gives no answers.
int32_t parseAnswerList(const std::string &list, std::vector<int32_t> *ids, std::string *error);

// The name of a ReviewAnswer ("stop", "repair", ...), or "?" for any other value.
const char *answerName(int32_t answer);

// The question box's button that carries a review answer: Yes for repair, No for stop, Cancel for
// auto; 0 when the box has no button for it.
int32_t questionButtonFor(int32_t answer);

// Checks that every answer can be given in the form the reviews will take. Returns 1, or 0 with the
// first answer that cannot be given named in *error.
int32_t checkAnswersForForm(const std::vector<int32_t> &answers, bool dialogForm, std::string *error);

// Classifies a box by the type bits of its flags.
int32_t classifyBox(uint32_t flags);

// The automatic choice for a review message: auto for "Possible click...", stop otherwise.
int32_t automaticAnswer(const char *message);

// The next review answer the script gives for message (REVIEW_SCRIPT, REVIEW_AUTO or REVIEW_LIST);
// advances script->nextAnswer. Once the list has run out every answer is stop.
int32_t scriptedAnswer(BoxScript *script, const char *message);

// The button a scripted host presses for a box of any kind: OK for plain boxes, Yes (No with
// refuseLong) for the Yes/No question, the scripted answer's button for reviews (No when the box has
// no button for it). Advances the script for reviews.
int32_t scriptedButton(BoxScript *script, uint32_t flags, const char *message);

// The transcript's name for the icon bits of flags: "error", "question", "warning", "information"
// or "none".
const char *iconName(uint32_t flags);
