// The platform-free half of the host's audio files: sizes and shape checks.
#include "audio_file.h"

uint32_t sampleBytes(const HostAudio &audio) { return (uint32_t)(audio.bitsPerSample + 7) / 8u; }

uint32_t frameBytes(const HostAudio &audio) { return sampleBytes(audio) * (uint32_t)audio.channels; }

bool checkAudioShape(const HostAudio &audio, std::string *error)
{
    int32_t bits = audio.bitsPerSample;
    bool integerDepth = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    bool floatDepth = bits == 32 || bits == 64;
    if (audio.isFloat ? !floatDepth : !integerDepth) {
        *error = "unsupported sample format (" + std::to_string(bits) + (audio.isFloat ? "-bit float)" : "-bit)");
        return false;
    }
    if (audio.channels < 1 || audio.channels > 65535 || audio.sampleRate < 1) {
        *error = "bad channel count or sample rate";
        return false;
    }
    uint64_t size = (uint64_t)frameBytes(audio) * audio.frames;
    // Byte offsets and counts cross the host interface as 32-bit values.
    if (size > 0xFFFFFFFFull) {
        *error = "too long: the audio data exceeds 4 GB";
        return false;
    }
    if (size != audio.bytes.size()) {
        *error = "internal: sample data does not match the frame count";
        return false;
    }
    return true;
}
