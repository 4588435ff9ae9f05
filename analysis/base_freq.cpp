// Base-frequency verification (placeholder: accepts every candidate).
#include "base_freq.h"

int32_t verifyBaseFrequency(const int16_t *samples, uint32_t position, uint32_t sampleCount, ClickParams &params)
{
    (void)samples;
    (void)position;
    (void)sampleCount;
    (void)params;
    return 1;
}
