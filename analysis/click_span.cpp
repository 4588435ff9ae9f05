// The click span finder (placeholder: the initial frame only).
#include "click_span.h"

void locateClickSpan(const int16_t *samples, uint32_t sampleCount, uint32_t position, ClickParams &params)
{
    (void)samples;
    (void)sampleCount;
    params.spanStart = (int32_t)position - 4;
    params.spanEnd = (int32_t)position + 8;
}
