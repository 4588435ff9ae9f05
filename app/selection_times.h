// Where a selection starts and ends, as --start and --end give it: seconds (12.5), a clock time
// (1:02:03.250 or 2:03.5) or a frame counted from 0 (1000f), and the frames they come to once the
// file's sample rate is known. Pure; no state.
#pragma once
#include <cstdint>
#include <string>

struct TimeValue {
    bool given;       // the option was given
    bool isFrames;    // a frame number (with "f"), else a time
    uint32_t frames;  // the frame, 0-based, when isFrames
    uint64_t nanos;   // the time in nanoseconds, when not isFrames
    std::string text; // as typed, for messages
};

// Parses one --start or --end value. Returns 1, or 0 when it is none of the three forms.
int32_t parseTimeValue(const std::string &text, TimeValue *when);

// The frames a selection from start to end covers in a file of frames frames at rate: a time start is
// the frame playing at that time; a time end is exclusive (the last frame is the one before that
// time), a frame end inclusive. Missing ones are the file's first and last frame. Returns 1 with
// *first <= *last, or 0 with a one-line reason when the range is empty or leaves the file.
int32_t resolveSelection(const TimeValue &start, const TimeValue &end, int32_t rate, uint32_t frames, uint32_t *first,
                         uint32_t *last, std::string *error);

// Whether two given specs of one kind name an empty range (end before start, or a time end at or
// before a time start); mixed kinds need the rate and say nothing here.
bool timeSpecsEmpty(const TimeValue &start, const TimeValue &end);

// A frame at rate as the summary and listing show times: seconds with 3 decimals, h:mm:ss.fff from
// one hour on (m:ss.fff from one minute).
std::string formatFrameTime(uint64_t frame, int32_t rate);
