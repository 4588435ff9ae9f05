// The detect-only listing (--list): every review the plug-in opens is one candidate, noted with its
// message's position, jump, running mean and verdict and the click span from the plug-in's request,
// then printed as a table or CSV and written as a label track. Owns the candidates noted so far
// (module state, one listing per process).
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include "ui/review.h"

// Starts an empty listing; reviews are noted from now on.
void candidateListStart();

// Whether a listing was started: its table replaces the line per review.
bool candidateListActive();

// The selection the plug-in is about to run over: its channel (0 = all), first frame and the file's rate.
void candidateListSelection(int32_t channel, uint32_t selStart, int32_t rate);

// A review opened with message; request is the plug-in's (for the span), null when unknown. Does
// nothing unless the listing was started.
void candidateListReview(const std::string &message, const ReviewRequest *request);

// The candidates noted so far.
size_t candidateListCount();

// Prints the listing: an aligned table, or CSV with a header line.
void candidateListPrint(FILE *out, bool csv);

// Writes the label track: start and end in seconds and a text, tab-separated, one candidate a line.
// Returns true, or false with a reason.
bool candidateListWriteLabels(const std::string &path, std::string *error);
