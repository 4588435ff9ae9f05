// High-resolution samples and the plug-in's 16 bits: which depths the host presents as 16-bit, the
// 16-bit value shown for one host sample, the host sample that a repaired 16-bit value becomes, and a
// sample as a share of full scale for pictures and words. Pure; no state.
//
// Presenting: integer samples are rounded to the nearest 16-bit step, halves away from zero; float
// samples are scaled by 32768 and rounded the same way. Values above the top 16-bit step (the upper
// half step of 24- and 32-bit full scale, float values from 32767.5/32768 up, and float beyond full
// scale) are shown as 32767, values below -1.0 as -32768, a NaN as 0. Writing back: a 16-bit value v
// becomes v x 256 (24-bit), v x 65536 (32-bit) or v / 32768 (float), which presents as v again; the
// host writes back only samples whose shown value a write changed, so every other sample keeps its
// own bits.
#pragma once
#include <cstdint>
#include <string>
#include "audio_file.h"

// Whether the host presents audio as 16-bit samples: 24- and 32-bit integer and float audio.
// 16-bit audio is presented as it is; 8-bit audio too, which the plug-in refuses.
bool presentedAsSixteen(const HostAudio &audio);

// The 16-bit value shown for the host sample at bytes (little-endian, bits of 24 or 32, or float
// of 32 or 64 bits).
int16_t presentSample(const uint8_t *bytes, int32_t bits, bool isFloat);

// Stores the 16-bit value as the host sample at bytes, at its own depth.
void storePresented(uint8_t *bytes, int32_t bits, bool isFloat, int16_t value);

// The host sample at bytes as a share of full scale (-1.0 up to 1.0 for integer samples; float
// samples as they are). 8-bit samples are unsigned with offset 128, as the buffer holds them.
double sampleShare(const uint8_t *bytes, int32_t bits, bool isFloat);

// A line for the user when the plug-in refused audio of this depth, naming what to do; "" when
// the depth was not the reason.
std::string depthRefusalHint(const HostAudio &audio, const std::string &inPath);
