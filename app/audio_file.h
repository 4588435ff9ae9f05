// The host's audio: the whole file in memory as interleaved little-endian frames (the HostAudio
// record), read and written by the platform's audio code (libsndfile natively, the RIFF/WAVE code on
// Windows). Declares the platform half and the safe write both builds share. No module state.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>
#include "output_target.h"

struct HostAudio {
    int32_t channels;           // channels per frame, 1..65535
    int32_t sampleRate;         // frames per second, 1 or more
    int32_t bitsPerSample;      // 8, 16, 24, 32 or 64
    bool isFloat;               // IEEE float samples (32 or 64 bits), else integer PCM
    uint32_t frames;            // frames in the file
    std::vector<uint8_t> bytes; // frames x channels x bytes per sample; 8-bit samples unsigned (offset 128)
    int32_t fileFormat;         // the reader's code for the file's format; the writer's once OUT's is chosen
    uint64_t claimedFrames;     // frames the file's header promised (more than frames when it is cut short)
    // Natively, what libsndfile reads besides the samples, written back where OUT's format holds it:
    std::vector<std::pair<int32_t, std::string>> tags; // text tags by libsndfile's SF_STR_ number
    std::vector<uint8_t> broadcastInfo; // the broadcast-wave record, empty = none
    std::vector<uint8_t> cuePoints;     // the cue points, empty = none
};

// Bytes of one sample and of one frame.
uint32_t sampleBytes(const HostAudio &audio);
uint32_t frameBytes(const HostAudio &audio);

// Checks the record's shape: a supported depth, bytes matching frames, and a size that the host
// interface's 32-bit byte offsets can address. Returns true, or false with the reason.
bool checkAudioShape(const HostAudio &audio, std::string *error);

// Platform: reads the whole file. Returns true, or false with a reason (without the file name).
bool readAudioFile(const std::string &path, HostAudio *audio, std::string *error);

// Platform: chooses OUT's format (audio->fileFormat) from the extension of outName ("-" and a name
// without one keep IN's format); refuses an extension it does not know, a format that cannot hold the
// audio, and a lossy encoding unless lossyAllowed. Returns true, or false with a one-line reason.
bool chooseOutputFormat(const std::string &outName, bool lossyAllowed, HostAudio *audio, std::string *error);

// Platform: writes the audio as the file path (a name the caller has cleared), never through a link
// there, with the permissions of modelPath when that is not empty. Returns true, or false with a reason.
bool writeAudioFile(const std::string &path, const HostAudio &audio, const std::string &modelPath,
                    std::string *error);

// Platform: writes the audio into what path names without replacing it (a device, a FIFO), or to
// standard output when path is empty. Returns true, or false with a reason.
bool writeAudioStream(const std::string &path, const HostAudio &audio, std::string *error);

// Platform: moves from over to, replacing to. Returns true, or false with a reason.
bool replaceFile(const std::string &from, const std::string &to, std::string *error);

// Checks before a run that OUT can be written: for a file, that the temporary file beside it can be
// made (and removes it again), so that an output that cannot be written is reported before anyone
// answers a review. Returns true, or false with a reason.
bool probeAudioOutput(const OutputTarget &target, std::string *error);

// Writes OUT: a file through a temporary file beside it, renamed over it once complete (so a failure
// or an interrupt never leaves a partial file or the temporary one), anything else straight through.
// Returns true, or false with a reason.
bool writeAudioOutput(const OutputTarget &target, const HostAudio &audio, std::string *error);
