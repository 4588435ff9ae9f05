// Parser of the scripted review's actions (--review, --script): names of fields, boxes, bars, scroll
// codes and buttons, and the per-review grouping. Holds no state.
#include "review_script.h"
#include <strings.h>
#include "box_script.h"
#include "text_parse.h"
#include "ui/dialog_ids.h"

struct NamedId {
    const char *name; // as typed in a script
    int32_t id;       // dialog item id, or scroll code
};

static const NamedId fieldNames[] = {{"c1", IDC_C1}, {"d1", IDC_D1}, {"c2", IDC_C2}, {"severity", IDC_SEVERITY}};
static const NamedId boxNames[] = {
    {"multipass", IDC_MULTIPASS}, {"autozoom", IDC_AUTOZOOM}, {"range", IDC_RANGE_DIALOG}, {"use", IDC_USE_BASE_FREQ}};
static const NamedId barNames[] = {{"zoom", IDC_ZOOM_BAR}, {"blend", IDC_BLEND_BAR}, {"width", IDC_WIDTH_BAR}};
static const NamedId scrollCodes[] = {
    {"line-up", 0},   {"line-left", 0}, {"line-down", 1}, {"line-right", 1}, {"page-up", 2}, {"page-left", 2},
    {"page-down", 3}, {"page-right", 3}, {"top", 6},      {"left", 6},       {"bottom", 7},  {"right", 7},
    {"end-scroll", 8}};

enum { MAX_FIELD_TEXT = 255, MAX_WAIT_MS = 60000 };

static const char syntaxText[] =
    "  A review script gives each review its actions, separated by ';'. --review takes the reviews\n"
    "  separated by '/', --script FILE one review per line ('#' starts a comment line). Actions:\n"
    "    set:FIELD=TEXT       FIELD c1, d1, c2, severity (or 110, 111, 112, 1040); TEXT may be empty\n"
    "    check:BOX            click the box multipass, autozoom, range, use (or 1034, 1037, 1038, 1039)\n"
    "    zoom:CODE, blend:CODE, width:CODE\n"
    "                         CODE line-up, line-down, page-up, page-down (or -left, -right), top, left,\n"
    "                         bottom, right, end-scroll, thumb=N, track=N\n"
    "    drag:FROM>TO         press the view at column FROM, move to column TO, release; FROM may be\n"
    "                         start or end, the column that marker was drawn at (drag:start=TO too);\n"
    "                         #P instead of a column is the column of sample position P as the\n"
    "                         messages count them, the same on every build whatever the view's size\n"
    "    wait:MS              leave the dialog open for MS milliseconds (at most 60000)\n"
    "    press:BUTTON         press a button as --answers names it; ends the review\n"
    "  A review without press:, an empty one (as in press:next//press:stop) and every review after\n"
    "  the script are answered by --answers, --auto or a person. A disabled button is not pressed:\n"
    "  Stop Here is pressed instead.\n";

const char *reviewScriptSyntax() { return syntaxText; }

// Script files may come with CRLF line ends: a stray '\r' counts as a blank here.
static std::string scriptTrimmed(const std::string &text) { return trimmed(text, " \t\r"); }

// A name from table, or one of its ids written as a number. Returns the id, or 0.
template <size_t N> static int32_t lookUp(const NamedId (&table)[N], const std::string &word, bool idsAllowed)
{
    for (const NamedId &entry : table)
        if (strcasecmp(entry.name, word.c_str()) == 0)
            return entry.id;
    uint32_t number = 0;
    if (idsAllowed && parseFrameNumber(word, &number))
        for (const NamedId &entry : table)
            if ((uint32_t)entry.id == number)
                return entry.id;
    return 0;
}

// A signed decimal from lowest to highest. Returns 1 when text is one.
static int32_t parseSigned(const std::string &text, int32_t lowest, int32_t highest, int32_t *value)
{
    bool negative = !text.empty() && text[0] == '-';
    uint32_t magnitude = 0;
    if (!parseFrameNumber(negative ? text.substr(1) : text, &magnitude) || magnitude > 0x7FFFFFFFu)
        return 0;
    int32_t result = negative ? -(int32_t)magnitude : (int32_t)magnitude;
    if (result < lowest || result > highest)
        return 0;
    *value = result;
    return 1;
}

static int32_t parseScroll(const std::string &argument, ReviewAction *action)
{
    size_t equals = argument.find('=');
    if (equals == std::string::npos) {
        for (const NamedId &entry : scrollCodes)
            if (strcasecmp(entry.name, argument.c_str()) == 0) {
                action->code = entry.id;
                return 1;
            }
        return 0;
    }
    std::string name = argument.substr(0, equals);
    if (strcasecmp(name.c_str(), "thumb") == 0)
        action->code = 4;
    else if (strcasecmp(name.c_str(), "track") == 0)
        action->code = 5;
    else
        return 0;
    // The thumb position travels in the high 16 bits of the message's first parameter.
    return parseSigned(argument.substr(equals + 1), 0, 65535, &action->value);
}

// A column, or '#' and a sample position (at most 2147483647). Returns 1 when text is one.
static int32_t parsePlace(const std::string &text, int32_t *value, bool *isPosition)
{
    *isPosition = !text.empty() && text[0] == '#';
    if (*isPosition)
        return parseSigned(text.substr(1), 1, 0x7FFFFFFF, value);
    return parseSigned(text, -32768, 32767, value);
}

static int32_t parseDrag(const std::string &argument, ReviewAction *action)
{
    size_t mark = argument.find_first_of(">=");
    if (mark == std::string::npos)
        return 0;
    std::string from = argument.substr(0, mark);
    if (!parsePlace(argument.substr(mark + 1), &action->target, &action->toPosition))
        return 0;
    if (strcasecmp(from.c_str(), "start") == 0) {
        action->code = DRAG_FROM_START;
        return 1;
    }
    if (strcasecmp(from.c_str(), "end") == 0) {
        action->code = DRAG_FROM_END;
        return 1;
    }
    action->code = DRAG_FROM_COLUMN;
    return argument[mark] == '>' && parsePlace(from, &action->value, &action->fromPosition);
}

static int32_t parsePress(const std::string &argument, ReviewAction *action)
{
    std::vector<int32_t> ids;
    std::string ignored;
    if (argument.find(',') != std::string::npos || !parseAnswerList(argument, &ids, &ignored) || ids.size() != 1)
        return 0;
    action->item = ids[0];
    return 1;
}

// One action "verb:argument". Returns 1 when it is well formed.
static int32_t parseAction(const std::string &text, ReviewAction *action)
{
    *action = ReviewAction{ACTION_SET, 0, 0, 0, 0, std::string(), false, false};
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return 0;
    std::string verb = scriptTrimmed(text.substr(0, colon));
    std::string argument = scriptTrimmed(text.substr(colon + 1));
    if (strcasecmp(verb.c_str(), "set") == 0) {
        size_t equals = argument.find('=');
        if (equals == std::string::npos)
            return 0;
        action->item = lookUp(fieldNames, scriptTrimmed(argument.substr(0, equals)), true);
        action->text = argument.substr(equals + 1);
        return action->item != 0 && action->text.size() <= MAX_FIELD_TEXT;
    }
    if (strcasecmp(verb.c_str(), "check") == 0) {
        action->kind = ACTION_CHECK;
        action->item = lookUp(boxNames, argument, true);
        return action->item != 0;
    }
    if (strcasecmp(verb.c_str(), "drag") == 0) {
        action->kind = ACTION_DRAG;
        return parseDrag(argument, action);
    }
    if (strcasecmp(verb.c_str(), "wait") == 0) {
        action->kind = ACTION_WAIT;
        return parseSigned(argument, 0, MAX_WAIT_MS, &action->value);
    }
    if (strcasecmp(verb.c_str(), "press") == 0) {
        action->kind = ACTION_PRESS;
        return parsePress(argument, action);
    }
    action->kind = ACTION_SCROLL;
    action->item = lookUp(barNames, verb, false);
    return action->item != 0 && parseScroll(argument, action);
}

int32_t parseReviewActions(const std::string &line, ReviewActions *actions, std::string *error)
{
    actions->clear();
    size_t begin = 0;
    while (begin <= line.size()) {
        size_t end = line.find(';', begin);
        if (end == std::string::npos)
            end = line.size();
        std::string text = scriptTrimmed(line.substr(begin, end - begin));
        begin = end + 1;
        if (text.empty())
            continue;
        ReviewAction action;
        if (!actions->empty() && actions->back().kind == ACTION_PRESS) {
            *error = "\"" + text + "\" follows a press, which ends the review";
            return 0;
        }
        if (!parseAction(text, &action)) {
            *error = "cannot read the action \"" + text + "\"";
            return 0;
        }
        actions->push_back(action);
    }
    return 1;
}

int32_t parseReviewScript(const std::string &script, std::vector<ReviewActions> *reviews, std::string *error)
{
    reviews->clear();
    size_t begin = 0;
    while (begin < script.size()) {
        size_t end = script.find('\n', begin);
        if (end == std::string::npos)
            end = script.size();
        std::string line = script.substr(begin, end - begin);
        begin = end + 1;
        std::string bare = scriptTrimmed(line);
        if (bare.empty() || bare[0] == '#')
            continue;
        size_t from = 0;
        for (;;) {
            size_t slash = line.find('/', from);
            std::string group = line.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
            ReviewActions actions;
            std::string reason;
            if (!parseReviewActions(group, &actions, &reason)) {
                *error = "review " + std::to_string(reviews->size() + 1) + ": " + reason;
                return 0;
            }
            reviews->push_back(actions);
            if (slash == std::string::npos)
                break;
            from = slash + 1;
        }
    }
    return 1;
}
