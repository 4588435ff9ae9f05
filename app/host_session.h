// The host's side of XfmWave: the selection presented to the plug-in over the host's whole-file
// buffer, and the callbacks (read, write, progress, status, finish) with their transcript events
// and the progress bar. Owns the current selection, the cancel flag, the per-selection counters and
// the log of what the plug-in's writes changed.
#pragma once
#include <cstdint>
#include <vector>
#include "audio_file.h"
#include "change_report.h"
#include "plugin/xfm_types.h"

struct HostSelection {
    int32_t channel; // 1-based channel presented alone as mono; 0 = all channels interleaved
    uint32_t start;  // first frame, 0-based (selStart)
    uint32_t end;    // last frame, inclusive (selEnd)
};

// Presents selection of audio: fills every field of wave (zeroing the ones the plug-in does not
// read) and points its callbacks here; resets the pass counter. audio must outlive the run.
void sessionPrepare(HostAudio *audio, const HostSelection &selection, XfmWave *wave, bool progressBar);

// The audio and the selection presented last (null before the first sessionPrepare).
const HostAudio *sessionAudio();
HostSelection sessionSelection();

// Passes of the current selection so far: the plug-in's finish calls.
int32_t sessionPasses();

// Asks the plug-in to stop, through the cancel flag (safe from a signal handler).
void sessionRequestCancel();

// Whether a cancel was requested since the program started.
bool sessionCancelled();

// A new file begins: a person's end of the review of an earlier file no longer holds.
void sessionStartFile();

// A person ended the review of the whole file: the current run ends at the end of its pass (through
// the cancel flag, so no further pass follows) and no later selection is to be presented.
void sessionEndFile();

// Whether a person ended the review of the whole file since the program started.
bool sessionFileEnded();

// The presented channel's bytes at frame (every channel's for an all-channels selection) at the
// host's own depth: as they were before the current selection's first write changed them, and now.
const uint8_t *sessionFrameBefore(uint32_t frame);
const uint8_t *sessionFrameNow(uint32_t frame);

// Clears the progress bar's line, if one is drawn.
void sessionClearProgress();

// The stretches of the current selection that its run changed, found from the blocks its writes
// changed (see change_report.h).
std::vector<ChangedRegion> sessionChangedRegions(uint32_t mergeGap);

// Whether the plug-in has read a selection successfully since the program started: it loads its
// saved settings right after such a read, so until then it holds only its start-up values.
bool sessionPluginHasRead();

// Whether a callback ran out of memory (the host then reports it and writes nothing).
bool sessionOutOfMemory();
