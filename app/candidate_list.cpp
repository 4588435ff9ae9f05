// The candidates of a --list run: noted at each review from the plug-in's message ("Possible click found
// at sample P  (JUMP/MEAN)", "Best guess of the click found at sample P", each with the verification's
// verdict) and its request's span, and written out. Positions are counted as the messages count them
// (frame + 1), times from the file's start. Owns the noted candidates.
#include "candidate_list.h"
#include <cstdlib>
#include <vector>
#include "selection_times.h"

struct Candidate {
    int32_t channel;      // channel of the selection, 0 = all
    int64_t position;     // as the message names it: frame + 1
    int32_t jump;         // the jump at the candidate, -1 for a best guess
    int32_t mean;         // the running mean there, -1 for a best guess
    std::string verdict;  // "OK" or "Reject"
    int64_t spanFirst;    // first anchor of the click span as a position, 0 = none
    int64_t spanLast;     // last anchor, 0 = none
    bool bestGuess;       // the pass's best guess, offered when it stopped nowhere
};

static bool listing = false;
static std::vector<Candidate> candidates;
static int32_t currentChannel = 0;
static uint32_t currentStart = 0;
static int32_t sampleRate = 1;

void candidateListStart()
{
    listing = true;
    candidates.clear();
}

bool candidateListActive() { return listing; }

void candidateListSelection(int32_t channel, uint32_t selStart, int32_t rate)
{
    currentChannel = channel;
    currentStart = selStart;
    sampleRate = rate > 0 ? rate : 1;
}

// The number after marker in text, or -1.
static int64_t numberAfter(const std::string &text, const char *marker)
{
    size_t at = text.find(marker);
    if (at == std::string::npos)
        return -1;
    const char *begin = text.c_str() + at + std::string(marker).size();
    char *end = nullptr;
    long long value = strtoll(begin, &end, 10);
    return end == begin ? -1 : (int64_t)value;
}

void candidateListReview(const std::string &message, const ReviewRequest *request)
{
    if (!listing)
        return;
    Candidate c = {currentChannel, numberAfter(message, "at sample "), -1, -1, "", 0, 0, false};
    c.bestGuess = message.compare(0, 10, "Best guess") == 0;
    if (!c.bestGuess) {
        c.jump = (int32_t)numberAfter(message, "(");
        c.mean = (int32_t)numberAfter(message, "/");
    }
    size_t verdict = message.find("Verification: ");
    if (verdict != std::string::npos)
        c.verdict = message.substr(verdict + 14, message.find_first_of("\r\n", verdict) - verdict - 14);
    if (request && request->params && request->params->spanStart > 0 && request->params->spanEnd > 0) {
        c.spanFirst = (int64_t)currentStart + request->params->spanStart + 1;
        c.spanLast = (int64_t)currentStart + request->params->spanEnd + 1;
    }
    candidates.push_back(c);
}

size_t candidateListCount() { return candidates.size(); }

static std::string seconds(int64_t position)
{
    char text[32];
    snprintf(text, sizeof text, "%.6f", position > 0 ? (double)(position - 1) / sampleRate : 0.0);
    return text;
}

static std::string numberOrDash(int64_t value) { return value < 0 ? "-" : std::to_string(value); }

void candidateListPrint(FILE *out, bool csv)
{
    if (csv) {
        fputs("candidate,channel,seconds,position,jump,running_mean,verification,span_first,span_last,found\n", out);
        for (size_t i = 0; i < candidates.size(); i++) {
            const Candidate &c = candidates[i];
            fprintf(out, "%u,%d,%s,%lld,%s,%s,%s,%s,%s,%s\n", (unsigned)(i + 1), (int)c.channel,
                    seconds(c.position).c_str(), (long long)c.position, c.bestGuess ? "" : numberOrDash(c.jump).c_str(),
                    c.bestGuess ? "" : numberOrDash(c.mean).c_str(), c.verdict.c_str(),
                    c.spanFirst ? std::to_string(c.spanFirst).c_str() : "",
                    c.spanLast ? std::to_string(c.spanLast).c_str() : "", c.bestGuess ? "best guess" : "candidate");
        }
        return;
    }
    fprintf(out, "%5s  %-12s %11s %7s %6s %6s  %-12s %s\n", "#", "time", "position", "channel", "jump", "mean",
            "verification", "click span");
    for (size_t i = 0; i < candidates.size(); i++) {
        const Candidate &c = candidates[i];
        std::string span = c.spanFirst ? std::to_string(c.spanFirst) + "-" + std::to_string(c.spanLast) + " (" +
                                             std::to_string(c.spanLast - c.spanFirst - 1) + " replaced)"
                                       : "-";
        fprintf(out, "%5u  %-12s %11lld %7d %6s %6s  %-12s %s%s\n", (unsigned)(i + 1),
                formatFrameTime(c.position > 0 ? (uint64_t)(c.position - 1) : 0, sampleRate).c_str(),
                (long long)c.position, (int)c.channel, numberOrDash(c.jump).c_str(), numberOrDash(c.mean).c_str(),
                c.verdict.c_str(), span.c_str(), c.bestGuess ? "  best guess" : "");
    }
    if (candidates.empty())
        fputs("(no candidates)\n", out);
}

bool candidateListWriteLabels(const std::string &path, std::string *error)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) {
        *error = path + ": cannot be written";
        return false;
    }
    for (const Candidate &c : candidates) {
        // A label spans the click from its first anchor to the end of its last.
        int64_t first = c.spanFirst ? c.spanFirst : c.position, last = c.spanLast ? c.spanLast : c.position;
        std::string text = (c.channel ? "ch" + std::to_string(c.channel) + " " : std::string()) +
                           (c.bestGuess ? "best guess" : "click " + std::to_string(c.jump) + "/" + std::to_string(c.mean)) +
                           " " + c.verdict;
        fprintf(file, "%s\t%s\t%s\n", seconds(first).c_str(), seconds(last + 1).c_str(), text.c_str());
    }
    bool ok = fflush(file) == 0 && !ferror(file);
    ok = fclose(file) == 0 && ok;
    if (!ok)
        *error = path + ": cannot be written";
    return ok;
}
