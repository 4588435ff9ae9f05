// Conversions between the host's samples at their own depth and the 16-bit values the plug-in sees.
#include "sample_depth.h"
#include <cmath>
#include <cstring>

bool presentedAsSixteen(const HostAudio &audio)
{
    return audio.isFloat ? audio.bitsPerSample == 32 || audio.bitsPerSample == 64
                         : audio.bitsPerSample == 24 || audio.bitsPerSample == 32;
}

static int32_t loadInteger(const uint8_t *bytes, int32_t bits)
{
    uint32_t raw = 0;
    int32_t count = bits / 8;
    for (int32_t i = 0; i < count; i++)
        raw |= (uint32_t)bytes[i] << (8 * i);
    // Left-justified, so the sign lands in the top bit; the shift back keeps it (arithmetic shift).
    return (int32_t)(raw << (32 - bits)) >> (32 - bits);
}

static double loadFloat(const uint8_t *bytes, int32_t bits)
{
    if (bits == 32) {
        uint32_t raw = 0;
        for (int32_t i = 0; i < 4; i++)
            raw |= (uint32_t)bytes[i] << (8 * i);
        float value;
        memcpy(&value, &raw, sizeof value);
        return value;
    }
    uint64_t raw = 0;
    for (int32_t i = 0; i < 8; i++)
        raw |= (uint64_t)bytes[i] << (8 * i);
    double value;
    memcpy(&value, &raw, sizeof value);
    return value;
}

static int16_t clampToSixteen(int64_t value)
{
    return (int16_t)(value > 32767 ? 32767 : value < -32768 ? -32768 : value);
}

int16_t presentSample(const uint8_t *bytes, int32_t bits, bool isFloat)
{
    if (isFloat) {
        double scaled = loadFloat(bytes, bits) * 32768.0;
        if (std::isnan(scaled))
            return 0;
        if (scaled >= 32767.0)
            return 32767;
        if (scaled <= -32768.0)
            return -32768;
        return clampToSixteen((int64_t)std::round(scaled));
    }
    int64_t value = loadInteger(bytes, bits);
    int32_t shift = bits - 16;
    int64_t half = (int64_t)1 << (shift - 1);
    // Halves away from zero, so that rounding adds no offset to the signal.
    int64_t rounded = value >= 0 ? (value + half) >> shift : -((-value + half) >> shift);
    return clampToSixteen(rounded);
}

void storePresented(uint8_t *bytes, int32_t bits, bool isFloat, int16_t value)
{
    if (isFloat && bits == 32) {
        float share = (float)value / 32768.0f;
        uint32_t raw;
        memcpy(&raw, &share, sizeof raw);
        for (int32_t i = 0; i < 4; i++)
            bytes[i] = (uint8_t)(raw >> (8 * i));
        return;
    }
    if (isFloat) {
        double share = (double)value / 32768.0;
        uint64_t raw;
        memcpy(&raw, &share, sizeof raw);
        for (int32_t i = 0; i < 8; i++)
            bytes[i] = (uint8_t)(raw >> (8 * i));
        return;
    }
    uint32_t raw = (uint32_t)(int32_t)value << (bits - 16);
    for (int32_t i = 0; i < bits / 8; i++)
        bytes[i] = (uint8_t)(raw >> (8 * i));
}

double sampleShare(const uint8_t *bytes, int32_t bits, bool isFloat)
{
    if (isFloat)
        return loadFloat(bytes, bits);
    if (bits == 8)
        return ((int32_t)bytes[0] - 128) / 128.0;
    return loadInteger(bytes, bits) / (double)((int64_t)1 << (bits - 1));
}

std::string depthRefusalHint(const HostAudio &audio, const std::string &inPath)
{
    if (audio.bitsPerSample == 16 || presentedAsSixteen(audio))
        return "";
    return inPath + " holds " + std::to_string(audio.bitsPerSample) +
           "-bit samples, which the plug-in does not take (it takes 16 bits; 24- and 32-bit and float files "
           "are presented to it as 16-bit); convert them first, e.g. sox " + inPath + " -b 16 in16.wav";
}
