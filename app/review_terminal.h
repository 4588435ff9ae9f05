// What a person at the terminal is shown for a review, as text: the candidate's time, channel and
// number in its pass, its jump and level in words, the view drawn in braille characters with the
// span and the candidate marked, the answers with what each one does, and the typed answers read
// back. Pure standard C++ (the caller gathers the facts and the view's pixels); no state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the plug-in's candidate message says: "Possible click found at sample P  (J/L)\nBase
// Frequency Verification: V", or "Best guess of the click found at sample P\n...".
struct CandidateFacts {
    bool bestGuess;           // the pass's best guess, shown because the pass stopped nowhere
    uint64_t position;        // the position named (frame + 1 of the presented channel); 0 = none
    int32_t jump;             // jump between neighbouring samples; -1 when the message gives none
    int32_t level;            // running level of the jumps before it; -1 when none
    std::string verification; // "OK", "Reject", or "" when the message gives none
};

// Reads the facts out of a candidate message. Returns true when it names a position.
bool readCandidateMessage(const std::string &message, CandidateFacts *facts);

// A time as h:mm:ss.fff, frame / sampleRate rounded to the nearest millisecond.
std::string formatClock(uint64_t frame, int32_t sampleRate);

// The jump and level in words: how large the jump is against full scale and against the level.
std::string describeJump(int32_t jump, int32_t level);

// The view's pixels (COLORREF, as painted) drawn as rows of text, columns characters wide: braille
// characters of 2 x 4 dots (or '*' per character when unicode is false) where the waveform's white
// pixels and the repaired curve's squares lie, then one line marking the span between its two markers with '[' ']' and '=' and the
// candidate bar with '^'. The view's centre line is left out.
std::vector<std::string> viewAsText(const std::vector<uint32_t> &pixels, int32_t width, int32_t height,
                                    int32_t columns, int32_t rows, bool unicode);

// Everything the review shows a person, gathered by the caller.
struct TerminalReview {
    std::string message;       // the plug-in's candidate message
    std::string caption;       // the dialog's caption, "" in the question form
    int32_t channel;           // presented channel, 1-based; 0 = all channels at once
    int32_t channels;          // channels in the file
    int32_t sampleRate;        // frames per second
    uint32_t selStart;         // first frame of the selection
    uint32_t selCount;         // frames in the selection
    int32_t pass;              // pass number, from 1
    int32_t numberInPass;      // reviews of this pass so far, this one included
    double fullScaleShown;     // share of full scale at the view's top edge (1 / zoom)
    int32_t around;            // samples shown either side of the candidate (the width bar)
    std::vector<std::string> view; // viewAsText's lines, empty when there is no picture to draw
    std::string settings;      // one line of the dialog's settings, "" in the question form
    std::string picture;       // the report picture's path, "" when none
};

// The whole text shown before the prompt, each line ending in '\n'.
std::string terminalReviewText(const TerminalReview &review);

// The prompt: the answers that can be given here (a disabled one is named as not available).
std::string terminalPrompt(bool dialogForm, bool canRepair, bool canGoBack);

// What each answer does, for '?'.
std::string terminalHelp(bool dialogForm);

// The review answer a person typed, by name, letter or id: repair r, next n, skip s, back b, auto a,
// close c, stop q (in the question form, whose box offers repair, stop and auto as Yes, No and
// Cancel, s and n are stop and c is auto). Returns the
// answer id, HELP_REQUESTED for '?', 'h' or "help", or 0 when the word is none of them.
enum { HELP_REQUESTED = -1 };
int32_t typedReviewAnswer(const std::string &typed, bool dialogForm);

// Whether the terminal takes UTF-8 text, from LC_ALL, LC_CTYPE and LANG as the C library reads them.
bool terminalTakesUtf8();
