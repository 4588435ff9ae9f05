// A check made before libsndfile opens a RIFF/RF64 WAVE file: the one kind of LIST chunk known to make
// it loop for ever is refused first.
#pragma once
#include <string>

// Returns true when the file is not a WAVE file or holds no such LIST chunk (or cannot be read: the
// opening says why); false with a one-line reason otherwise.
bool listChunksAreSafe(const std::string &path, std::string *error);
