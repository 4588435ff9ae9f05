// ClickParams: the plug-in's one settings record — detector thresholds, switches, the view's zoom and
// width, the repair blend — plus the working state of the current candidate (its click span and the
// columns where the view drew its markers). One static instance lives as long as the module.
#pragma once
#include <cstdint>

struct XfmWave;

struct ClickParams {
    int32_t c1;              // ratio threshold 1 of the detector, >= 1 (key C1)
    int32_t d1;              // absolute jump threshold, sample units, >= 1 (key D1, label "Dist1:")
    int32_t c2;              // ratio threshold 2 of the detector, >= 1 (key C2)
    int32_t zoom;            // vertical zoom of the waveform view, 1..12 (key Zoom)
    int32_t lineBezier;      // repair blend, 0 = all curve .. 12 = all line (key LineBezier)
    int32_t spanStart;       // first anchor of the click span, buffer index
    int32_t spanEnd;         // last anchor of the click span, buffer index
    int32_t startMarkerX;    // view column of the start marker at the last paint, 0 = not drawn
    int32_t endMarkerX;      // view column of the end marker at the last paint, 0 = not drawn
    uint32_t multipass;      // nonzero: search again after a pass that changed something (key StartOver)
    uint32_t autoZoom;       // nonzero: pick the zoom from the signal when the dialog opens (key AutoZoom)
    uint32_t rangeDialog;    // nonzero: steer the host at the end of every run (key RangeDialog)
    uint32_t useBaseFreqVer; // nonzero: rejected candidates are passed over (key UseBaseFreqVer)
    int32_t baseFreqVerS;    // severity of the base-frequency verification, unbounded (key BaseFreqVerS)
    int32_t ptsAround;       // half-width of the shown stretch in samples, 30..160 (key PtsAround)
    XfmWave *wave;           // the host record of the current run, null before the first run
};

// The ranges of zoom, lineBezier and ptsAround: the settings file clamps to them on loading and the
// review's three bars move within them.
enum : int32_t { ZOOM_MIN = 1, ZOOM_MAX = 12, BLEND_MIN = 0, BLEND_MAX = 12, WIDTH_MIN = 30, WIDTH_MAX = 160 };

// The module's settings record.
extern ClickParams clickParams;

// The values the record holds when the module is loaded (ptsAround 95, not the file default 75).
ClickParams initialClickParams();
