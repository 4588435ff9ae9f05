// The host's audio: the whole file in memory as interleaved little-endian frames (the HostAudio
// record), read and written by the platform's audio code (libsndfile natively, the RIFF/WAVE code on
// Windows). Declares the platform half and the safe write both builds share. No module state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct HostAudio {
    int32_t channels;           // channels per frame, 1..65535
    int32_t sampleRate;         // frames per second, 1 or more
    int32_t bitsPerSample;      // 8, 16, 24, 32 or 64
    bool isFloat;               // IEEE float samples (32 or 64 bits), else integer PCM
    uint32_t frames;            // frames in the file
    std::vector<uint8_t> bytes; // frames x channels x bytes per sample; 8-bit samples unsigned (offset 128)
    int32_t fileFormat;         // the reader's code for the file's format, so that it is written back alike
};

// Bytes of one sample and of one frame.
uint32_t sampleBytes(const HostAudio &audio);
uint32_t frameBytes(const HostAudio &audio);

// Checks the record's shape: a supported depth, bytes matching frames, and a size that the host
// interface's 32-bit byte offsets can address. Returns true, or false with the reason.
bool checkAudioShape(const HostAudio &audio, std::string *error);

// Platform: reads the whole file. Returns true, or false with a reason (without the file name).
bool readAudioFile(const std::string &path, HostAudio *audio, std::string *error);

// Platform: writes the audio to path in the format it was read in. Returns true, or false with a reason.
bool writeAudioFile(const std::string &path, const HostAudio &audio, std::string *error);

// Platform: moves from over to, replacing to. Returns true, or false with a reason.
bool replaceFile(const std::string &from, const std::string &to, std::string *error);

// Checks before a run that the temporary file beside path can be created (and removes it again), so
// that an output that cannot be written is reported before anyone answers a review. Returns true, or
// false with a reason.
bool probeAudioOutput(const std::string &path, std::string *error);

// Writes into a temporary file beside path and renames it over path, so that a failure never leaves
// a partial file there. Returns true, or false with a reason.
bool writeAudioFileSafely(const std::string &path, const HostAudio &audio, std::string *error);
