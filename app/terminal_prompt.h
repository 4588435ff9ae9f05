// A person at the terminal answers a review put in the question box, or a yes/no question of the
// host's own: the text goes to standard error, the answer is read from standard input. An interrupt
// (interrupts.h) ends the wait at once. No state.
#pragma once
#include <cstdint>
#include <string>

// The box button for a typed answer: repair/yes/y, stop/no/n, auto/cancel/c (or their ids 6, 1, 7);
// 0 when the text is none of them.
int32_t buttonForTypedAnswer(const std::string &typed);

// Shows the review (the candidate's time, channel, number in its pass and words, and the audio round
// it) and reads answers until one fits; '?' shows what each answer does. End of input and an
// interrupt answer stop (No); after an interrupt the run then ends at the cancel flag. Counts the
// questions of each pass (module state).
int32_t askOnTerminal(const char *text);

// Reads one line of a person's answer. Returns false at the end of input or when an interrupt ended
// the wait (sessionCancelled tells which).
bool readAnswerLine(std::string *line);

// Asks question (ending in "[y/N] ") and reads the answer: true only for y or yes.
bool askYesNoOnTerminal(const std::string &question);
