// The host's side of XfmWave: the selection presented to the plug-in over the host's whole-file
// buffer, and the callbacks (read, write, progress, status, finish) with their transcript events
// and the progress bar. Owns the current selection, the cancel flag and the per-selection counters.
#pragma once
#include <cstdint>
#include "audio_file.h"
#include "plugin/xfm_types.h"

struct HostSelection {
    int32_t channel; // 1-based channel presented alone as mono; 0 = all channels interleaved
    uint32_t start;  // first frame, 0-based (selStart)
    uint32_t end;    // last frame, inclusive (selEnd)
};

// Presents selection of audio: fills every field of wave (zeroing the ones the plug-in does not
// read) and points its callbacks here; resets the pass counter. audio must outlive the run.
void sessionPrepare(HostAudio *audio, const HostSelection &selection, XfmWave *wave, bool progressBar);

// Passes of the current selection so far: the plug-in's finish calls.
int32_t sessionPasses();

// Asks the plug-in to stop, through the cancel flag (safe from a signal handler).
void sessionRequestCancel();

// Whether a cancel was requested since the program started.
bool sessionCancelled();

// Clears the progress bar's line, if one is drawn.
void sessionClearProgress();
