// RIFF/WAVE files with explicit little-endian byte code: integer PCM (8 to 32 bits) and IEEE float
// (32 and 64 bits), including the extensible format header, to and from HostAudio. The Windows host
// reads and writes its files with it and the example generator writes its file with it. No state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "audio_file.h"

// fileFormat codes of audio read by this code: the format tag that the file is written back with.
enum { WAV_FORMAT_PCM = 1, WAV_FORMAT_FLOAT = 3, WAV_FORMAT_EXTENSIBLE = 0xFFFE };

// Parses a whole file image. Chunks other than "fmt " and "data" are skipped; a data chunk that runs
// past the end of the image (as a writer that never finished leaves it) is cut to its whole frames.
// Returns true, or false with the reason.
bool parseWav(const std::vector<uint8_t> &image, HostAudio *audio, std::string *error);

// Builds the file image: "RIFF", a 16-byte "fmt " chunk and "data", padded to an even length.
// Returns true, or false with the reason when the audio cannot be stored.
bool buildWav(const HostAudio &audio, std::vector<uint8_t> *image, std::string *error);

// parseWav and buildWav over files.
bool readWavFile(const std::string &path, HostAudio *audio, std::string *error);
bool writeWavFile(const std::string &path, const HostAudio &audio, std::string *error);
