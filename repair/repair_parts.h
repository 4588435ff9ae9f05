// Pieces the repair's own files share: the bound check on anchors and the walk along the curve. Only
// repair/ includes this header; it brings in no platform header, so the numeric files stay free of Win32.
#pragma once
#include <cstdint>
#include "repair.h"

// True when index lies at or beyond sampleCount - back, reckoned without unsigned wrap-around: when
// the buffer is shorter than back, every index counts as beyond. No module state.
inline bool indexAtOrBeyond(uint32_t index, uint32_t sampleCount, uint32_t back)
{
    return sampleCount < back || index >= sampleCount - back;
}

// The walk along the curve of points from column first into out[0..length]. No module state.
void walkCurve(const CurvePoints &p, uint32_t first, int32_t length, int16_t *out);
