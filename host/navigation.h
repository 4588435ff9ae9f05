// Leaving the host at the last click: the position on the clipboard, and for a recognised host the
// posted menu command and the typed range around the position.
#pragma once
#include <cstdint>

// Steers the host to position (the host's numbering, selStart + index + 1). Touches navPosition and
// navTimer; reads hostWindow and hostKind, and ptsAround when the timer fires.
void steerHost(int32_t position);

// Puts value on the clipboard as signed decimal text; silently does nothing when the clipboard or the
// memory cannot be had.
void copyNumber(int32_t value);

// Dispatches the calling thread's waiting messages; returns when the queue is empty or at WM_QUIT.
void pumpMessages();

// Restores navPosition and navTimer to their load-time values (tests only).
void resetNavigationState();
