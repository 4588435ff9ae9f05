// A person at the terminal answers a review put in the question box: the message and the choices go
// to standard error, the answer is read from standard input. No state.
#pragma once
#include <cstdint>
#include <string>

// The box button for a typed answer: repair/yes/y, stop/no/n, auto/cancel/c (or their ids 6, 1, 7);
// 0 when the text is none of them.
int32_t buttonForTypedAnswer(const std::string &typed);

// Shows the review and reads answers until one fits. End of input answers stop (No).
int32_t askOnTerminal(const char *text);
