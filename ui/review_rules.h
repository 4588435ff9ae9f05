// The review dialog's and the view's pure rules: scroll steps, read-back clamps, the automatic zoom,
// the shown stretch, the marker hit test and the drag rules. Plain computations on values and on
// ClickParams; no platform header, no module state.
#pragma once
#include <cstdint>
#include "plugin/click_params.h"

enum ReviewScrollBar { SCROLL_ZOOM = 0, SCROLL_BLEND = 1, SCROLL_WIDTH = 2 };

// The three bars move zoom, lineBezier (blend) and ptsAround (width), within the ranges the settings
// file keeps them in (ZOOM_MIN..WIDTH_MAX, plugin/click_params.h).

// The zoom bar runs upside down (thumb at the top for zoom 12): the bar's position for a zoom, and,
// the same sum, the zoom at a bar position. Both 1..12.
inline int32_t zoomBarPosition(int32_t zoom) { return ZOOM_MIN + ZOOM_MAX - zoom; }

// The pens of the span's two dotted markers in the view, as COLORREF values (0x00BBGGRR); the host's
// scripted drags find the markers by them.
enum : uint32_t {
    START_MARKER_COLOUR = 0x00004080u, // RGB(128, 64, 0)
    END_MARKER_COLOUR = 0x002080FFu    // RGB(255, 128, 32)
};

// The value a scroll code (0..7) gives the bar's setting, clamped to the bar's range (zoom 1..12,
// blend 0..12, width 30..160); thumb is the thumb position for codes 4 and 5 (on the zoom bar a
// zoomBarPosition). Result 1 with *value set, or 0 for codes 8 and above (ignored).
int32_t scrollStep(int32_t bar, int32_t current, int32_t code, int32_t thumb, int32_t *value);

// The fields of the dialog as read when it ends: raw numbers (0 for text that is not a number) and
// the check boxes.
struct ReviewFields {
    int32_t c1;             // field 110, signed
    int32_t d1;             // field 111, signed
    int32_t c2;             // field 112, signed
    int32_t severity;       // field 1040, signed
    uint32_t useBaseFreq;   // "Use" checked, 0/1
    uint32_t multipass;     // "Multipass" checked, 0/1
    uint32_t autoZoom;      // "Autozoom" checked, 0/1
    uint32_t rangeDialog;   // "Range Dialog" checked, 0/1
};

// Stores the fields into params with their clamps: c1, d1 and baseFreqVerS at least 1, c2 above c1.
// Leaves zoom, lineBezier, ptsAround and the span alone.
void storeReviewFields(const ReviewFields &fields, ClickParams &params);

// The zoom that brings the loudest sample of the click span, widened by its own length on each side
// and cut to the shown stretch and the buffer, to at most three quarters of the half height: 1..12.
// A silent window (peak 0) gives 12. Reads only samples inside the buffer.
int32_t autoZoomFor(const int16_t *samples, uint32_t sampleCount, int32_t candidate, int32_t ptsAround,
                    int32_t spanStart, int32_t spanEnd);

struct ViewStretch {
    int32_t firstSample;   // first shown index, >= 0
    int32_t lastSample;    // last slot, at most sampleCount (one past the buffer)
    int32_t visibleCount;  // lastSample - firstSample + 1, 1..321
};

// The stretch around candidate that the view shows at half-width ptsAround. Inline, so that the host
// program's scripted drags map positions with it without linking the plug-in.
inline ViewStretch viewStretch(int32_t candidate, int32_t ptsAround, uint32_t sampleCount)
{
    ViewStretch stretch;
    stretch.firstSample = candidate - ptsAround < 0 ? 0 : candidate - ptsAround;
    int64_t last = (int64_t)candidate + ptsAround;
    stretch.lastSample = last >= (int64_t)sampleCount ? (int32_t)sampleCount : (int32_t)last;
    stretch.visibleCount = stretch.lastSample - stretch.firstSample + 1;
    return stretch;
}

// 1 when x is within 2 columns of startX, else 2 when within 2 of endX, else 0.
int32_t markerHit(int32_t x, int32_t startX, int32_t endX);

// Where dragging marker (1 start, 2 end) to sample s puts it: the start stays below spanEnd, the end
// above spanStart. Result 1 with *moved set when the marker changes, 0 when it stays where it is.
int32_t dragMarkerTo(int32_t marker, int32_t s, int32_t spanStart, int32_t spanEnd, int32_t *moved);
