// Whether libsndfile will start a file of the audio's chosen format (some encodings refuse sample rates
// or channel counts that the format check lets through), tried on a throw-away image in memory.
#pragma once
#include <string>
#include "app/audio_file.h"

// Returns true, or false with libsndfile's reason.
bool sndfileCanWrite(const HostAudio &audio, std::string *error);
