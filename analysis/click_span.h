// The click span finder: which samples around a candidate belong to the click.
#pragma once
#include <cstdint>
#include "plugin/click_params.h"

// Sets params.spanStart and params.spanEnd (and nothing else) to the click span of the candidate at
// buffer index position, 0 <= position < sampleCount, sampleCount >= 42. Reads samples position - 3 ..
// position + 7 at most.
void locateClickSpan(const int16_t *samples, uint32_t sampleCount, uint32_t position, ClickParams &params);
