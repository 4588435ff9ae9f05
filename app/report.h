// The review report (--report DIR): a picture of each review (the view as painted when the dialog
// opened, framed with a time axis, an amplitude scale and a legend), a picture of every repair of the
// run (the audio before and after, drawn by the host), and index.md listing the reviews in the order
// they came and the repairs in time order. Owns the report directory and the rows written so far
// (module state, one report per process).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "change_report.h"
#include "report_canvas.h"

// Creates dir if needed and starts an empty report there. Returns true, or false with the reason.
bool reportOpen(const std::string &dir, std::string *error);

// Ends the report: later pictures and entries are dropped until the next reportOpen.
void reportClose();

// True while a report is being written.
bool reportActive();

// What the frame of a review picture says about the view inside it.
struct ReviewPictureFacts {
    int32_t review;         // review number, from 1
    int32_t channel;        // presented channel, 1-based; 0 = all channels at once
    int32_t pass;           // pass number, from 1
    int32_t sampleRate;     // frames per second, 1 or more
    uint32_t selStart;      // first frame of the selection
    uint32_t selCount;      // frames in the selection
    uint64_t position;      // the candidate's position as its message names it (frame + 1); 0 = none
    int32_t around;         // samples shown either side of the candidate (the width bar), 30..160
    int32_t zoom;           // the view's zoom, 1..12
};

// Where the view's pixels lie in a framed review picture: this many pixels from its left and top
// edge and short of its right and bottom edge, whatever the view's size.
enum { VIEW_FRAME_LEFT = 48, VIEW_FRAME_TOP = 18, VIEW_FRAME_RIGHT = 12, VIEW_FRAME_BOTTOM = 56 };

// Frames the view's width x height pixels (unchanged, at VIEW_FRAME_LEFT, VIEW_FRAME_TOP) with a
// title, an amplitude scale at the left, a time axis in milliseconds from the candidate below and a
// legend of the view's colours.
void frameReviewPicture(const ReviewPictureFacts &facts, const std::vector<uint32_t> &pixels, int32_t width,
                        int32_t height, Canvas *picture);

// Writes review-N.png, the framed view. Returns its path, or "" with a line on standard error when it
// could not be written.
std::string reportPicture(const ReviewPictureFacts &facts, const std::vector<uint32_t> &pixels, int32_t width,
                          int32_t height);

// One review as the index lists it.
struct ReportReview {
    int32_t review;       // review number, from 1
    int32_t channel;      // presented channel, 1-based; 0 = all channels at once
    int32_t pass;         // pass number, from 1
    int32_t sampleRate;   // frames per second; 0 = unknown (no time is given)
    std::string caption;  // the dialog's caption
    std::string message;  // the candidate message
    int32_t answer;       // the button id that ended the review
    std::string picture;  // the picture's path, "" when none
};

// Adds one review to the index and rewrites index.md, so that an interrupted run keeps what it had.
void reportEntry(const ReportReview &entry);

// One repair as its picture shows it: the changed frames and the stretch around them.
struct RepairPictureFacts {
    int32_t channel;             // presented channel, 1-based; 0 = all channels at once
    int32_t sampleRate;          // frames per second, 1 or more
    uint32_t first, last;        // the changed frames, inclusive
    uint32_t windowFirst;        // first frame drawn; before and after hold the frames from here on
    std::vector<double> before;  // each drawn frame's sample before the run, as a share of full scale
    std::vector<double> after;   // the same frames as written
};

// Draws a repair: both curves on one time axis (milliseconds from the first changed frame) with an
// amplitude scale fitted to them, the changed frames shaded, a title and a legend.
void drawRepairPicture(const RepairPictureFacts &facts, Canvas *picture);

// Draws repair-cC-P.png (channel C, first position P) for every region of one selection's run (at most a few hundred per report; the
// rest are listed without one) and lists them in the index in time order, each with the review that
// decided it where there was one. before and after give a frame's sample as a share of full scale.
void reportRepairs(int32_t channel, int32_t sampleRate, uint32_t selStart, uint32_t selEnd,
                   const std::vector<ChangedRegion> &regions, const std::function<double(uint32_t)> &before,
                   const std::function<double(uint32_t)> &after);

// The sample position a candidate message names ("... at sample N ..."), or "" when it names none.
std::string reportPosition(const std::string &message);

// Encodes width x height COLORREF pixels as an RGB PNG file at path. Returns true when written.
bool writePngFile(const std::string &path, const std::vector<uint32_t> &pixels, int32_t width, int32_t height);
