// The host's answers to the plug-in's message boxes, and their transcript events. Owns the box
// script (position in the answer list) and the host windows that count as the owner "host".
#include "message_host.h"
#include <cstdio>
#include <string>
#include "console.h"
#include "host_platform.h"
#include "host_session.h"
#include "transcript.h"

static BoxScript script = {REVIEW_SCRIPT, {}, 0, false};
static HWND hostFrame = nullptr;
static HWND hostChild = nullptr;
static std::string echoedQuestion; // the Yes/No question last echoed with its answer

void messageHostConfigure(const BoxScript &newScript, HWND frame, HWND child)
{
    script = newScript;
    hostFrame = frame;
    hostChild = child;
}

static const char *ownerName(HWND owner)
{
    if (!owner)
        return "none";
    return owner == hostChild || owner == hostFrame ? "host" : "other";
}

// Plain messages and the Yes/No question also go to standard error, one line each, so that a
// scripted run shows them; with -q only the plug-in's errors do.
static void echoMessage(const char *text, const char *title, uint32_t flags, int32_t answer)
{
    if (!consoleNotes() && (flags & 0xF0u) != 0x10u)
        return;
    std::string line = text ? text : "";
    for (char &c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    const char *answered = "";
    if (classifyBox(flags) == BOX_YES_NO) {
        answered = answer == BUTTON_YES ? " (answered Yes)" : " (answered No)";
        // The plug-in asks it again for every channel of the file; the same answer is told once.
        if (echoedQuestion == line + answered)
            return;
        echoedQuestion = line + answered;
    }
    fprintf(stderr, "vantrope: %s: %s%s\n", title ? title : "", line.c_str(), answered);
}

static int32_t answerReview(HWND owner, const char *text, const char *title, uint32_t flags)
{
    if (script.mode != REVIEW_ASK)
        return scriptedButton(&script, flags, text);
    int32_t answer = platformAskPerson(owner, text, title, flags);
    // A person's stop ends the review of the whole file, not only this channel's.
    if (answer == BUTTON_NO && !sessionCancelled() && !sessionFileEnded()) {
        fprintf(stderr, "vantrope: stopped: the repairs made so far are kept, and the review of the file ends here\n");
        sessionEndFile();
    }
    return answer;
}

int32_t hostMessageBox(HWND owner, const char *text, const char *title, uint32_t flags)
{
    int32_t answer;
    sessionClearProgress();
    if (classifyBox(flags) == BOX_REVIEW) {
        answer = answerReview(owner, text, title, flags);
    } else {
        answer = scriptedButton(&script, flags, text);
        echoMessage(text, title, flags, answer);
    }
    transcriptEvent(std::string("{\"event\":\"message\",\"text\":") + jsonString(text) +
                    ",\"title\":" + jsonString(title) + ",\"icon\":\"" + iconName(flags) + "\",\"owner\":\"" +
                    ownerName(owner) + "\",\"answer\":" + std::to_string(answer) + "}");
    return answer;
}
