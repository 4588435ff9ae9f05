// RIFF/WAVE files with explicit little-endian byte code: integer PCM (8 to 32 bits) and IEEE float
// (32 and 64 bits), including the extensible format header, to and from HostAudio. The Windows host
// reads and writes its files with it, the native host checks a WAV file's promised length with it
// and the example generator writes its file with it. The samples go straight between the file and
// HostAudio's buffer, never through a second copy. No state.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "audio_file.h"

// fileFormat codes of audio read by this code: the format tag that the file is written back with.
enum { WAV_FORMAT_PCM = 1, WAV_FORMAT_FLOAT = 3, WAV_FORMAT_EXTENSIBLE = 0xFFFE };

// Parses a whole file image. Chunks other than "fmt " and "data" are skipped; a data chunk that runs
// past the end of the image (as a writer that never finished leaves it) is cut to its whole frames,
// and claimedFrames keeps what its header promised. Returns true, or false with the reason.
bool parseWav(const std::vector<uint8_t> &image, HostAudio *audio, std::string *error);

// The 44-byte header of the file buildWav makes: "RIFF", a 16-byte "fmt " chunk and the "data"
// chunk's header. Returns true, or false with the reason when the audio cannot be stored.
bool buildWavHeader(const HostAudio &audio, std::vector<uint8_t> *header, std::string *error);

// Builds the file image: the header, the samples and a pad byte to an even length. Returns true, or
// false with the reason when the audio cannot be stored.
bool buildWav(const HostAudio &audio, std::vector<uint8_t> *image, std::string *error);

// parseWav and buildWav over files and streams. Writing stops early, with an error, once an interrupt
// has been noted (interrupts.h).
bool readWavFile(const std::string &path, HostAudio *audio, std::string *error);
bool writeWavFile(const std::string &path, const HostAudio &audio, std::string *error);
bool writeWavStream(FILE *stream, const HostAudio &audio, std::string *error);

// The frames the data chunk of the RIFF/WAVE file at path promises, read from its headers alone.
// Returns true with the count, false when the file is no RIFF/WAVE file this code reads.
bool wavClaimedFrames(const std::string &path, uint64_t *frames);
