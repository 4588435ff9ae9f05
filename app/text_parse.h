// The small text rules every parser of the host program shares: blanks trimmed and plain decimal
// numbers. Pure standard C++, no state; it depends on no other file of the program, so the option,
// answer and script parsers can all use it without needing each other.
#pragma once
#include <cstdint>
#include <string>

// text without the leading and trailing characters found in blanks (spaces and tabs unless told).
std::string trimmed(const std::string &text, const char *blanks = " \t");

// Parses a decimal number of at most 4294967295 with no sign or blanks (leading zeros allowed).
// Returns 1 when it is one.
int32_t parseFrameNumber(const std::string &text, uint32_t *value);
