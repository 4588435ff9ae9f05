// Scripted review: the actions a scripted user takes in the open review dialog (edit a field, tick a
// box, move a bar, drag across the view, wait, press a button), parsed from --review or --script.
// Pure standard C++ with no platform calls, so the tests check the parser directly. Owns no state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum ReviewActionKind : int32_t {
    ACTION_SET = 0,    // put text into an edit field
    ACTION_CHECK = 1,  // click a check box (toggles it)
    ACTION_SCROLL = 2, // one scroll message to a bar
    ACTION_DRAG = 3,   // press at one column of the view, move to another, release there
    ACTION_WAIT = 4,   // pause with the dialog open
    ACTION_PRESS = 5   // click a push button; ends the review
};

// Where a drag starts: a column, or the column the start or end marker was drawn at.
enum DragOrigin : int32_t { DRAG_FROM_COLUMN = 0, DRAG_FROM_START = 1, DRAG_FROM_END = 2 };

struct ReviewAction {
    int32_t kind;     // a ReviewActionKind
    int32_t item;     // dialog item id: field, check box, bar or button (0 for drag and wait)
    int32_t code;     // scroll code 0..8 for ACTION_SCROLL; DragOrigin for ACTION_DRAG
    int32_t value;    // thumb position (scroll), start column (drag from a column), pause in ms (wait)
    int32_t target;   // column the drag ends at, -32768..32767 (left of or beyond the view allowed)
    std::string text; // the field's new text for ACTION_SET, at most 255 characters
    bool fromPosition; // drag: value is a sample position (selStart + index + 1), not a column
    bool toPosition;   // drag: target is a sample position, not a column
};

// The actions of one review, in order. A review whose actions press no button is answered by the
// fallback (--answers, --auto or a person) once its actions have run.
typedef std::vector<ReviewAction> ReviewActions;

// Parses one review: actions separated by ';' (blanks round an action are ignored, an empty action
// is skipped). Returns 1, or 0 with the offending action named in *error. Nothing may follow a press.
int32_t parseReviewActions(const std::string &line, ReviewActions *actions, std::string *error);

// Parses a whole script: one review per line, or per '/'-separated group within a line; lines whose
// first non-blank character is '#' are comments. Every group counts, an empty one included (it
// leaves that review to the fallback). Returns 1, or 0 with the review number and the reason.
int32_t parseReviewScript(const std::string &script, std::vector<ReviewActions> *reviews, std::string *error);

// The text of the script syntax for the usage.
const char *reviewScriptSyntax();
