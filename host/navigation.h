// Leaving the host at the last click: the position on the clipboard, and for a recognised host the
// posted menu command and the typed range around the position.
#pragma once
#include <cstdint>
#include "plugin/platform.h"

extern int32_t navPosition;  // position steered to last, the host's numbering; 0 at load
extern UINT_PTR navTimer;    // id of the one-shot timer that types the range; 0 at load

// Steers the host to position (the host's numbering, selStart + index + 1): the position goes to the
// clipboard, and for a recognised host a 300 ms thread timer is started, the range command posted to
// hostWindow and the thread's messages pumped. Sets navPosition and navTimer; reads hostWindow and
// hostKind, and ptsAround of clickParams when the timer fires.
void steerHost(int32_t position);

// The command that opens the host's range dialog: 3147 for hostKind 1, 2055 for hostKind 2, 0 for
// any other kind (no host to steer). Touches no state.
uint32_t hostRangeCommand(int32_t kind);

// Puts value on the clipboard as signed decimal text; silently does nothing when the clipboard or the
// memory cannot be had, leaving the old contents. Touches no module state.
void copyNumber(int32_t value);

// Copies value to the clipboard, then sends Ctrl down, V down, V up, Ctrl up. Touches no module state.
void pasteValue(int32_t value);

// Sends a key-down and a key-up event for one key. Touches no module state.
void tapKey(uint8_t virtualKey, uint8_t scanCode);

// Dispatches the calling thread's waiting messages; returns when the queue is empty, at WM_QUIT
// (left in the queue) or when taking a message fails. Touches no module state.
void pumpMessages();

// Restores navPosition and navTimer to their load-time values (tests only).
void resetNavigationState();
