// The review report (--report DIR): one PNG per review of the view as painted when the dialog opened,
// and index.md listing each review's candidate position, message, answer and picture. Owns the report
// directory and the entries written so far (module state, one report per process).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Creates dir if needed and starts an empty report there. Returns true, or false with the reason.
bool reportOpen(const std::string &dir, std::string *error);

// Ends the report: later pictures and entries are dropped until the next reportOpen.
void reportClose();

// True while a report is being written.
bool reportActive();

// Writes review-N.png (N = review, from 1) from width x height COLORREF pixels. Returns its path, or ""
// with a line on standard error when it could not be written.
std::string reportPicture(int32_t review, const std::vector<uint32_t> &pixels, int32_t width, int32_t height);

// Adds one review to the index and rewrites index.md, so that an interrupted run keeps what it had.
void reportEntry(int32_t review, const std::string &caption, const std::string &message, int32_t answer,
                 const std::string &picture);

// The sample position a candidate message names ("... at sample N ..."), or "" when it names none.
std::string reportPosition(const std::string &message);

// Encodes width x height COLORREF pixels as an RGB PNG file at path. Returns true when written.
bool writePngFile(const std::string &path, const std::vector<uint32_t> &pixels, int32_t width, int32_t height);
