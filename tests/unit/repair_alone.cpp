// The numeric repair linked on its own, with no stand-in and no window or drawing call behind it: the
// build fails if one reaches repair/ again. Run, it repairs one span of a ramp and checks that only the
// span changed.
#include <cstdint>
#include <cstdio>
#include "repair/repair.h"

int main()
{
    int16_t samples[64], before[64];
    for (int32_t i = 0; i < 64; i++)
        samples[i] = before[i] = (int16_t)(i * 100 - (i == 30 ? 9000 : 0));
    ClickParams params = {};
    params.spanStart = 25;
    params.spanEnd = 35;
    params.lineBezier = 6;
    if (repairSpan(samples, 64, params) != 1) {
        std::printf("repairSpan refused 25..35 of 64 samples\n");
        return 1;
    }
    for (int32_t i = 0; i < 64; i++) {
        bool inside = i >= 25 && i <= 35;
        if (!inside && samples[i] != before[i]) {
            std::printf("sample %d outside the span changed: %d -> %d\n", i, before[i], samples[i]);
            return 1;
        }
    }
    if (samples[30] == before[30]) {
        std::printf("the click at 30 was not repaired\n");
        return 1;
    }
    return 0;
}
