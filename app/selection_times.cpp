// Parsing of --start and --end (seconds, clock times, frames) and their frames at a sample rate. No
// state.
#include "selection_times.h"
#include <cstdio>
#include <vector>

static const uint64_t NANOS = 1000000000ull;
// More hours than any 32-bit frame count lasts at 1 Hz: bounds the arithmetic.
static const uint64_t MOST_SECONDS = 4294967296ull;

static bool allDigits(const std::string &text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

static bool parseDecimal(const std::string &digits, uint64_t limit, uint64_t *value)
{
    if (!allDigits(digits))
        return false;
    uint64_t total = 0;
    for (char c : digits) {
        total = total * 10u + (uint64_t)(c - '0');
        if (total > limit)
            return false;
    }
    *value = total;
    return true;
}

// "S[.fff]" with up to nine decimals, into seconds and nanoseconds.
static bool parseSeconds(const std::string &text, uint64_t limit, uint64_t *seconds, uint64_t *nanos)
{
    size_t dot = text.find('.');
    std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    if (whole.empty() && fraction.empty())
        return false;
    if (!whole.empty() && !parseDecimal(whole, limit, seconds))
        return false;
    if (whole.empty())
        *seconds = 0;
    *nanos = 0;
    if (dot == std::string::npos)
        return true;
    if (fraction.empty() || fraction.size() > 9 || !allDigits(fraction))
        return false;
    uint64_t scale = NANOS;
    for (char c : fraction) {
        scale /= 10u;
        *nanos += (uint64_t)(c - '0') * scale;
    }
    return true;
}

int32_t parseTimeValue(const std::string &text, TimeValue *when)
{
    *when = TimeValue{true, false, 0, 0, text};
    if (text.size() > 1 && text.back() == 'f') {
        uint64_t frame = 0;
        if (!parseDecimal(text.substr(0, text.size() - 1), 0xFFFFFFFFull, &frame))
            return 0;
        when->isFrames = true;
        when->frames = (uint32_t)frame;
        return 1;
    }
    std::vector<std::string> fields;
    size_t begin = 0;
    for (;;) {
        size_t colon = text.find(':', begin);
        fields.push_back(text.substr(begin, colon == std::string::npos ? std::string::npos : colon - begin));
        if (colon == std::string::npos)
            break;
        begin = colon + 1;
    }
    if (fields.size() > 3)
        return 0;
    // Minutes and seconds below 60 when a larger field leads them, as a clock shows them.
    uint64_t seconds = 0, nanos = 0, total = 0;
    for (size_t i = 0; i + 1 < fields.size(); i++) {
        uint64_t value = 0;
        if (!parseDecimal(fields[i], i == 0 ? MOST_SECONDS : 59, &value))
            return 0;
        total = total * 60u + value;
    }
    if (!parseSeconds(fields.back(), fields.size() > 1 ? 59 : MOST_SECONDS, &seconds, &nanos))
        return 0;
    total = total * 60u + seconds;
    if (total > MOST_SECONDS)
        return 0;
    when->nanos = total * NANOS + nanos;
    return 1;
}

// floor(nanos x rate / 10^9) and whether the product had a remainder, without overflowing 64 bits.
static uint64_t framesAt(uint64_t nanos, int32_t rate, bool *exact)
{
    uint64_t seconds = nanos / NANOS, rest = nanos % NANOS;
    uint64_t part = rest * (uint64_t)rate; // below 10^9 x 2^31: fits
    *exact = part % NANOS == 0;
    return seconds * (uint64_t)rate + part / NANOS;
}

int32_t resolveSelection(const TimeValue &start, const TimeValue &end, int32_t rate, uint32_t frames, uint32_t *first,
                         uint32_t *last, std::string *error)
{
    bool exact = true;
    uint64_t from = 0, to = frames ? frames - 1u : 0;
    if (start.given)
        from = start.isFrames ? start.frames : framesAt(start.nanos, rate, &exact);
    bool empty = false;
    if (end.given && end.isFrames) {
        to = end.frames;
    } else if (end.given) {
        uint64_t at = framesAt(end.nanos, rate, &exact);
        // The frame playing at the end time is included only when the time falls inside it.
        uint64_t past = exact ? at : at + 1u;
        empty = past == 0;
        to = empty ? 0 : past - 1u;
    }
    std::string range = (start.given ? start.text : "the start") + " to " + (end.given ? end.text : "the end");
    if (empty || from > to) {
        *error = "the selection " + range + " is empty (frames " + std::to_string(from) + " to " +
                 (empty ? std::string("none") : std::to_string(to)) + ")";
        return 0;
    }
    if (to >= frames) {
        *error = "the selection " + range + " (frames " + std::to_string(from) + " to " + std::to_string(to) +
                 ") lies outside the file (frames 0 to " + std::to_string(frames ? frames - 1u : 0) + ", " +
                 formatFrameTime(frames, rate) + ")";
        return 0;
    }
    *first = (uint32_t)from;
    *last = (uint32_t)to;
    return 1;
}

bool timeSpecsEmpty(const TimeValue &start, const TimeValue &end)
{
    if (!start.given || !end.given || start.isFrames != end.isFrames)
        return false;
    return start.isFrames ? start.frames > end.frames : start.nanos >= end.nanos;
}

std::string formatFrameTime(uint64_t frame, int32_t rate)
{
    uint64_t millis = rate > 0 ? frame * 1000u / (uint64_t)rate : 0;
    uint64_t seconds = millis / 1000u, hours = seconds / 3600u, minutes = seconds / 60u % 60u;
    char text[48];
    if (hours)
        snprintf(text, sizeof text, "%llu:%02llu:%02llu.%03llu", (unsigned long long)hours, (unsigned long long)minutes,
                 (unsigned long long)(seconds % 60u), (unsigned long long)(millis % 1000u));
    else if (minutes)
        snprintf(text, sizeof text, "%llu:%02llu.%03llu", (unsigned long long)minutes,
                 (unsigned long long)(seconds % 60u), (unsigned long long)(millis % 1000u));
    else
        snprintf(text, sizeof text, "%llu.%03llu", (unsigned long long)seconds, (unsigned long long)(millis % 1000u));
    return text;
}
