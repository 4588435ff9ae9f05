// Repair of a click span: a blend of a straight line and a cubic Bezier curve between the two anchors,
// written into the samples, or drawn as a preview when a PlotContext is given.
#pragma once
#include <cstdint>
#include "plugin/click_params.h"

struct PlotContext;

enum { BRIDGE_ENTRIES = 322, MAX_SPAN_LENGTH = 320 };

// Scratch arrays of the two bridges; entry k belongs to sample spanStart + k. Module state, kept
// between calls and read by nothing outside the repair.
extern int16_t lineBridge[BRIDGE_ENTRIES];
extern int16_t curveBridge[BRIDGE_ENTRIES];

// 1 = repaired (or preview drawn), 0 = cannot repair (fewer than 23 samples or a span over 320).
// Adjusts spanStart (0 -> 1) and spanEnd (>= sampleCount - 1 -> sampleCount - 2) in params, also for a
// preview. Without plot it writes samples spanStart..spanEnd and nothing else; with plot it writes none
// and draws on plot's device (nothing when it has none). Fills lineBridge and curveBridge. A start
// after the end is an empty span (1, nothing written or drawn); a one-sample span keeps its value.
int32_t repairSpan(int16_t *samples, uint32_t sampleCount, ClickParams &params, const PlotContext *plot);

// The straight line between the anchors into out[0..L], L = spanEnd - spanStart; 1 = built (also for
// an empty span, which writes nothing), 0 = refused (a start of 0, an end at or beyond sampleCount - 1,
// L over 320). Anchors are compared as unsigned. No module state.
int32_t buildLineBridge(const int16_t *samples, uint32_t sampleCount, const ClickParams &params, int16_t *out);

// The Bezier curve into out[0..L] (the line for spans that do not qualify: start <= 3, end at or beyond
// sampleCount - 4, L outside 6..320), drawing its control lines when plot has a device; 1 = built,
// 0 = refused as the line refuses. No module state.
int32_t buildCurveBridge(const int16_t *samples, uint32_t sampleCount, const ClickParams &params, int16_t *out,
                         const PlotContext *plot);
