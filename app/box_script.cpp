// The host's scripted answers to the plug-in's message boxes: review answers by name and id, their
// buttons in the question box, and the automatic choice. Holds no state of its own.
#include "box_script.h"
#include <cstring>
#include <strings.h>
#include "text_parse.h"

struct AnswerName {
    const char *name; // as typed in --answers
    int32_t id;       // ReviewAnswer
};

static const AnswerName answerNames[] = {
    {"stop", ANSWER_STOP}, {"repair", ANSWER_REPAIR}, {"next", ANSWER_NEXT}, {"back", ANSWER_BACK},
    {"close", ANSWER_CLOSE}, {"auto", ANSWER_AUTO}, {"skip", ANSWER_SKIP},
};

// One item: a name or the decimal id of a button. Returns 0 when it is neither.
static int32_t answerFromItem(const std::string &item)
{
    for (const AnswerName &entry : answerNames)
        if (strcasecmp(entry.name, item.c_str()) == 0)
            return entry.id;
    uint32_t value = 0;
    if (!parseFrameNumber(item, &value))
        return 0;
    for (const AnswerName &entry : answerNames)
        if ((uint32_t)entry.id == value)
            return entry.id;
    return 0;
}

int32_t parseAnswerList(const std::string &list, std::vector<int32_t> *ids, std::string *error)
{
    ids->clear();
    if (trimmed(list).empty())
        return 1;
    size_t begin = 0;
    for (;;) {
        size_t comma = list.find(',', begin);
        std::string item = trimmed(list.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin));
        int32_t id = answerFromItem(item);
        if (!id) {
            *error = "unknown answer \"" + item + "\" in --answers (use stop, repair, next, back, close, auto, "
                     "skip or 1, 6, 3, 4, 2, 7, 1036)";
            return 0;
        }
        ids->push_back(id);
        if (comma == std::string::npos)
            return 1;
        begin = comma + 1;
    }
}

const char *answerName(int32_t answer)
{
    for (const AnswerName &entry : answerNames)
        if (entry.id == answer)
            return entry.name;
    return "?";
}

int32_t questionButtonFor(int32_t answer)
{
    switch (answer) {
    case ANSWER_REPAIR:
        return BUTTON_YES;
    case ANSWER_STOP:
        return BUTTON_NO;
    case ANSWER_AUTO:
        return BUTTON_CANCEL;
    default:
        return 0;
    }
}

int32_t checkAnswersForForm(const std::vector<int32_t> &answers, bool dialogForm, std::string *error)
{
    if (dialogForm)
        return 1;
    for (size_t i = 0; i < answers.size(); i++) {
        if (questionButtonFor(answers[i]))
            continue;
        *error = "answer " + std::to_string(i + 1) + " (\"" + answerName(answers[i]) +
                 "\") cannot be given: the reviews are asked in a Yes/No/Cancel box, which offers only "
                 "repair (Yes), stop (No) and auto (Cancel)";
        return 0;
    }
    return 1;
}

int32_t classifyBox(uint32_t flags)
{
    switch (flags & 0x0Fu) {
    case 3u: // Yes/No/Cancel
        return BOX_REVIEW;
    case 4u: // Yes/No
        return BOX_YES_NO;
    default:
        return BOX_PLAIN;
    }
}

int32_t automaticAnswer(const char *message)
{
    static const char prefix[] = "Possible click";
    if (message && strncmp(message, prefix, sizeof prefix - 1) == 0)
        return ANSWER_AUTO;
    return ANSWER_STOP;
}

int32_t scriptedAnswer(BoxScript *script, const char *message)
{
    if (script->mode == REVIEW_AUTO)
        return automaticAnswer(message);
    if (script->mode == REVIEW_LIST)
        return ANSWER_NEXT;
    if (script->nextAnswer < script->answers.size())
        return script->answers[script->nextAnswer++];
    return ANSWER_STOP;
}

int32_t scriptedButton(BoxScript *script, uint32_t flags, const char *message)
{
    switch (classifyBox(flags)) {
    case BOX_YES_NO:
        return script->refuseLong ? BUTTON_NO : BUTTON_YES;
    case BOX_REVIEW: {
        int32_t button = questionButtonFor(scriptedAnswer(script, message));
        return button ? button : BUTTON_NO;
    }
    default:
        return BUTTON_OK;
    }
}

const char *iconName(uint32_t flags)
{
    switch (flags & 0xF0u) {
    case 0x10u:
        return "error";
    case 0x20u:
        return "question";
    case 0x30u:
        return "warning";
    case 0x40u:
        return "information";
    default:
        return "none";
    }
}
